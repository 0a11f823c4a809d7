// ChartView: a statistics bar chart drawn with QPainter, on screen, into an image or on paper.
#pragma once

#include "analysis/StatsViews.h"

#include <QImage>
#include <QWidget>

class QPainter;

namespace zentrix::ui {

/// Draws `chart` into `area`: the title, the vertical axis with the ticks the SVG export uses, one
/// bar per entry with its label (turned when the labels would not fit), the reference line and
/// both axis titles, in the painter's current font.
void PaintChart(QPainter& painter, const QRect& area, const analysis::ChartData& chart);

/// The chart as an image of the given size on a white background, for PNG export.
QImage RenderChart(const analysis::ChartData& chart, const QSize& size);

class ChartView : public QWidget
{
    Q_OBJECT

public:
    explicit ChartView(QWidget* parent = nullptr);

    void setChart(const analysis::ChartData& chart);
    const analysis::ChartData& chart() const { return m_chart; }

    QSize sizeHint() const override { return {560, 380}; }
    QSize minimumSizeHint() const override { return {420, 300}; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    analysis::ChartData m_chart;
};

} // namespace zentrix::ui
