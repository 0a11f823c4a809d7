// WheelWindow: number buttons, guarantee, a worker-thread run, and the proved wheel.
#include "ui/wheel_window/WheelWindow.h"

#include "predictions/PredictionStore.h"
#include "predictions/WheelBatch.h"
#include "ui/common/MessageBox.h"
#include "ui/results_window/LinePrinter.h"
#include "ui/results_window/PrintDialog.h"
#include "ui/results_window/ResultsWindow.h"
#include "wheel/WheelMessages.h"

#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>
#include <QThread>
#include <QVBoxLayout>

namespace zentrix::ui {
namespace {

constexpr int kColumns = 7;

QString Text(const std::string& text)
{
    return QString::fromStdString(text);
}

QString TicketLine(int row, const wheel::Ticket& ticket)
{
    QString line = QStringLiteral("%1→").arg(row, 3, 10, QLatin1Char('0'));
    for (std::size_t i = 0; i < ticket.size(); ++i)
        line += (i ? QStringLiteral(" , ") : QString()) +
                QStringLiteral("%1").arg(ticket[i], 2, 10, QLatin1Char('0'));
    return line;
}

/// Every guarantee the engine takes, weakest promise last within each prize.
std::vector<wheel::Guarantee> Guarantees()
{
    std::vector<wheel::Guarantee> list;
    for (int match = 3; match <= 5; ++match) {
        for (int drawn = match; drawn <= 6; ++drawn)
            list.push_back({match, drawn});
    }
    return list;
}

} // namespace

WheelWindow::WheelWindow(QWidget* parent)
    : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("frmWheel"));
    setWindowTitle(QStringLiteral("組み合わせ保証"));
    build();
    setMinimumWidth(560);
    refreshExpectation();
    setRunning(false);
}

WheelWindow::~WheelWindow()
{
    stopWorker();
}

