// StatsWindow: builds the tabs, fills them from the analysis layer, and exports the charts.
#include "ui/stats_window/StatsWindow.h"

#include "generator/Feasibility.h"
#include "store/HistoryFile.h"
#include "store/OutputFile.h"
#include "ui/common/AppIcon.h"
#include "ui/common/Fonts.h"
#include "ui/common/MessageBox.h"
#include "ui/results_window/PrintDialog.h"
#include "ui/stats_window/ChartView.h"

#include <QBuffer>
#include <QComboBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPainter>
#include <QPrinter>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>
#include <QSplitter>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>

namespace zentrix::ui {
namespace {

/// A cell that sorts by its figure, not by its text ("第9回" before "第10回", "-3.2" before "+1.0").
class FigureItem : public QTableWidgetItem
{
public:
    FigureItem(const analysis::TableCell& cell)
        : QTableWidgetItem(QString::fromStdString(cell.text))
        , m_key(cell.sortKey)
    {
        setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
        setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    }

    bool operator<(const QTableWidgetItem& other) const override
    {
        return m_key < static_cast<const FigureItem&>(other).m_key;
    }

private:
    double m_key;
};

QString Q(std::string_view text)
{
    return QString::fromUtf8(text.data(), qsizetype(text.size()));
}

QString DescribeRules(const GenerationSettings& settings)
{
    const int evens = 7 - (settings.parityLevel >= 1 && settings.parityLevel <= 6 ? settings.parityLevel : 7);
    const QString parity = settings.parityOn ? QStringLiteral("偶数 : 奇数 %1 : %2").arg(evens).arg(6 - evens)
                                             : QStringLiteral("偶数／奇数の偏り off");
    const int carry = settings.carryCount == 0 || settings.carryCount == 1 ? settings.carryCount : 2;
    return QStringLiteral("メイン画面の設定: 連番 %1, キャリー %2個, %3")
        .arg(settings.consecutiveOn ? QStringLiteral("on") : QStringLiteral("off"))
        .arg(carry)
        .arg(parity);
}

} // namespace

StatsWindow::StatsWindow(HistoryFile& history, QWidget* parent)
    : QWidget(parent, Qt::Window)
    , m_history(history)
{
    setObjectName(QStringLiteral("frmStats"));
    setWindowTitle(QStringLiteral("統計 - Zentrix"));
    setWindowIcon(AppIcon());
    setFont(DesignFont(kGothicFace, 9));
    buildControls();
    reloadHistory();
}

StatsWindow::~StatsWindow() = default;

void StatsWindow::buildControls()
{
    auto* top = new QHBoxLayout;
    auto* rangeLabel = new QLabel(QStringLiteral("範囲(&R):"), this);
    m_ui.cboRange = new QComboBox(this);
    m_ui.cboRange->setObjectName(QStringLiteral("cboRange"));
    for (const int choice : kRangeChoices) {
        m_ui.cboRange->addItem(choice == 0  ? QStringLiteral("全回")
                               : choice < 0 ? QStringLiteral("回数を指定")
                                            : QStringLiteral("直近%1回").arg(choice));
    }
    rangeLabel->setBuddy(m_ui.cboRange);
    m_ui.spnLast = new QSpinBox(this);
    m_ui.spnLast->setObjectName(QStringLiteral("spnLast"));
    m_ui.spnLast->setRange(1, 99999);
    m_ui.spnLast->setValue(200);
    m_ui.spnLast->setSuffix(QStringLiteral(" 回"));
    m_ui.spnLast->setEnabled(false);
    m_ui.lblRange = new QLabel(this);
    m_ui.lblRange->setObjectName(QStringLiteral("lblRange"));
    m_ui.cmdPrint = new QPushButton(QStringLiteral("グラフを印刷(&P)..."), this);
    m_ui.cmdPrint->setObjectName(QStringLiteral("cmdPrint"));
    m_ui.cmdSavePng = new QPushButton(QStringLiteral("グラフを PNG で保存(&S)..."), this);
    m_ui.cmdSavePng->setObjectName(QStringLiteral("cmdSavePng"));
    top->addWidget(rangeLabel);
    top->addWidget(m_ui.cboRange);
    top->addWidget(m_ui.spnLast);
    top->addWidget(m_ui.lblRange, 1);
    top->addWidget(m_ui.cmdPrint);
    top->addWidget(m_ui.cmdSavePng);

    m_ui.tabViews = new QTabWidget(this);
    m_ui.tabViews->setObjectName(QStringLiteral("tabViews"));
    for (std::size_t i = 0; i < analysis::kAllViews.size(); ++i) {
        const analysis::StatsView view = analysis::kAllViews[i];
        StatsViewPage& page = m_ui.pages[i];
        page.page = new QWidget;
        page.page->setObjectName(QStringLiteral("page_%1").arg(Q(analysis::ViewKey(view))));
        page.notes = new QLabel(page.page);
        page.notes->setWordWrap(true);
        page.chart = new ChartView(page.page);
        page.chart->setObjectName(QStringLiteral("chart_%1").arg(Q(analysis::ViewKey(view))));
        auto* splitter = new QSplitter(Qt::Horizontal, page.page);
        auto* tables = new QSplitter(Qt::Vertical, splitter);
        // The view's table count never changes; make them once with an empty report's shape.
        const analysis::ViewReport shape = analysis::BuildViewReport(analysis::HistoryStatistics{}, view);
        for (std::size_t t = 0; t < shape.tables.size(); ++t) {
            auto* table = new QTableWidget(tables);
            table->setObjectName(QStringLiteral("table_%1_%2").arg(Q(analysis::ViewKey(view))).arg(t));
            table->setEditTriggers(QAbstractItemView::NoEditTriggers);
            table->verticalHeader()->setVisible(false);
            table->verticalHeader()->setDefaultSectionSize(table->fontMetrics().height() + 6);
            table->setSelectionBehavior(QAbstractItemView::SelectRows);
            table->horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);
            page.tables.push_back(table);
        }
        splitter->addWidget(tables);
        splitter->addWidget(page.chart);
        splitter->setStretchFactor(0, 0);
        splitter->setStretchFactor(1, 1);
        auto* layout = new QVBoxLayout(page.page);
        layout->addWidget(page.notes);
        layout->addWidget(splitter, 1);
        m_ui.tabViews->addTab(page.page, Q(analysis::ViewTitle(view)));
    }

