// MainWindow: builds frmMain, runs its load step, its settings interlocks, hints and menus.
#include "ui/main_window/MainWindow.h"

#include "generator/SetFilter.h"
#include "predictions/PredictionStore.h"
#include "store/HistoryFile.h"
#include "ui/common/AppIcon.h"
#include "ui/common/Fonts.h"
#include "ui/common/ProgramEnd.h"
#include "ui/dialogs/AboutDialog.h"
#include "ui/dialogs/NoticeDialog.h"
#include "ui/main_window/GenerationRunner.h"
#include "ui/main_window/HistoryEditorBinding.h"
#include "ui/main_window/HistoryTransfer.h"
#include "ui/main_window/MainWindowLayout.h"
#include "ui/predictions_window/PredictionsWindow.h"
#include "ui/wheel_window/WheelWindow.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QStyle>
#include <QToolTip>
#include <array>

namespace zentrix::ui {
namespace {

/// Text3 by the number of odd numbers a set holds (even : odd).
constexpr std::array<const char*, 7> kParityRatios{"6 : 0", "5 : 1", "4 : 2", "3 : 3",
                                                   "2 : 4", "1 : 5", "0 : 6"};

bool IsOn(const QCheckBox* box)
{
    return box->checkState() == Qt::Checked;
}

} // namespace

MainWindow::MainWindow(HistoryFile& history, QWidget* parent)
    : QMainWindow(parent)
    , m_history(history)
{
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QStringLiteral("Zentrix - Ver2.2.2"));
    setWindowIcon(AppIcon());
    setFont(DesignFont(kGothicFace, 9));

    auto* client = new QWidget(this);
    client->setObjectName(QStringLiteral("clientArea"));
    client->setFixedSize(kMainClientSize);
    setCentralWidget(client);
    BuildMainWindowControls(client, m_ui);
    buildMenus();
    // Fixed border: the window is exactly the menu bar over the client area and cannot be resized.
    layout()->setSizeConstraint(QLayout::SetFixedSize);

    connectInterlocks();
    installHints();
    connectSetCountFeedback();

    // The collaborators that give the history editor and cmdGen their behaviour.
    m_editorBinding = std::make_unique<HistoryEditorBinding>(*this);
    m_runner = std::make_unique<GenerationRunner>(*this);
    m_transfer = std::make_unique<HistoryTransfer>(*this);
}

MainWindow::~MainWindow() = default;

StoreStatus MainWindow::load()
{
    m_ui.optData[0]->setChecked(true);
    optData_Click(0); // selecting the option runs its rule even when it was selected already
    m_ui.sldCurrentData->setEnabled(false);
    m_ui.CarryNumber[1]->setChecked(true);
    m_ui.chkConsecut->setChecked(true);
    m_ui.chkConsecut->setFocus();

    const StoreStatus opened = m_history.OpenHistory();
    if (opened)
        setLatest(m_history.Latest());
    return opened;
}

GenerationSettings MainWindow::readSettings() const
{
    GenerationSettings settings;
    settings.setCount = m_ui.sldCount->value();
    settings.weightingOn = IsOn(m_ui.chkData);
    settings.weightBasis =
        m_ui.optData[0]->isChecked() ? WeightBasis::TotalAppearances : WeightBasis::TimeAxis;
    settings.totalLevel = m_ui.sldData->value();
    settings.timeAxisLevel = m_ui.sldCurrentData->value();
    settings.parityOn = IsOn(m_ui.chkNum);
    settings.parityLevel = m_ui.sldNum->value();
    settings.carryCount = m_ui.CarryNumber[0]->isChecked() ? 0 : m_ui.CarryNumber[1]->isChecked() ? 1 : 2;
    settings.consecutiveOn = IsOn(m_ui.chkConsecut);
    return settings;
}

void MainWindow::setLatest(RecordNo latest)
{
    m_latest = latest;
    m_ui.Text9->setText(QString::number(latest + 1));
    emit historyChanged();
}

void MainWindow::setStatusText(const QString& text)
{
    m_ui.StatusBar2->setText(text);
}

QString MainWindow::statusText() const
{
    return m_ui.StatusBar2->text();
}

// --- Settings interlocks -------------------------------------------------------------------------

void MainWindow::connectInterlocks()
{
    connect(m_ui.chkData, &QCheckBox::toggled, this, &MainWindow::chkData_Click);
    connect(m_ui.optDataGroup, &QButtonGroup::idToggled, this, [this](int id, bool checked) {
        if (checked)
            optData_Click(id);
    });
    connect(m_ui.chkNum, &QCheckBox::toggled, this, &MainWindow::chkNum_Click);
    connect(m_ui.sldNum, &QSlider::valueChanged, this, &MainWindow::sldNum_Change);
}

