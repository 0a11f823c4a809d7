// ResultsWindow: frmFlexAns, the grid that shows one generation run's sets, and their printing.
#pragma once

#include <QRect>
#include <QString>
#include <QWidget>
#include <functional>

class QAction;
class QEventLoop;
class QPrinter;
class QPushButton;
class QTableWidget;

namespace zentrix::ui {

/// The window's controls under their design names.
struct ResultsWindowControls
{
    QTableWidget* MSFlexGrid1 = nullptr;
    QPushButton* OK_Button = nullptr;
    QPushButton* PrintButton = nullptr;
};

/**
 * The results window. The grid has 101 rows and 7 columns addressed as the user sees them: row 0
 * is the blank fixed header row, column 0 the fixed label column ("001→" .. "100→"), and rows
 * 1..100, columns 1..6 hold the sets. The fixed row and column are the table's header views, so
 * they stay in place while the sets scroll.
 *
 * A window serves one run: it is created hidden, filled, shown with showModal(), and discarded
 * by its owner once showModal() returns. OK and the close box both close it.
 */
class ResultsWindow : public QWidget
{
    Q_OBJECT

public:
    static constexpr int kRows = 101;
    static constexpr int kColumns = 7;

    /// `printedSetCount` gives the number of set rows to print (the main window's set count); it
    /// is read once per print, after the header. Without it the rows written so far are printed.
    explicit ResultsWindow(std::function<int()> printedSetCount = {});
    ~ResultsWindow() override;

    const ResultsWindowControls& controls() const { return m_controls; }

    /// Writes the text of a cell; cells outside the grid and the corner cell are left alone.
    void setCellText(int row, int col, const QString& text);
    /// The text of a cell as displayed, labels included; empty outside the grid.
    QString cellText(int row, int col) const;

    /// Shows the window application-modal at its opening position, with the focus on the grid,
    /// and returns when the user has closed it.
    void showModal();

    /// The printed line of grid row `row`: its label followed directly by the six cells joined by
    /// " , ".
    QString PrintLine(int row) const;

    /// The printed lines of the selected rows that hold a set, or of every set row when none is
    /// selected, each ending in a line feed.
    QString CopiedLines() const;
    /// Puts CopiedLines() on the clipboard: Ctrl+C on the grid and its context menu's "コピー".
    void CopyRows();

    /// The client area the window opens with: its top-left corner at 934, 131 from the screen's
    /// top-left, 312 x 347 pixels, moved only as far as needed to lie within `available` (on a
    /// small screen a modal window out of sight would leave the program unusable).
    static QRect OpeningGeometry(const QRect& screen, const QRect& available);

    /// The header line of every printed list; the carriage return gives the empty line below it.
    static QString PrintHeader();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void Form_Load();
    void OK_Button_Click();
    void PrintButton_Click();
    bool ShowPrintDialog(QPrinter& printer);
    int printedSetCount() const;

    ResultsWindowControls m_controls;
    std::function<int()> m_printedSetCount;
    int m_lastSetRow = 0;
    QAction* m_copyAction = nullptr;
    QEventLoop* m_modalLoop = nullptr;
};

} // namespace zentrix::ui