    m_ui.meterPage = new QWidget;
    m_ui.meterPage->setObjectName(QStringLiteral("page_meter"));
    m_ui.lblMeterSettings = new QLabel(m_ui.meterPage);
    m_ui.lblMeterSettings->setObjectName(QStringLiteral("lblMeterSettings"));
    m_ui.lblMeter = new QLabel(m_ui.meterPage);
    m_ui.lblMeter->setObjectName(QStringLiteral("lblMeter"));
    m_ui.lblMeter->setWordWrap(true);
    m_ui.lblMeter->setTextInteractionFlags(Qt::TextSelectableByMouse);
    const auto meterBar = [this](const QString& name) {
        auto* bar = new QProgressBar(m_ui.meterPage);
        bar->setObjectName(name);
        bar->setRange(0, 10000);
        bar->setTextVisible(true);
        return bar;
    };
    m_ui.barSets = meterBar(QStringLiteral("barSets"));
    m_ui.barBackTest = meterBar(QStringLiteral("barBackTest"));
    auto* bars = new QGridLayout;
    bars->addWidget(new QLabel(QStringLiteral("条件を満たす組み合わせの割合"), m_ui.meterPage), 0, 0);
    bars->addWidget(m_ui.barSets, 0, 1);
    bars->addWidget(new QLabel(QStringLiteral("過去の当選番号が条件を満たした割合"), m_ui.meterPage), 1, 0);
    bars->addWidget(m_ui.barBackTest, 1, 1);
    bars->setColumnStretch(1, 1);
    auto* meterLayout = new QVBoxLayout(m_ui.meterPage);
    meterLayout->addWidget(m_ui.lblMeterSettings);
    meterLayout->addLayout(bars);
    meterLayout->addSpacing(8);
    meterLayout->addWidget(m_ui.lblMeter);
    meterLayout->addStretch(1);
    m_ui.tabViews->addTab(m_ui.meterPage, QStringLiteral("条件メーター"));

    m_ui.lblMeterSummary = new QLabel(this);
    m_ui.lblMeterSummary->setObjectName(QStringLiteral("lblMeterSummary"));
    m_ui.lblMeterSummary->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(m_ui.tabViews, 1);
    layout->addWidget(m_ui.lblMeterSummary);
    resize(1040, 700);

