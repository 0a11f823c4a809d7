// ChartView: the bar chart's layout in device pixels.
#include "ui/stats_window/ChartView.h"

#include "analysis/ChartSvg.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>

namespace zentrix::ui {
namespace {

QString Text(const std::string& text)
{
    return QString::fromStdString(text);
}

QString TickText(double value)
{
    return QString::number(value, 'g', 10);
}

} // namespace

void PaintChart(QPainter& painter, const QRect& area, const analysis::ChartData& chart)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    const QFontMetrics metrics(painter.font());
    const int line = metrics.height();
    const analysis::ChartScale scale = analysis::ScaleFor(chart);

    int widestLabel = 0;
    for (const analysis::ChartBar& bar : chart.bars)
        widestLabel = std::max(widestLabel, metrics.horizontalAdvance(Text(bar.label)));
    const int tickWidth = metrics.horizontalAdvance(TickText(scale.top)) + 8;

    const int left = area.left() + line + 6 + tickWidth;
    const int right = area.right() - 8;
    const int count = std::max<int>(1, int(chart.bars.size()));
    const int pitch = std::max(1, (right - left) / count);
    const bool turned = widestLabel + 4 > pitch;
    const int labelHeight = turned ? int(widestLabel * 0.72) + line : line + 4;
    const int top = area.top() + 2 * line;
    const int baseline = area.bottom() - line - 6 - labelHeight;
    const int plotHeight = std::max(1, baseline - top);
    const int plotRight = left + pitch * count;
    const auto y = [&](double value) { return baseline - int(std::lround(value / scale.top * plotHeight)); };

    painter.setPen(Qt::black);
    painter.drawText(QRect(area.left(), area.top(), area.width(), 2 * line), Qt::AlignCenter,
                     Text(chart.title));

    for (double tick = 0; tick <= scale.top + 1e-9; tick += scale.step) {
        painter.setPen(QColor(0xdd, 0xdd, 0xdd));
        painter.drawLine(left, y(tick), plotRight, y(tick));
        painter.setPen(Qt::black);
        painter.drawText(QRect(left - tickWidth - 2, y(tick) - line / 2, tickWidth - 4, line),
                         Qt::AlignRight | Qt::AlignVCenter, TickText(tick));
    }
    painter.drawLine(left, top, left, baseline);
    painter.drawLine(left, baseline, plotRight, baseline);

    const QColor barColour(0x46, 0x82, 0xb4); // steel blue, as in the SVG
    for (int i = 0; i < int(chart.bars.size()); ++i) {
        const analysis::ChartBar& bar = chart.bars[static_cast<std::size_t>(i)];
        const int x = left + i * pitch + pitch / 6;
        const int width = std::max(1, pitch - pitch / 3);
        const int barTop = y(bar.value);
        painter.fillRect(QRect(x, barTop, width, baseline - barTop), barColour);
        const int centre = x + width / 2;
        if (turned) {
            painter.save();
            painter.translate(centre, baseline + 6);
            painter.rotate(-45);
            const int advance = metrics.horizontalAdvance(Text(bar.label));
            painter.drawText(QRect(-advance - 2, -line / 2, advance + 2, line),
                             Qt::AlignRight | Qt::AlignVCenter, Text(bar.label));
            painter.restore();
        } else {
            painter.drawText(QRect(left + i * pitch, baseline + 3, pitch, line),
                             Qt::AlignHCenter | Qt::AlignTop, Text(bar.label));
        }
    }

    if (chart.reference) {
        QPen dashed(QColor(0xb2, 0x22, 0x22));
        dashed.setStyle(Qt::DashLine);
        painter.setPen(dashed);
        const int ry = y(*chart.reference);
        painter.drawLine(left, ry, plotRight, ry);
        // On a white ground so the label stays readable over a bar.
        const int labelWidth = metrics.horizontalAdvance(Text(chart.referenceLabel)) + 6;
        const QRect label(plotRight - labelWidth, ry - line - 2, labelWidth, line);
        painter.fillRect(label, Qt::white);
        painter.drawText(label, Qt::AlignCenter, Text(chart.referenceLabel));
        painter.setPen(Qt::black);
    }

    painter.drawText(QRect(left, area.bottom() - line - 2, plotRight - left, line + 2), Qt::AlignCenter,
                     Text(chart.xTitle));
    painter.save();
    painter.translate(area.left() + 2, top + plotHeight / 2);
    painter.rotate(-90);
    painter.drawText(QRect(-plotHeight / 2, 0, plotHeight, line), Qt::AlignCenter, Text(chart.yTitle));
    painter.restore();
    painter.restore();
}

QImage RenderChart(const analysis::ChartData& chart, const QSize& size)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    PaintChart(painter, QRect(QPoint(0, 0), size).adjusted(8, 8, -8, -8), chart);
    return image;
}

ChartView::ChartView(QWidget* parent)
    : QWidget(parent)
{
    setAutoFillBackground(true);
    QPalette white = palette();
    white.setColor(QPalette::Window, Qt::white);
    setPalette(white);
}

void ChartView::setChart(const analysis::ChartData& chart)
{
    m_chart = chart;
    update();
}

void ChartView::paintEvent(QPaintEvent* /*event*/)
{
    QPainter painter(this);
    PaintChart(painter, rect().adjusted(6, 6, -6, -6), m_chart);
}

} // namespace zentrix::ui