void MainWindow::chkData_Click()
{
    switch (m_ui.chkData->checkState()) {
    case Qt::Checked:
        m_ui.optData[0]->setEnabled(true);
        m_ui.optData[1]->setEnabled(true);
        optData_Click(0);
        break;
    case Qt::Unchecked:
        m_ui.optData[0]->setEnabled(false);
        m_ui.optData[1]->setEnabled(false);
        m_ui.sldData->setEnabled(false);
        m_ui.sldCurrentData->setEnabled(false);
        break;
    case Qt::PartiallyChecked:
        break;
    }
}

void MainWindow::optData_Click(int /*index*/)
{
    const bool byTotal = m_ui.optData[0]->isChecked();
    m_ui.sldData->setEnabled(byTotal);
    m_ui.sldCurrentData->setEnabled(!byTotal);
}

void MainWindow::chkNum_Click()
{
    switch (m_ui.chkNum->checkState()) {
    case Qt::Checked: {
        m_ui.sldNum->setEnabled(true);
        const int level = m_ui.sldNum->value();
        if (level == 1 || level == 7)
            m_ui.chkConsecut->hide();
        break;
    }
    case Qt::Unchecked:
        m_ui.sldNum->setEnabled(false);
        m_ui.chkConsecut->show();
        break;
    case Qt::PartiallyChecked:
        break;
    }
}

void MainWindow::sldNum_Change()
{
    const int level = m_ui.sldNum->value();
    const int evens = RequiredEvenCount(level);
    m_ui.Text3->setText(QString::fromLatin1(kParityRatios[static_cast<std::size_t>(kSetSize - evens)]));
    // At the extremes every number has the same parity, so a consecutive pair is impossible.
    m_ui.chkConsecut->setHidden(IsSingleParityLevel(level));
}

// --- Set-count feedback ----------------------------------------------------------------------------

// The slider's scale marks only say 1, 50 and 100: its value is shown in its tooltip, and next to
// the handle while the user drags it or moves it with the keys.
void MainWindow::connectSetCountFeedback()
{
    connect(m_ui.sldCount, &QSlider::valueChanged, this, &MainWindow::showSetCount);
    connect(m_ui.sldCount, &QSlider::sliderPressed, this, &MainWindow::showSetCount);
    showSetCount();
}

void MainWindow::showSetCount()
{
    QSlider* slider = m_ui.sldCount;
    const QString text = QStringLiteral("%1組").arg(slider->value());
    slider->setToolTip(text);
    if (!slider->isSliderDown() && !slider->hasFocus())
        return;
    const int handle = QStyle::sliderPositionFromValue(slider->minimum(), slider->maximum(), slider->value(),
                                                       slider->width());
    QToolTip::showText(slider->mapToGlobal(QPoint(handle, slider->height())), text, slider);
}

// --- Status-bar hints ----------------------------------------------------------------------------

void MainWindow::installHints()
{
    const QString blank = QStringLiteral(" ");
    m_hints = {
        {m_ui.Carry, QStringLiteral("発生を許可するキャリーの個数を選択します。")},
        {m_ui.Frame3, QStringLiteral("1回で生成する予想番号の数を1組～100組の間で選択できます。")},
        {m_ui.chkNum, QStringLiteral("チェックを入れると、偶数／奇数の偏りが有効になります。")},
        {m_ui.sldNum, QStringLiteral("生成する予想番号を7段階で、偶数か奇数に偏らせることができます。")},
        {m_ui.chkData, QStringLiteral("チェックを入れると、データ反映度の重み付けが有効になります。")},
        {m_ui.optData[0],
         QStringLiteral("今までの出現回数の多い順・少ない順に予想番号を偏らせることができます。")},
        {m_ui.optData[1],
         QStringLiteral("今までの出現回数の多い順・少ない順に予想番号を偏らせることができます。")},
        {m_ui.sldData, QStringLiteral("生成する予想番号を、過去の出現回数の多い数字か少ない数字の"
                                      "どちらかに偏らせることができます。")},
        {m_ui.chkConsecut, QStringLiteral("チェックを入れると連番が発生します")},
        {m_ui.cmdGen, QStringLiteral("予想番号を生成します。")},
        {m_ui.Check1, QStringLiteral("チェックを入れると過去の当選データを編集できます。")},
        {m_ui.Reading, QStringLiteral("抽選回数で指定した回の当選データを読み込みます。")},
        {m_ui.Writing,
         QStringLiteral("指定した回の当選データとして、現在入力されている番号を書き込みます。")},
        {m_ui.Delete, QStringLiteral("最新回の当選データを削除します。")},
        {centralWidget(), blank},
        {m_ui.Frame1, blank},
        {m_ui.fraOption, blank},
    };

    // Every widget of the client area tracks the mouse, so that a move over a control that does not
    // take it (a label, a disabled slider) travels on to its container.
    QWidget* client = centralWidget();
    QList<QWidget*> watched = client->findChildren<QWidget*>();
    watched.prepend(client);
    for (QWidget* widget : watched) {
        widget->setMouseTracking(true);
        widget->installEventFilter(this);
    }
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseMove && watched->isWidgetType())
        showHint(static_cast<QWidget*>(watched), static_cast<QMouseEvent*>(event)->position().toPoint());
    return QMainWindow::eventFilter(watched, event);
}

