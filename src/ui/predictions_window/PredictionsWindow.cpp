// PredictionsWindow: list and detail of the saved batches, with print, copy, CSV and delete.
#include "ui/predictions_window/PredictionsWindow.h"

#include "predictions/PredictionReport.h"
#include "predictions/PredictionStore.h"
#include "store/HistoryFile.h"
#include "ui/common/AppIcon.h"
#include "ui/common/Fonts.h"
#include "ui/common/MessageBox.h"
#include "ui/predictions_window/BatchListModel.h"
#include "ui/results_window/LinePrinter.h"
#include "ui/results_window/PrintDialog.h"
#include "ui/results_window/ResultsWindow.h"

#include <QClipboard>
#include <QFileDialog>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QMessageBox>
#include <QPrinter>
#include <QPushButton>
#include <QSpinBox>
#include <QSplitter>
#include <QTableView>
#include <QTableWidget>
#include <QVBoxLayout>
#include <set>

namespace zentrix::ui {
namespace {

const QString kTitle = QStringLiteral("Zentrix");

std::function<QString(const QString&)>& SaveFileNameProvider()
{
    static std::function<QString(const QString&)> provider;
    return provider;
}

std::function<bool(const QString&)>& Confirmation()
{
    static std::function<bool(const QString&)> answer;
    return answer;
}

QString Text(const std::string& utf8)
{
    return QString::fromStdString(utf8);
}

QString NumberCell(int n)
{
    return QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0'));
}

QString SetLineText(int row, const PredictionSet& set)
{
    QString line = QStringLiteral("%1→").arg(row, 3, 10, QLatin1Char('0'));
    for (std::size_t i = 0; i < set.size(); ++i)
        line += (i ? QStringLiteral(" , ") : QString()) + NumberCell(set[i]);
    return line;
}

QPushButton* Button(QWidget* parent, const char* name, const char* caption)
{
    auto* button = new QPushButton(QString::fromUtf8(caption), parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setAutoDefault(false);
    return button;
}

QString TotalsText(const ScoreTotals& totals)
{
    const TierTally& t = totals.scored;
    QString text = QStringLiteral("照合済み %1件 %2組　購入額 %3　")
                       .arg(totals.batches - totals.pendingBatches)
                       .arg(t.sets)
                       .arg(Text(YenText(t.costYen())));
    for (int k = 0; k < kPrizeKinds - 1; ++k)
        text += QStringLiteral("%1 %2　")
                    .arg(Text(std::string(PrizeName(static_cast<Prize>(k)))))
                    .arg(t.count[k]);
    text += QStringLiteral("5等賞金 %1").arg(Text(YenText(t.fifthPrizeYen())));
    if (totals.pendingBatches > 0)
        text += QStringLiteral("　（未抽選 %1件 %2組）").arg(totals.pendingBatches).arg(totals.pendingSets);
    return text;
}

} // namespace

PredictionsWindow::PredictionsWindow(HistoryFile& history, std::filesystem::path database, QWidget* parent)
    : QWidget(parent, Qt::Window)
    , m_history(history)
    , m_database(std::move(database))
{
    setObjectName(QStringLiteral("frmPredictions"));
    setWindowTitle(QStringLiteral("予想履歴 - Zentrix"));
    setWindowIcon(AppIcon());
    setFont(DesignFont(kGothicFace, 9));
    resize(900, 620);

    auto* filterLabel = new QLabel(QStringLiteral("予想回で絞り込み(&F):"), this);
    m_ui.spnDraw = new QSpinBox(this);
    m_ui.spnDraw->setObjectName(QStringLiteral("spnDraw"));
    m_ui.spnDraw->setRange(0, 99999);
    m_ui.spnDraw->setSpecialValueText(QStringLiteral("すべて"));
    m_ui.spnDraw->setPrefix(QStringLiteral("第"));
    m_ui.spnDraw->setSuffix(QStringLiteral("回"));
    filterLabel->setBuddy(m_ui.spnDraw);

    m_model = new BatchListModel(this);
    m_ui.lstBatches = new QTableView(this);
    m_ui.lstBatches->setObjectName(QStringLiteral("lstBatches"));
    m_ui.lstBatches->setModel(m_model);
    m_ui.lstBatches->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_ui.lstBatches->setSelectionMode(QAbstractItemView::SingleSelection);
    m_ui.lstBatches->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_ui.lstBatches->verticalHeader()->hide();
    m_ui.lstBatches->verticalHeader()->setDefaultSectionSize(m_ui.lstBatches->fontMetrics().height() + 6);
    m_ui.lstBatches->horizontalHeader()->setStretchLastSection(true);
    m_ui.lstBatches->horizontalHeader()->setSortIndicator(BatchListModel::Id, Qt::DescendingOrder);
    m_ui.lstBatches->setSortingEnabled(true);
    const int columnWidths[] = {50, 120, 80, 45, 45, 45, 150, 80, 70};
    for (int c = 0; c < int(std::size(columnWidths)); ++c)
        m_ui.lstBatches->setColumnWidth(c, columnWidths[c]);

    m_ui.lblTotals = new QLabel(this);
    m_ui.lblTotals->setObjectName(QStringLiteral("lblTotals"));
    m_ui.lblMessage = new QLabel(this);
    m_ui.lblMessage->setObjectName(QStringLiteral("lblMessage"));
    m_ui.lblMessage->setWordWrap(true);
    m_ui.lblMessage->setStyleSheet(QStringLiteral("color: #b00000;"));
    m_ui.lblMessage->hide();

    m_ui.lblBatch = new QLabel(this);
    m_ui.lblBatch->setObjectName(QStringLiteral("lblBatch"));
    m_ui.grdSets = new QTableWidget(0, 7, this);
    m_ui.grdSets->setObjectName(QStringLiteral("grdSets"));
    m_ui.grdSets->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_ui.grdSets->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_ui.grdSets->setHorizontalHeaderLabels(
        {QString(), QString(), QString(), QString(), QString(), QString(), QStringLiteral("等級")});
    m_ui.grdSets->verticalHeader()->setDefaultAlignment(Qt::AlignCenter);
    m_ui.grdSets->verticalHeader()->setDefaultSectionSize(m_ui.grdSets->fontMetrics().height() + 6);
    for (int c = 0; c < 6; ++c)
        m_ui.grdSets->setColumnWidth(c, 40);
    m_ui.grdSets->horizontalHeader()->setStretchLastSection(true);

    m_ui.cmdPrint = Button(this, "cmdPrint", "印刷(&P)");
    m_ui.cmdCopy = Button(this, "cmdCopy", "コピー(&C)");
    m_ui.cmdExport = Button(this, "cmdExport", "CSV 出力(&E)");
    m_ui.cmdDelete = Button(this, "cmdDelete", "削除(&D)");
    m_ui.cmdClose = Button(this, "cmdClose", "閉じる");

    auto* filterRow = new QHBoxLayout;
    filterRow->addWidget(filterLabel);
    filterRow->addWidget(m_ui.spnDraw);
    filterRow->addStretch();

    auto* top = new QWidget(this);
    auto* topLayout = new QVBoxLayout(top);
    topLayout->setContentsMargins(0, 0, 0, 0);
    topLayout->addLayout(filterRow);
    topLayout->addWidget(m_ui.lstBatches);
    topLayout->addWidget(m_ui.lblTotals);
    topLayout->addWidget(m_ui.lblMessage);

    auto* bottom = new QWidget(this);
    auto* bottomLayout = new QVBoxLayout(bottom);
    bottomLayout->setContentsMargins(0, 0, 0, 0);
    bottomLayout->addWidget(m_ui.lblBatch);
    bottomLayout->addWidget(m_ui.grdSets);

    auto* splitter = new QSplitter(Qt::Vertical, this);
    splitter->addWidget(top);
    splitter->addWidget(bottom);
    splitter->setStretchFactor(0, 3);
    splitter->setStretchFactor(1, 2);

    auto* buttons = new QHBoxLayout;
    for (QPushButton* button : {m_ui.cmdPrint, m_ui.cmdCopy, m_ui.cmdExport, m_ui.cmdDelete})
        buttons->addWidget(button);
    buttons->addStretch();
    buttons->addWidget(m_ui.cmdClose);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(splitter);
    layout->addLayout(buttons);

    connect(m_ui.spnDraw, &QSpinBox::valueChanged, this, [this](int draw) {
        m_model->setDrawFilter(draw);
        if (m_opened && m_model->rowOf(m_opened->id) >= 0)
            m_ui.lstBatches->selectRow(m_model->rowOf(m_opened->id));
    });
    connect(m_ui.lstBatches->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) { openRow(current.row()); });
    connect(m_model, &QAbstractItemModel::modelReset, this, [this] {
        // A reset drops the selection model's current row; the opened batch stays opened.
        if (m_opened) {
            const int row = m_model->rowOf(m_opened->id);
            if (row >= 0)
                m_ui.lstBatches->selectionModel()->setCurrentIndex(
                    m_model->index(row, 0), QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        }
    });
    connect(m_ui.cmdPrint, &QPushButton::clicked, this, &PredictionsWindow::cmdPrint_Click);
    connect(m_ui.cmdCopy, &QPushButton::clicked, this, &PredictionsWindow::cmdCopy_Click);
    connect(m_ui.cmdExport, &QPushButton::clicked, this, &PredictionsWindow::cmdExport_Click);
    connect(m_ui.cmdDelete, &QPushButton::clicked, this, &PredictionsWindow::cmdDelete_Click);
    connect(m_ui.cmdClose, &QPushButton::clicked, this, &QWidget::close);

    refresh();
}

PredictionsWindow::~PredictionsWindow() = default;

bool PredictionsWindow::loadHistory()
{
    m_draws = {};
    if (!m_history.IsOpen())
        return false;
    return static_cast<bool>(LoadDrawTable(m_history, m_history.Latest(), m_draws));
}

void PredictionsWindow::refresh()
{
    const bool historyRead = loadHistory();
    std::vector<BatchRow> rows;
    ScoreTotals totals;
    PredictionStore store(m_database);
    PredictionsStatus status = store.open(PredictionStore::Mode::ExistingOnly);
    if (status) {
        status = store.forEach([&](const BatchHeader& header, const std::vector<PredictionSet>& sets) {
            BatchRow row{header, ScoreBatch(sets, m_draws, header.draw)};
            totals.add(row.score);
            rows.push_back(std::move(row));
        });
    }
    if (!status) {
        rows.clear();
        totals = {};
        m_ui.lblMessage->setText(Text(DescribePredictionsError(status, m_database)));
    } else if (!historyRead) {
        m_ui.lblMessage->setText(QStringLiteral("当選番号を読めないため、等級は出していません。"));
    }
    m_ui.lblMessage->setVisible(!status || !historyRead);

    if (m_opened) {
        Batch reloaded;
        if (status && store.load(m_opened->id, reloaded))
            m_opened = std::move(reloaded);
        else
            m_opened.reset();
    }
    m_model->setRows(std::move(rows));
    m_ui.lblTotals->setText(totals.batches == 0 ? QStringLiteral("保存されている予想はありません。")
                                                : TotalsText(totals));
    showBatch();
}

void PredictionsWindow::openRow(int row)
{
    const BatchRow* listed = m_model->batchAt(row);
    if (!listed) {
        return;
    }
    if (m_opened && m_opened->id == listed->header.id)
        return;
    PredictionStore store(m_database);
    Batch batch;
    PredictionsStatus status = store.open(PredictionStore::Mode::ExistingOnly);
    if (status)
        status = store.load(listed->header.id, batch);
    if (!status) {
        m_opened.reset();
        m_ui.lblMessage->setText(Text(DescribePredictionsError(status, m_database)));
        m_ui.lblMessage->show();
    } else {
        m_opened = std::move(batch);
    }
    showBatch();
}

void PredictionsWindow::showBatch()
{
    QTableWidget* grid = m_ui.grdSets;
    grid->clearContents();
    if (!m_opened) {
        grid->setRowCount(0);
        m_ui.lblBatch->setText(QStringLiteral("一覧から予想を選ぶと、その予想番号と等級を表示します。"));
        updateButtons();
        return;
    }
    const Batch& batch = *m_opened;
    const std::optional<DrawRow> draw = StoredDraw(m_draws, batch.draw);
    QString heading = QStringLiteral("No.%1　第%2回の予想（%3）　")
                          .arg(batch.id)
                          .arg(batch.draw)
                          .arg(Text(FormatLocalTime(batch.createdAt)));
    if (draw) {
        heading += QStringLiteral("当選番号");
        for (int i = 0; i < 6; ++i)
            heading += QLatin1Char(' ') + NumberCell((*draw)[static_cast<std::size_t>(i)]);
        heading += QStringLiteral("　ボーナス ") + NumberCell((*draw)[6]);
    } else {
        heading += QStringLiteral("未抽選");
    }
    m_ui.lblBatch->setText(heading);

    grid->setRowCount(static_cast<int>(batch.sets.size()));
    QFont matchedFont = grid->font();
    matchedFont.setBold(true);
    const QColor matchedColour(255, 224, 130);
    const QColor bonusColour(170, 210, 255);
    for (int r = 0; r < grid->rowCount(); ++r) {
        const PredictionSet& set = batch.sets[static_cast<std::size_t>(r)];
        grid->setVerticalHeaderItem(
            r, new QTableWidgetItem(QStringLiteral("%1→").arg(r + 1, 3, 10, QLatin1Char('0'))));
        std::optional<SetScore> detail;
        if (draw)
            detail = ScoreSetDetail(set, *draw);
        for (int c = 0; c < 6; ++c) {
            auto* item = new QTableWidgetItem(NumberCell(set[static_cast<std::size_t>(c)]));
            item->setTextAlignment(Qt::AlignCenter);
            if (detail && detail->matched[static_cast<std::size_t>(c)]) {
                item->setFont(matchedFont);
                item->setBackground(matchedColour);
                item->setData(Qt::UserRole, QStringLiteral("match"));
            } else if (detail && detail->bonusAt == c) {
                item->setBackground(bonusColour);
                item->setToolTip(QStringLiteral("ボーナス数字"));
                item->setData(Qt::UserRole, QStringLiteral("bonus"));
            }
            grid->setItem(r, c, item);
        }
        auto* tier = new QTableWidgetItem(detail ? Text(std::string(PrizeName(detail->score.prize)))
                                                 : QStringLiteral("-"));
        tier->setTextAlignment(Qt::AlignCenter);
        grid->setItem(r, 6, tier);
    }
    updateButtons();
}

void PredictionsWindow::updateButtons()
{
    const bool opened = m_opened.has_value();
    for (QPushButton* button : {m_ui.cmdPrint, m_ui.cmdCopy, m_ui.cmdExport, m_ui.cmdDelete})
        button->setEnabled(opened);
}

QString PredictionsWindow::CopiedLines() const
{
    if (!m_opened)
        return {};
    std::set<int> rows;
    for (const QModelIndex& index : m_ui.grdSets->selectionModel()->selectedIndexes())
        rows.insert(index.row());
    if (rows.empty()) {
        for (int r = 0; r < static_cast<int>(m_opened->sets.size()); ++r)
            rows.insert(r);
    }
    QString text;
    for (const int r : rows)
        text += SetLineText(r + 1, m_opened->sets[static_cast<std::size_t>(r)]) + QLatin1Char('\n');
    return text;
}

void PredictionsWindow::cmdCopy_Click()
{
    if (const QString text = CopiedLines(); !text.isEmpty())
        QGuiApplication::clipboard()->setText(text);
}

void PredictionsWindow::cmdPrint_Click()
{
    if (!m_opened)
        return;
    QPrinter printer(QPrinter::HighResolution);
    if (!PrintDialog::exec(printer, this))
        return;
    QStringList lines{ResultsWindow::PrintHeader()};
    for (std::size_t r = 0; r < m_opened->sets.size(); ++r)
        lines << SetLineText(static_cast<int>(r + 1), m_opened->sets[r]);
    if (const LinePrinter::Failure failure = LinePrinter::PrintDocument(printer, lines);
        failure != LinePrinter::Failure::None)
        MessageBox::show(this, kTitle, LinePrinter::DescribeFailure(failure), MessageBox::Icon::Exclamation);
}

void PredictionsWindow::cmdExport_Click()
{
    if (!m_opened)
        return;
    const QString suggested = QStringLiteral("zentrix-predictions-%1.csv").arg(m_opened->id);
    const QString target = SaveFileNameProvider()
                               ? SaveFileNameProvider()(suggested)
                               : QFileDialog::getSaveFileName(this, QStringLiteral("CSV 出力"), suggested,
                                                              QStringLiteral("CSV (*.csv)"));
    if (target.isEmpty())
        return;
    const std::string csv = PredictionsCsvHeader() + PredictionsCsvLines(*m_opened, m_draws);
    const std::filesystem::path path(target.toStdString());
    if (const OutputError failed = WriteOutputFile(path, csv, {m_history.Path(), m_database});
        !failed.empty())
        MessageBox::show(this, kTitle, Text(failed), MessageBox::Icon::Exclamation);
}

void PredictionsWindow::cmdDelete_Click()
{
    if (!m_opened)
        return;
    const QString question = QStringLiteral("No.%1（第%2回の予想、%3組）を削除します。よろしいですか？")
                                 .arg(m_opened->id)
                                 .arg(m_opened->draw)
                                 .arg(m_opened->sets.size());
    bool yes = false;
    if (Confirmation()) {
        yes = Confirmation()(question);
    } else {
        QMessageBox box(QMessageBox::Question, kTitle, question, QMessageBox::NoButton, this);
        QPushButton* remove = box.addButton(QStringLiteral("削除する(&Y)"), QMessageBox::YesRole);
        box.addButton(QStringLiteral("やめる(&N)"), QMessageBox::NoRole);
        box.exec();
        yes = box.clickedButton() == remove;
    }
    if (!yes)
        return;
    PredictionStore store(m_database);
    PredictionsStatus status = store.open(PredictionStore::Mode::ExistingOnly);
    if (status)
        status = store.remove(m_opened->id);
    if (!status) {
        MessageBox::show(this, kTitle, Text(DescribePredictionsError(status, m_database)),
                         MessageBox::Icon::Exclamation);
        return;
    }
    m_opened.reset();
    refresh();
}

void PredictionsWindow::setSaveFileNameProvider(std::function<QString(const QString&)> provider)
{
    SaveFileNameProvider() = std::move(provider);
}

void PredictionsWindow::setConfirmation(std::function<bool(const QString&)> answer)
{
    Confirmation() = std::move(answer);
}

} // namespace zentrix::ui
