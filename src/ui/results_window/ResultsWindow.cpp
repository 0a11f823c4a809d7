// ResultsWindow: fixed-geometry window with a QTableWidget grid, a print button and an OK button.
#include "ui/results_window/ResultsWindow.h"

#include "store/Loto6.h"
#include "ui/common/AppIcon.h"
#include "ui/common/Fonts.h"
#include "ui/common/MessageBox.h"
#include "ui/common/Twips.h"
#include "ui/results_window/LinePrinter.h"
#include "ui/results_window/PrintDialog.h"
#include "ui/results_window/TmpForm.h"

#include <QAction>
#include <QClipboard>
#include <QCloseEvent>
#include <QEventLoop>
#include <QGuiApplication>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QPrinter>
#include <QPushButton>
#include <QRegularExpression>
#include <QScreen>
#include <QTableWidget>
#include <algorithm>
#include <set>

namespace zentrix::ui {
namespace {

constexpr int kClientWidth = 4680;
constexpr int kClientHeight = 5205;
constexpr QPoint kOpeningPosition(TwipsToPixels(14010), TwipsToPixels(1965));

struct ControlPlacement
{
    const char* name;
    int left, top, width, height;
    const char* caption;
};

// In tab order.
constexpr ControlPlacement kGrid{"MSFlexGrid1", 0, 0, 4695, 4815, nullptr};
constexpr ControlPlacement kOkButton{"OK_Button", 2760, 4920, 1335, 255, "OK"};
constexpr ControlPlacement kPrintButton{"PrintButton", 480, 4920, 1335, 255, "印刷"};

constexpr int kLabelColumnWidth = 800;
constexpr int kNumberColumnWidth = 590;

template <typename T> T* Place(QWidget* parent, const ControlPlacement& place)
{
    auto* widget = new T(parent);
    widget->setObjectName(QString::fromLatin1(place.name));
    widget->setGeometry(TwipsToPixels(place.left), TwipsToPixels(place.top), TwipsToPixels(place.width),
                        TwipsToPixels(place.height));
    return widget;
}

QPushButton* PlaceButton(QWidget* parent, const ControlPlacement& place)
{
    auto* button = Place<QPushButton>(parent, place);
    button->setText(QString::fromUtf8(place.caption));
    // Neither button is the default or the cancel button: Enter and Escape click nothing.
    button->setAutoDefault(false);
    button->setDefault(false);
    return button;
}

/// What a screen reader says for a cell: a number without its leading zero ("03" is 3) and a row
/// label as the set it starts ("001→" is 1組目), so neither is spelt out digit by digit or read
/// with an arrow.
QString SpokenText(const QString& text)
{
    static const QRegularExpression label(QStringLiteral("^0*([0-9]+)→$"));
    static const QRegularExpression number(QStringLiteral("^0*([0-9]+)$"));
    if (const QRegularExpressionMatch m = label.match(text); m.hasMatch())
        return m.captured(1) + QStringLiteral("組目");
    if (const QRegularExpressionMatch m = number.match(text); m.hasMatch())
        return m.captured(1);
    return text;
}

void SetItemText(QTableWidgetItem* item, const QString& text)
{
    item->setText(text);
    item->setData(Qt::AccessibleTextRole, SpokenText(text));
}

QTableWidgetItem* CentredItem(const QString& text = {})
{
    auto* item = new QTableWidgetItem;
    SetItemText(item, text);
    item->setTextAlignment(Qt::AlignCenter);
    return item;
}

} // namespace

ResultsWindow::ResultsWindow(std::function<int()> printedSetCount)
    : QWidget(nullptr, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                           Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint)
    , m_printedSetCount(std::move(printedSetCount))
{
    setObjectName(QStringLiteral("frmFlexAns"));
    setWindowTitle(QStringLiteral("Zentrix -予想結果"));
    setWindowIcon(AppIcon());
    setFont(DesignFont(kGothicFace, 9));
    resize(TwipsToPixels(kClientWidth), TwipsToPixels(kClientHeight));

    m_controls.MSFlexGrid1 = Place<QTableWidget>(this, kGrid);
    m_controls.MSFlexGrid1->setAccessibleName(QStringLiteral("予想結果"));
    m_controls.OK_Button = PlaceButton(this, kOkButton);
    m_controls.PrintButton = PlaceButton(this, kPrintButton);
    setTabOrder(m_controls.MSFlexGrid1, m_controls.OK_Button);
    setTabOrder(m_controls.OK_Button, m_controls.PrintButton);

    connect(m_controls.OK_Button, &QPushButton::clicked, this, &ResultsWindow::OK_Button_Click);
    connect(m_controls.PrintButton, &QPushButton::clicked, this, &ResultsWindow::PrintButton_Click);

    // Copying the sets as printed lines: Ctrl+C on the grid, or its context menu.
    m_copyAction = new QAction(QStringLiteral("コピー(&C)"), m_controls.MSFlexGrid1);
    m_copyAction->setObjectName(QStringLiteral("actCopy"));
    m_copyAction->setShortcut(QKeySequence::Copy);
    m_copyAction->setShortcutContext(Qt::WidgetShortcut);
    m_controls.MSFlexGrid1->addAction(m_copyAction);
    m_controls.MSFlexGrid1->setContextMenuPolicy(Qt::ActionsContextMenu);
    connect(m_copyAction, &QAction::triggered, this, &ResultsWindow::CopyRows);

    Form_Load();
}

ResultsWindow::~ResultsWindow() = default;

void ResultsWindow::Form_Load()
{
    QTableWidget* grid = m_controls.MSFlexGrid1;
    grid->setRowCount(kRows - 1);
    grid->setColumnCount(kColumns - 1);

    QHeaderView* fixedRow = grid->horizontalHeader();
    QHeaderView* fixedColumn = grid->verticalHeader();
    const int rowHeight = std::max(TwipsToPixels(240), grid->fontMetrics().height() + 4);
    for (QHeaderView* header : {fixedRow, fixedColumn}) {
        header->setMinimumSectionSize(0);
        header->setSectionResizeMode(QHeaderView::Fixed);
        header->setDefaultAlignment(Qt::AlignCenter);
        header->setHighlightSections(false);
    }
    fixedRow->setDefaultSectionSize(TwipsToPixels(kNumberColumnWidth));
    fixedRow->setFixedHeight(rowHeight);
    fixedColumn->setDefaultSectionSize(rowHeight);
    fixedColumn->setFixedWidth(TwipsToPixels(kLabelColumnWidth));

    // Row 0 carries no captions; without items of its own the table would number the columns.
    for (int col = 1; col < kColumns; ++col)
        grid->setHorizontalHeaderItem(col - 1, CentredItem());
    for (int row = 1; row < kRows; ++row) {
        grid->setVerticalHeaderItem(row - 1, CentredItem(QString::fromStdString(RowLabel(row))));
        for (int col = 1; col < kColumns; ++col)
            grid->setItem(row - 1, col - 1, CentredItem());
    }

    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->setTabKeyNavigation(false);
    grid->setCornerButtonEnabled(false);
    grid->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    grid->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    grid->setFocus();
}

void ResultsWindow::setCellText(int row, int col, const QString& text)
{
    QTableWidget* grid = m_controls.MSFlexGrid1;
    if (row < 0 || row >= kRows || col < 0 || col >= kColumns || (row == 0 && col == 0))
        return;
    if (row == 0)
        SetItemText(grid->horizontalHeaderItem(col - 1), text);
    else if (col == 0)
        SetItemText(grid->verticalHeaderItem(row - 1), text);
    else {
        SetItemText(grid->item(row - 1, col - 1), text);
        m_lastSetRow = std::max(m_lastSetRow, row);
    }
}

QString ResultsWindow::cellText(int row, int col) const
{
    const QTableWidget* grid = m_controls.MSFlexGrid1;
    if (row < 0 || row >= kRows || col < 0 || col >= kColumns || (row == 0 && col == 0))
        return {};
    const QTableWidgetItem* item = row == 0   ? grid->horizontalHeaderItem(col - 1)
                                   : col == 0 ? grid->verticalHeaderItem(row - 1)
                                              : grid->item(row - 1, col - 1);
    return item ? item->text() : QString();
}

QRect ResultsWindow::OpeningGeometry(const QRect& screen, const QRect& available)
{
    QRect client(screen.topLeft() + kOpeningPosition,
                 QSize(TwipsToPixels(kClientWidth), TwipsToPixels(kClientHeight)));
    if (available.isValid() && !available.contains(client)) {
        client.moveRight(std::min(client.right(), available.right()));
        client.moveBottom(std::min(client.bottom(), available.bottom()));
        client.moveLeft(std::max(client.left(), available.left()));
        client.moveTop(std::max(client.top(), available.top()));
    }
    return client;
}

void ResultsWindow::showModal()
{
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        setGeometry(OpeningGeometry(screen->geometry(), screen->availableGeometry()));
    setWindowModality(Qt::ApplicationModal);
    show();
    raise();
    activateWindow();
    m_controls.MSFlexGrid1->setFocus();

    QEventLoop loop;
    m_modalLoop = &loop;
    loop.exec(QEventLoop::DialogExec);
    m_modalLoop = nullptr;
}

void ResultsWindow::closeEvent(QCloseEvent* event)
{
    event->accept();
    if (m_modalLoop)
        m_modalLoop->quit();
}

void ResultsWindow::OK_Button_Click()
{
    close();
}

QString ResultsWindow::PrintHeader()
{
    return QString::fromLatin1(kPrintHeader.data(), static_cast<qsizetype>(kPrintHeader.size())) +
           QLatin1Char('\r');
}

QString ResultsWindow::PrintLine(int row) const
{
    QString line = cellText(row, 0) + cellText(row, 1);
    for (int col = 2; col < kColumns; ++col)
        line += QStringLiteral(" , ") + cellText(row, col);
    return line;
}

QString ResultsWindow::CopiedLines() const
{
    std::set<int> rows;
    for (const QModelIndex& index : m_controls.MSFlexGrid1->selectionModel()->selectedIndexes())
        rows.insert(index.row() + 1);
    if (rows.empty()) {
        for (int row = 1; row <= printedSetCount(); ++row)
            rows.insert(row);
    }
    QString text;
    for (const int row : rows) {
        if (!cellText(row, 1).isEmpty())
            text += PrintLine(row) + QLatin1Char('\n');
    }
    return text;
}

void ResultsWindow::CopyRows()
{
    if (const QString text = CopiedLines(); !text.isEmpty())
        QGuiApplication::clipboard()->setText(text);
}

int ResultsWindow::printedSetCount() const
{
    const int count = m_printedSetCount ? m_printedSetCount() : m_lastSetRow;
    return std::clamp(count, 0, kRows - 1);
}

bool ResultsWindow::ShowPrintDialog(QPrinter& printer)
{
    return PrintDialog::exec(printer, this);
}

void ResultsWindow::PrintButton_Click()
{
    QPrinter printer(QPrinter::HighResolution);
    if (!ShowPrintDialog(printer))
        return;

    LinePrinter out(printer);
    if (out.begin()) {
        // Every line passes through TmpForm's Text1 and is printed from what it holds.
        QLineEdit* staging = TmpForm::Load().Text1;
        staging->setText(PrintHeader());
        bool printing = out.printLine(staging->text());
        const int count = printedSetCount();
        for (int row = 1; printing && row <= count; ++row) {
            staging->setText(PrintLine(row));
            printing = out.printLine(staging->text());
        }
        out.end();
    }
    if (out.failure() != LinePrinter::Failure::None)
        MessageBox::show(this, QStringLiteral("Zentrix"), LinePrinter::DescribeFailure(out.failure()),
                         MessageBox::Icon::Exclamation);
}

} // namespace zentrix::ui