    connect(m_ui.cboRange, &QComboBox::currentIndexChanged, this, &StatsWindow::rangeChanged);
    connect(m_ui.spnLast, &QSpinBox::valueChanged, this, &StatsWindow::rangeChanged);
    connect(m_ui.tabViews, &QTabWidget::currentChanged, this, &StatsWindow::currentTabChanged);
    connect(m_ui.cmdSavePng, &QPushButton::clicked, this, &StatsWindow::cmdSavePngClicked);
    connect(m_ui.cmdPrint, &QPushButton::clicked, this, &StatsWindow::printChart);
}

void StatsWindow::reloadHistory()
{
    m_loadError.clear();
    const StoreStatus loaded = LoadDrawTable(m_history, m_history.Latest(), m_table);
    if (!loaded)
        m_loadError =
            QString::fromStdString(DescribeStoreError(loaded, m_history.Path().filename().string()));
    recompute();
    updateMeter();
}

void StatsWindow::setSettings(const GenerationSettings& settings)
{
    m_settings = settings;
    updateMeter();
}

void StatsWindow::setRange(RecordNo count)
{
    const auto* found = std::find(kRangeChoices.begin(), kRangeChoices.end(), int(count));
    if (count > 0 && found == kRangeChoices.end()) {
        m_ui.spnLast->setValue(int(std::min<RecordNo>(count, m_ui.spnLast->maximum())));
        m_ui.cboRange->setCurrentIndex(int(kRangeChoices.size()) - 1);
    } else {
        m_ui.cboRange->setCurrentIndex(int(found - kRangeChoices.begin()));
    }
}

void StatsWindow::rangeChanged()
{
    m_ui.spnLast->setEnabled(kRangeChoices[std::size_t(m_ui.cboRange->currentIndex())] < 0);
    recompute();
}

const ChartView* StatsWindow::currentChart() const
{
    const int index = m_ui.tabViews->currentIndex();
    return index >= 0 && index < int(m_ui.pages.size()) ? m_ui.pages[std::size_t(index)].chart : nullptr;
}

void StatsWindow::recompute()
{
    const int choice = kRangeChoices[std::size_t(std::max(0, m_ui.cboRange->currentIndex()))];
    const RecordNo count = choice < 0 ? m_ui.spnLast->value() : choice;
    m_statistics = analysis::ComputeHistoryStatistics(m_table, analysis::LatestDraws(m_table, count));
    m_ui.lblRange->setText(m_loadError.isEmpty() ? Q(analysis::DescribeRange(m_statistics)) : m_loadError);
    for (std::size_t i = 0; i < analysis::kAllViews.size(); ++i)
        fillPage(m_ui.pages[i], analysis::BuildViewReport(m_statistics, analysis::kAllViews[i]));
}

void StatsWindow::fillPage(StatsViewPage& page, const analysis::ViewReport& report)
{
    QStringList notes;
    for (const std::string& note : report.notes)
        notes << QString::fromStdString(note);
    page.notes->setText(notes.join(QLatin1Char('\n')));
    for (std::size_t t = 0; t < page.tables.size() && t < report.tables.size(); ++t) {
        QTableWidget* table = page.tables[t];
        const analysis::ViewTable& source = report.tables[t];
        const int sortColumn = table->horizontalHeader()->sortIndicatorSection();
        const Qt::SortOrder sortOrder = table->horizontalHeader()->sortIndicatorOrder();
        table->setSortingEnabled(false);
        table->clear();
        table->setColumnCount(int(source.headers.size()));
        table->setRowCount(int(source.rows.size()));
        QStringList headers;
        for (const std::string& header : source.headers)
            headers << QString::fromStdString(header);
        table->setHorizontalHeaderLabels(headers);
        for (int r = 0; r < int(source.rows.size()); ++r) {
            const auto& row = source.rows[std::size_t(r)];
            for (int c = 0; c < int(row.size()); ++c)
                table->setItem(r, c, new FigureItem(row[std::size_t(c)]));
        }
        table->resizeColumnsToContents();
        // Keep the order the user chose across a change of range or history; until a header is
        // clicked the rows stay in the view's own order. Turning sorting on sorts by the indicator.
        const bool userSorted = sortColumn >= 0 && sortColumn < table->columnCount();
        table->horizontalHeader()->setSortIndicator(userSorted ? sortColumn : -1, sortOrder);
        table->setSortingEnabled(true);
        int width = table->frameWidth() * 2 + 4;
        for (int c = 0; c < table->columnCount(); ++c)
            width += table->columnWidth(c);
        table->setMinimumWidth(width + table->style()->pixelMetric(QStyle::PM_ScrollBarExtent));
    }
    page.chart->setChart(report.chart);
}