// A move reaches the control under the pointer first and may then travel up through its
// containers. The pointer counts as over the deepest visible control at its position or, when that
// one is disabled, over its nearest enabled container; only that control's hint applies. A disabled
// control is resolved at once, since Qt's disabled buttons swallow the move instead of passing it up.
void MainWindow::showHint(QWidget* receiver, const QPoint& position)
{
    QWidget* over = receiver->childAt(position);
    if (!over)
        over = receiver;
    while (over && !over->isEnabled())
        over = over->parentWidget();
    // An enabled control inside the receiver saw this move first and has dealt with it.
    if (!over || (over != receiver && receiver->isAncestorOf(over)))
        return;
    const auto hint = m_hints.constFind(over);
    if (hint != m_hints.cend())
        setStatusText(*hint);
}

// --- Menus ---------------------------------------------------------------------------------------

void MainWindow::buildMenus()
{
    m_ui.mnuFile = menuBar()->addMenu(QStringLiteral("ファイル(&F)"));
    m_ui.mnuFile->setObjectName(QStringLiteral("mnuFile"));
    m_ui.mnuFileItem[0] = m_ui.mnuFile->addAction(QStringLiteral("終了(&X)"));

    // The saved predictions have a menu of their own, between the design's two.
    m_ui.mnuPredictions = menuBar()->addMenu(QStringLiteral("予想(&Y)"));
    m_ui.mnuPredictions->setObjectName(QStringLiteral("mnuPredictions"));
    m_ui.mnuPredictionsItem = m_ui.mnuPredictions->addAction(QStringLiteral("予想履歴(&R)..."));
    m_ui.mnuPredictionsItem->setObjectName(QStringLiteral("mnuPredictionsItem"));
    connect(m_ui.mnuPredictionsItem, &QAction::triggered, this, &MainWindow::mnuPredictionsItem_Click);

    m_ui.mnuHelp = menuBar()->addMenu(QStringLiteral("ヘルプ(&H)"));
    m_ui.mnuHelp->setObjectName(QStringLiteral("mnuHelp"));
    m_ui.mnuHelpItem[0] = m_ui.mnuHelp->addAction(QStringLiteral("ヘルプ(&H)"));
    m_ui.mnuHelpItem[0]->setEnabled(false);
    m_ui.mnuHelpItem[1] = m_ui.mnuHelp->addSeparator();
    m_ui.mnuHelpItem[2] = m_ui.mnuHelp->addAction(QStringLiteral("免責次項(&M)"));
    m_ui.mnuHelpItem[3] = m_ui.mnuHelp->addAction(QStringLiteral("バージョン情報(&V)"));
    // Tools of our own go between the two menus of the original program.
    WheelSaving saving;
    saving.database = [this] { return predictionsDatabase(); };
    saving.nextDraw = [this] { return int(m_history.Latest()) + 1; };
    saving.saved = [this] { emit predictionsChanged(); };
    WheelWindow::AddMenu(*menuBar(), m_ui.mnuHelp->menuAction(), this, saving);

    for (int i = 0; i < int(m_ui.mnuFileItem.size()); ++i) {
        m_ui.mnuFileItem[i]->setObjectName(QStringLiteral("mnuFileItem_%1").arg(i));
        connect(m_ui.mnuFileItem[i], &QAction::triggered, this, [this, i] { mnuFileItem_Click(i); });
    }
    for (int i = 0; i < int(m_ui.mnuHelpItem.size()); ++i) {
        m_ui.mnuHelpItem[i]->setObjectName(QStringLiteral("mnuHelpItem_%1").arg(i));
        connect(m_ui.mnuHelpItem[i], &QAction::triggered, this, [this, i] { mnuHelpItem_Click(i); });
    }
}

void MainWindow::mnuFileItem_Click(int /*index*/)
{
    EndProgram(m_history);
}

std::filesystem::path MainWindow::predictionsDatabase() const
{
    return PredictionStore::PathBeside(m_history.Path());
}

void MainWindow::mnuPredictionsItem_Click()
{
    if (!m_predictions) {
        m_predictions = new PredictionsWindow(m_history, predictionsDatabase(), this);
        connect(this, &MainWindow::historyChanged, m_predictions, &PredictionsWindow::refresh);
        connect(this, &MainWindow::predictionsChanged, m_predictions, &PredictionsWindow::refresh);
    } else {
        m_predictions->refresh();
    }
    m_predictions->show();
    m_predictions->raise();
    m_predictions->activateWindow();
}

void MainWindow::mnuHelpItem_Click(int index)
{
    // Each opening builds the dialog afresh; with no owner it is application-modal, so the main
    // window takes no input until it closes.
    switch (index) {
    case 2: {
        NoticeDialog notice;
        notice.exec();
        break;
    }
    case 3: {
        AboutDialog about;
        about.exec();
        break;
    }
    default:
        break;
    }
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    // The close box ends the program like the exit item; the history is closed on the way out.
    event->accept();
    EndProgram(m_history);
}

} // namespace zentrix::ui