void WheelWindow::build()
{
    auto* outer = new QVBoxLayout(this);

    auto* numbers = new QGridLayout;
    numbers->setSpacing(2);
    for (int n = 1; n <= 43; ++n) {
        auto* button = new QPushButton(QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0')), this);
        button->setObjectName(QStringLiteral("cmdNumber_%1").arg(n));
        button->setFixedSize(40, 28);
        button->setToolTip(QStringLiteral("押すたびに 選ぶ → 軸数字 → 外す の順に変わります"));
        connect(button, &QPushButton::clicked, this, [this, n] { cmdNumberClicked(n); });
        numbers->addWidget(button, (n - 1) / kColumns, (n - 1) % kColumns);
        m_ui.cmdNumber[std::size_t(n)] = button;
    }
    outer->addLayout(numbers);

    m_ui.lblPicks = new QLabel(this);
    m_ui.lblPicks->setObjectName(QStringLiteral("lblPicks"));
    outer->addWidget(m_ui.lblPicks);

    auto* settings = new QHBoxLayout;
    auto* guaranteeLabel = new QLabel(QStringLiteral("保証(&G):"), this);
    m_ui.cboGuarantee = new QComboBox(this);
    m_ui.cboGuarantee->setObjectName(QStringLiteral("cboGuarantee"));
    for (const wheel::Guarantee& g : Guarantees())
        m_ui.cboGuarantee->addItem(Text(wheel::GuaranteeLabel(g)),
                                   QVariant::fromValue(g.match * 10 + g.drawn));
    guaranteeLabel->setBuddy(m_ui.cboGuarantee);
    auto* secondsLabel = new QLabel(QStringLiteral("探す時間(&S):"), this);
    m_ui.spnSeconds = new QSpinBox(this);
    m_ui.spnSeconds->setObjectName(QStringLiteral("spnSeconds"));
    m_ui.spnSeconds->setRange(1, 600);
    m_ui.spnSeconds->setValue(10);
    m_ui.spnSeconds->setSuffix(QStringLiteral(" 秒まで"));
    secondsLabel->setBuddy(m_ui.spnSeconds);
    settings->addWidget(guaranteeLabel);
    settings->addWidget(m_ui.cboGuarantee, 1);
    settings->addWidget(secondsLabel);
    settings->addWidget(m_ui.spnSeconds);
    outer->addLayout(settings);

    m_ui.lblExpected = new QLabel(this);
    m_ui.lblExpected->setObjectName(QStringLiteral("lblExpected"));
    m_ui.lblExpected->setWordWrap(true);
    outer->addWidget(m_ui.lblExpected);

    auto* run = new QHBoxLayout;
    m_ui.cmdClear = new QPushButton(QStringLiteral("選択をクリア(&L)"), this);
    m_ui.cmdClear->setObjectName(QStringLiteral("cmdClear"));
    m_ui.cmdRun = new QPushButton(QStringLiteral("作成(&R)"), this);
    m_ui.cmdRun->setObjectName(QStringLiteral("cmdRun"));
    m_ui.cmdCancel = new QPushButton(QStringLiteral("中止(&A)"), this);
    m_ui.cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    m_ui.prgWheel = new QProgressBar(this);
    m_ui.prgWheel->setObjectName(QStringLiteral("prgWheel"));
    m_ui.prgWheel->setRange(0, 1000);
    m_ui.prgWheel->setTextVisible(false);
    run->addWidget(m_ui.cmdClear);
    run->addWidget(m_ui.cmdRun);
    run->addWidget(m_ui.cmdCancel);
    run->addWidget(m_ui.prgWheel, 1);
    outer->addLayout(run);

    m_ui.lblResult = new QLabel(this);
    m_ui.lblResult->setObjectName(QStringLiteral("lblResult"));
    m_ui.lblResult->setWordWrap(true);
    // Room for the longest result (count, guarantee, proof, chance, where the wheel came from) from
    // the start, so that showing it never squeezes the list below.
    m_ui.lblResult->setMinimumHeight(m_ui.lblResult->fontMetrics().lineSpacing() * 3 + 4);
    m_ui.lblResult->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    outer->addWidget(m_ui.lblResult);

    m_ui.txtTickets = new QPlainTextEdit(this);
    m_ui.txtTickets->setObjectName(QStringLiteral("txtTickets"));
    m_ui.txtTickets->setReadOnly(true);
    m_ui.txtTickets->setMinimumHeight(200);
    outer->addWidget(m_ui.txtTickets, 1);

    auto* output = new QHBoxLayout;
    m_ui.cmdPrint = new QPushButton(QStringLiteral("印刷(&P)"), this);
    m_ui.cmdPrint->setObjectName(QStringLiteral("cmdPrint"));
    m_ui.cmdCopy = new QPushButton(QStringLiteral("コピー(&C)"), this);
    m_ui.cmdCopy->setObjectName(QStringLiteral("cmdCopy"));
    output->addStretch(1);
    output->addWidget(m_ui.cmdPrint);
    output->addWidget(m_ui.cmdCopy);
    m_ui.cmdSave = new QPushButton(QStringLiteral("予想として保存(&S)"), this);
    m_ui.cmdSave->setObjectName(QStringLiteral("cmdSave"));
    output->addWidget(m_ui.cmdSave);
    outer->addLayout(output);

    connect(m_ui.cboGuarantee, &QComboBox::currentIndexChanged, this, &WheelWindow::refreshExpectation);
    connect(m_ui.cmdClear, &QPushButton::clicked, this, &WheelWindow::cmdClearClicked);
    connect(m_ui.cmdRun, &QPushButton::clicked, this, &WheelWindow::cmdRunClicked);
    connect(m_ui.cmdCancel, &QPushButton::clicked, this, &WheelWindow::cmdCancelClicked);
    connect(m_ui.cmdPrint, &QPushButton::clicked, this, &WheelWindow::cmdPrintClicked);
    connect(m_ui.cmdCopy, &QPushButton::clicked, this, &WheelWindow::cmdCopyClicked);
    connect(m_ui.cmdSave, &QPushButton::clicked, this, &WheelWindow::cmdSaveClicked);
}

wheel::WheelRequest WheelWindow::request() const
{
    wheel::WheelRequest request;
    for (int n = 1; n <= 43; ++n) {
        if (m_marks[std::size_t(n)] != Mark::None)
            request.picks.push_back(n);
        if (m_marks[std::size_t(n)] == Mark::Key)
            request.keys.push_back(n);
    }
    const int code = m_ui.cboGuarantee->currentData().toInt();
    request.guarantee = {code / 10, code % 10};
    return request;
}

void WheelWindow::cmdNumberClicked(int number)
{
    if (running())
        return;
    Mark& mark = m_marks[std::size_t(number)];
    mark = mark == Mark::None ? Mark::Picked : mark == Mark::Picked ? Mark::Key : Mark::None;
    QPushButton* button = m_ui.cmdNumber[std::size_t(number)];
    switch (mark) {
    case Mark::None:
        button->setStyleSheet({});
        break;
    case Mark::Picked:
        button->setStyleSheet(QStringLiteral("background-color: #ffd98a;"));
        break;
    case Mark::Key:
        button->setStyleSheet(QStringLiteral("background-color: #ff8a8a; font-weight: bold;"));
        break;
    }
    refreshExpectation();
}

void WheelWindow::cmdClearClicked()
{
    for (int n = 1; n <= 43; ++n) {
        m_marks[std::size_t(n)] = Mark::None;
        m_ui.cmdNumber[std::size_t(n)]->setStyleSheet({});
    }
    refreshExpectation();
}

void WheelWindow::refreshExpectation()
{
    const wheel::WheelRequest r = request();
    m_ui.lblPicks->setText(
        QStringLiteral("選んだ数字: %1個（うち軸数字 %2個）").arg(r.picks.size()).arg(r.keys.size()));
    const wheel::RequestError error = wheel::CheckRequest(r);
    if (error != wheel::RequestError::None) {
        m_ui.lblExpected->setText(Text(wheel::RequestErrorMessage(error)));
        if (!running())
            m_ui.cmdRun->setEnabled(false);
        return;
    }
    QString text;
    if (const auto known = wheel::BestKnownSize(r))
        text = QStringLiteral("目安: %1（知られている最小の枚数）　")
                   .arg(Text(wheel::TicketsAndCost(std::size_t(*known))));
    text += QStringLiteral("下限: %1枚　保証が働く確率（1回の抽選）: %2")
                .arg(Text(wheel::GroupDigits(wheel::LowerBound(r))),
                     Text(wheel::PercentText(wheel::GuaranteeChance(r))));
    m_ui.lblExpected->setText(text);
    if (!running())
        m_ui.cmdRun->setEnabled(true);
}

void WheelWindow::setRunning(bool isRunning)
{
    m_ui.cmdCancel->setEnabled(isRunning);
    m_ui.cmdClear->setEnabled(!isRunning);
    m_ui.cboGuarantee->setEnabled(!isRunning);
    m_ui.spnSeconds->setEnabled(!isRunning);
    m_ui.cmdPrint->setEnabled(!isRunning && !m_tickets.empty());
    m_ui.cmdCopy->setEnabled(!isRunning && !m_tickets.empty());
    m_ui.cmdSave->setEnabled(!isRunning && !m_tickets.empty() && m_saving.database && m_saving.nextDraw);
    m_ui.cmdRun->setEnabled(!isRunning && wheel::CheckRequest(request()) == wheel::RequestError::None);
}

void WheelWindow::cmdRunClicked()
{
    const wheel::WheelRequest r = request();
    if (running() || wheel::CheckRequest(r) != wheel::RequestError::None)
        return;
    m_cancel = std::make_shared<std::atomic<bool>>(false);
    wheel::WheelOptions options;
    options.limits.time = std::chrono::seconds(m_ui.spnSeconds->value());
    options.cancel = m_cancel.get();
    options.progress = [this](const wheel::SearchProgress& p) {
        QMetaObject::invokeMethod(
            this, [this, p] { showProgress(p); }, Qt::QueuedConnection);
    };
    std::shared_ptr<std::atomic<bool>> cancel = m_cancel;
    m_thread = QThread::create([this, r, options, cancel] {
        const wheel::WheelResult result = wheel::BuildWheel(r, options);
        QMetaObject::invokeMethod(
            this, [this, r, result] { showResult(r, result); }, Qt::QueuedConnection);
    });
    m_ui.prgWheel->setValue(0);
    m_ui.lblResult->setText(QStringLiteral("作成中です…"));
    setRunning(true);
    m_thread->start();
}

void WheelWindow::cmdCancelClicked()
{
    if (m_cancel)
        *m_cancel = true;
    m_ui.lblResult->setText(QStringLiteral("中止しています…"));
}

void WheelWindow::showProgress(wheel::SearchProgress progress)
{
    if (!running())
        return;
    m_ui.prgWheel->setValue(int(progress.fraction * 1000));
    if (progress.bestSize > 0 && !(m_cancel && *m_cancel))
        m_ui.lblResult->setText(QStringLiteral("作成中です… いまの最小: %1枚").arg(progress.bestSize));
}

void WheelWindow::showResult(const wheel::WheelRequest& r, const wheel::WheelResult& result)
{
    stopWorker();
    m_ui.prgWheel->setValue(1000);
    if (result.status == wheel::WheelResult::Status::Built) {
        m_tickets = result.tickets;
        m_shownRequest = r;
        QString text =
            QStringLiteral(
                "%1　%2　当選のしかた %3 通りをすべて調べ、保証を確認しました。　保証が働く確率: %4")
                .arg(Text(wheel::TicketsAndCost(m_tickets.size())), Text(wheel::GuaranteeLabel(r.guarantee)),
                     Text(wheel::GroupDigits(result.verification.checkedDraws)),
                     Text(wheel::PercentText(wheel::GuaranteeChance(r))));
        if (!r.keys.empty())
            text += QStringLiteral("（軸数字がすべて当選した場合）");
        if (result.fromTable)
            text += QStringLiteral("　") + Text(wheel::SourceNote(true));
        if (result.cancelled)
            text = QStringLiteral("中止しました（それまでに見つかった最小の組み合わせです）。") + text;
        m_ui.lblResult->setText(text);
        m_ui.txtTickets->setPlainText(printedLines().mid(2).join(QLatin1Char('\n')));
    } else {
        m_tickets.clear();
        m_ui.txtTickets->clear();
        m_ui.lblResult->setText(result.status == wheel::WheelResult::Status::CancelledEmpty
                                    ? QStringLiteral("中止しました。組み合わせはまだできていませんでした。")
                                    : QStringLiteral("保証を確かめられる組み合わせを作れませんでした。"));
    }
    setRunning(false);
    emit runFinished();
}

void WheelWindow::stopWorker()
{
    if (!m_thread)
        return;
    if (m_cancel)
        *m_cancel = true;
    m_thread->wait();
    delete m_thread;
    m_thread = nullptr;
}

QStringList WheelWindow::printedLines() const
{
    QStringList lines{QStringLiteral("Zentrix Predictor Ver.2.11"), QString()};
    for (std::size_t i = 0; i < m_tickets.size(); ++i)
        lines << TicketLine(int(i) + 1, m_tickets[i]);
    return lines;
}

void WheelWindow::cmdPrintClicked()
{
    if (m_tickets.empty())
        return;
    QPrinter printer(QPrinter::HighResolution);
    if (!PrintDialog::exec(printer, this))
        return;
    // The same document as the results window prints: the header's carriage return gives the
    // empty line.
    const QStringList lines = QStringList{ResultsWindow::PrintHeader()} + printedLines().mid(2);
    if (LinePrinter::PrintDocument(printer, lines) != LinePrinter::Failure::None)
        MessageBox::show(
            this, QStringLiteral("Zentrix"),
            QStringLiteral("組み合わせを最後まで印刷できませんでした。プリンターの状態を確認して下さい。"),
            MessageBox::Icon::Exclamation);
}

void WheelWindow::cmdCopyClicked()
{
    if (!m_tickets.empty())
        QApplication::clipboard()->setText(printedLines().join(QLatin1Char('\n')) + QLatin1Char('\n'));
}

void WheelWindow::setSaving(WheelSaving saving)
{
    m_saving = std::move(saving);
    setRunning(running());
}

std::string WheelWindow::savedNote() const
{
    return WheelNote(m_shownRequest);
}

void WheelWindow::cmdSaveClicked()
{
    if (m_tickets.empty() || running() || !m_saving.database || !m_saving.nextDraw)
        return;
    const NewBatch batch = MakeWheelBatch(m_shownRequest, m_tickets, m_saving.nextDraw(), NowSeconds());
    PredictionStore store(m_saving.database());
    std::int64_t id = 0;
    PredictionsStatus saved = store.open(PredictionStore::Mode::CreateIfMissing);
    if (saved)
        saved = store.save(batch, &id);
    store.close();
    if (!saved) {
        // The wheel stays on screen; only the saving failed.
        const QString why =
            saved.error == PredictionsError::InvalidBatch
                ? QStringLiteral("組み合わせが多すぎるため（%1枚まで）、予想として保存できません。")
                      .arg(qulonglong(kMaxWheelBatchSets))
                : Text(DescribePredictionsError(saved, store.path()));
        MessageBox::show(
            this, QStringLiteral("Zentrix"),
            why + QStringLiteral(
                      "\n組み合わせは保存されていません。必要なら印刷するかコピーして控えて下さい。"),
            MessageBox::Icon::Exclamation);
        return;
    }
    if (m_saving.saved)
        m_saving.saved();
    emit batchSaved(id);
    MessageBox::show(this, QStringLiteral("Zentrix"),
                     QStringLiteral("%1枚の組み合わせを第%2回の予想（予想 No.%3）として保存しました。")
                         .arg(m_tickets.size())
                         .arg(batch.draw)
                         .arg(id),
                     MessageBox::Icon::Information);
}

void WheelWindow::closeEvent(QCloseEvent* event)
{
    stopWorker();
    QWidget::closeEvent(event);
}

WheelWindow* WheelWindow::Open(QWidget* owner, const WheelSaving& saving)
{
    auto* window = owner ? owner->findChild<WheelWindow*>(QString(), Qt::FindDirectChildrenOnly) : nullptr;
    if (!window) {
        window = new WheelWindow(owner);
        window->setAttribute(Qt::WA_DeleteOnClose);
        window->setSaving(saving);
    }
    window->show();
    window->raise();
    window->activateWindow();
    return window;
}

QAction* WheelWindow::AddMenu(QMenuBar& bar, QAction* before, QWidget* owner, WheelSaving saving)
{
    auto* menu = new QMenu(QStringLiteral("ツール(&T)"), &bar);
    menu->setObjectName(QStringLiteral("mnuTools"));
    QAction* item = menu->addAction(QStringLiteral("組み合わせ保証(&W)..."));
    item->setObjectName(QStringLiteral("mnuToolsWheel"));
    QObject::connect(item, &QAction::triggered, owner, [owner, saving] { Open(owner, saving); });
    bar.insertMenu(before, menu);
    return item;
}

} // namespace zentrix::ui
