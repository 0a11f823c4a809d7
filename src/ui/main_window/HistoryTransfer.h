// HistoryTransfer: the File menu's items for moving results in and out of the history: import a
// results CSV, export the stored draws as CSV, and show where the data file is.
#pragma once

#include <QObject>
#include <QString>

class QAction;

namespace zentrix::ui {

class MainWindow;

/**
 * Adds three items to the main window's File menu, above its exit item and apart from the
 * design's indexed group (whose every index ends the program):
 * - 当選番号の取り込み(&I)…: reads a results CSV with the same engine as `zentrix-cli import`,
 *   shows what it found and asks before writing; the write replaces the whole file at once.
 * - 当選番号の書き出し(&E)…: writes the stored draws as a CSV for spreadsheet programs.
 * - データファイルの情報(&D)…: the data file's full path and how many draws it holds.
 */
class HistoryTransfer : public QObject
{
    Q_OBJECT

public:
    explicit HistoryTransfer(MainWindow& window);

    QAction* importAction() const { return m_import; }
    QAction* exportAction() const { return m_export; }
    QAction* dataFileAction() const { return m_dataFile; }

    void importResults();
    void exportResults();
    void showDataFile();

    /// The data file's full path, as every dialog names it.
    QString dataFilePath() const;
    /// "/home/u/Loto6data.dt（2037回分）".
    QString dataFileSummary() const;

private:
    MainWindow& m_window;
    QAction* m_import = nullptr;
    QAction* m_export = nullptr;
    QAction* m_dataFile = nullptr;
};

} // namespace zentrix::ui
