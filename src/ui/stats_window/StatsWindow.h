// StatsWindow: the 統計 window: every statistics view as a sortable table and a chart for a chosen
// range of draws, and the rule meter for the main window's current settings.
#pragma once

#include "analysis/HistoryStatistics.h"
#include "analysis/RuleMeter.h"
#include "analysis/StatsViews.h"
#include "generator/DrawTable.h"
#include "generator/GenerationSettings.h"

#include <QWidget>
#include <array>
#include <vector>

class QComboBox;
class QLabel;
class QProgressBar;
class QPushButton;
class QSpinBox;
class QTabWidget;
class QTableWidget;

namespace zentrix {
class HistoryFile;
}

namespace zentrix::ui {

class ChartView;

/// One tab: notes over the tables beside the chart.
struct StatsViewPage
{
    QWidget* page = nullptr;
    QLabel* notes = nullptr;
    std::vector<QTableWidget*> tables;
    ChartView* chart = nullptr;
};

/// The window's controls, named as their objectName.
struct StatsWindowControls
{
    QComboBox* cboRange = nullptr; ///< 全回, 直近10/50/100/500回, 回数を指定
    QSpinBox* spnLast = nullptr;   ///< the count for 回数を指定
    QLabel* lblRange = nullptr;    ///< the draws the figures cover
    QTabWidget* tabViews = nullptr;
    std::array<StatsViewPage, analysis::kAllViews.size()> pages{};
    QWidget* meterPage = nullptr;
    QLabel* lblMeterSettings = nullptr;
    QLabel* lblMeter = nullptr;
    QProgressBar* barSets = nullptr;     ///< share of all sets that pass, in 1/100 %
    QProgressBar* barBackTest = nullptr; ///< share of the past draws that passed, in 1/100 %
    QLabel* lblMeterSummary = nullptr;   ///< one line under the tabs, whatever tab is shown
    QPushButton* cmdPrint = nullptr;
    QPushButton* cmdSavePng = nullptr;
};

/**
 * A window of its own (not modal), reading the draws from the open history file. It keeps a copy
 * of the draws and reads them again on reloadHistory(); the rule meter counts again on every
 * setSettings().
 */
class StatsWindow : public QWidget
{
    Q_OBJECT

public:
    /// Range choices of cboRange, in order; 0 stands for every draw, -1 for the spin box.
    static constexpr std::array<int, 6> kRangeChoices{0, 10, 50, 100, 500, -1};

    StatsWindow(HistoryFile& history, QWidget* parent = nullptr);
    ~StatsWindow() override;

    StatsWindowControls& controls() { return m_ui; }

    /// Reads draws 1..Latest from the history file again and recomputes every view and the meter.
    void reloadHistory();
    /// The settings the meter judges with.
    void setSettings(const GenerationSettings& settings);
    /// Shows the latest `count` draws (0: all), choosing the matching range entry.
    void setRange(RecordNo count);

    const analysis::HistoryStatistics& statistics() const { return m_statistics; }
    const analysis::RuleMeterReading& meter() const { return m_meter; }
    /// The chart of the current tab, or nullptr on the meter's tab.
    const ChartView* currentChart() const;

    /// Writes the current chart as a PNG file through the statistics' output function; on failure
    /// says why in a message box. True when the file was written.
    bool exportChartPng(const QString& fileName);
    /// Prints the current chart on one landscape page after the print dialog.
    bool printChart();

private:
    void buildControls();
    void rangeChanged();
    void recompute();
    void updateMeter();
    void fillPage(StatsViewPage& page, const analysis::ViewReport& report);
    void currentTabChanged();
    void cmdSavePngClicked();

    HistoryFile& m_history;
    StatsWindowControls m_ui;
    DrawTable m_table;
    QString m_loadError;
    GenerationSettings m_settings;
    analysis::HistoryStatistics m_statistics;
    analysis::RuleMeterReading m_meter;
};

} // namespace zentrix::ui