void StatsWindow::updateMeter()
{
    m_meter = analysis::ReadRuleMeter(m_table, m_settings);
    QStringList lines;
    for (const std::string& line : analysis::DescribeRuleMeter(m_meter))
        lines << QString::fromStdString(line);
    m_ui.lblMeterSettings->setText(DescribeRules(m_settings));
    m_ui.lblMeter->setText(lines.join(QStringLiteral("\n\n")));
    const auto showShare = [](QProgressBar* bar, double share, const QString& text) {
        bar->setValue(int(share * 10000 + 0.5));
        bar->setFormat(text);
    };
    showShare(m_ui.barSets, m_meter.passShare(),
              Q(analysis::PercentText(m_meter.passingSets, kAllSetCount, 2)));
    showShare(m_ui.barBackTest, m_meter.backTestShare(),
              Q(analysis::PercentText(m_meter.backTest.passed, m_meter.backTest.checked)));
    if (!m_meter.enoughDraws) {
        m_ui.lblMeterSummary->setText(lines.value(0));
        return;
    }
    m_ui.lblMeterSummary->setText(
        QStringLiteral("条件メーター（%1）: 条件を満たす組み合わせ %2 / "
                       "%3（%4）、過去の当選番号で条件を満たした回 %5 / %6（%7）")
            .arg(DescribeRules(m_settings).section(QStringLiteral(": "), 1),
                 Q(analysis::GroupedDigits(m_meter.passingSets)), Q(analysis::GroupedDigits(kAllSetCount)),
                 Q(analysis::PercentText(m_meter.passingSets, kAllSetCount, 2)),
                 Q(analysis::GroupedDigits(m_meter.backTest.passed)),
                 Q(analysis::GroupedDigits(m_meter.backTest.checked)),
                 Q(analysis::PercentText(m_meter.backTest.passed, m_meter.backTest.checked))));
}

void StatsWindow::currentTabChanged()
{
    const bool chart = currentChart() != nullptr;
    m_ui.cmdPrint->setEnabled(chart);
    m_ui.cmdSavePng->setEnabled(chart);
}

bool StatsWindow::exportChartPng(const QString& fileName)
{
    const ChartView* chart = currentChart();
    if (!chart)
        return false;
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    RenderChart(chart->chart(), QSize(1000, 560)).save(&buffer, "PNG");
    const OutputStatus written = WriteOutputFile(
        fileName.toStdString(), std::string_view(bytes.constData(), std::size_t(bytes.size())),
        GuardedFiles(m_history.Path()));
    if (!written) {
        MessageBox::show(this, QStringLiteral("Zentrix"),
                         QString::fromStdString(DescribeOutputError(written, fileName.toStdString())),
                         MessageBox::Icon::Exclamation);
        return false;
    }
    return true;
}

void StatsWindow::cmdSavePngClicked()
{
    const ChartView* chart = currentChart();
    if (!chart)
        return;
    const int index = m_ui.tabViews->currentIndex();
    const QString suggested =
        QStringLiteral("zentrix-%1.png").arg(Q(analysis::ViewKey(analysis::kAllViews[std::size_t(index)])));
    const QString fileName = QFileDialog::getSaveFileName(this, QStringLiteral("グラフを PNG で保存"),
                                                          suggested, QStringLiteral("PNG 画像 (*.png)"));
    if (!fileName.isEmpty())
        exportChartPng(fileName);
}

bool StatsWindow::printChart()
{
    const ChartView* chart = currentChart();
    if (!chart)
        return false;
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageOrientation(QPageLayout::Landscape);
    if (!PrintDialog::exec(printer, this))
        return false;
    QPainter painter;
    if (!painter.begin(&printer)) {
        MessageBox::show(this, QStringLiteral("Zentrix"), QStringLiteral("印刷を始められませんでした。"),
                         MessageBox::Icon::Exclamation);
        return false;
    }
    QFont font = DesignFont(kGothicFace, 10);
    painter.setFont(QFont(font, &printer));
    PaintChart(painter, painter.viewport(), chart->chart());
    painter.end();
    return true;
}

} // namespace zentrix::ui
