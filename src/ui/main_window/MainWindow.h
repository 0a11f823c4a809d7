// MainWindow: frmMain, the program's main window: settings, history editor, progress and status.
#pragma once

#include "generator/GenerationSettings.h"
#include "store/DrawRecord.h"
#include "store/StoreStatus.h"
#include "ui/main_window/MainWindowControls.h"

#include <QHash>
#include <QMainWindow>
#include <QString>
#include <filesystem>
#include <memory>

namespace zentrix {
class HistoryFile;
}

namespace zentrix::ui {

class GenerationRunner;
class HistoryEditorBinding;
class HistoryTransfer;
class PredictionsWindow;

/**
 * The main window. It holds the controls that a generation run reads its settings from, keeps
 * them consistent with each other (the settings interlocks), explains them in the status line
 * while the pointer moves over them, and carries the File and Help menus.
 *
 * The window never owns the history file; it opens it in load() and the File menu's exit item
 * (or the close box) closes it as the program ends.
 */
class MainWindow : public QMainWindow
{
    Q_OBJECT

public:
    explicit MainWindow(HistoryFile& history, QWidget* parent = nullptr);
    ~MainWindow() override;

    /// The load step: selects optData(0) (running the option rule), disables sldCurrentData,
    /// selects CarryNumber(1), checks chkConsecut, opens the history and shows Latest + 1 in
    /// Text9. Returns the store's failure, if any, for the caller to report.
    StoreStatus load();

    MainWindowControls& controls() { return m_ui; }
    const MainWindowControls& controls() const { return m_ui; }
    HistoryFile& history() { return m_history; }
    /// What cmdGen runs.
    GenerationRunner& generationRunner() { return *m_runner; }

    /// The nine settings of a generation run, read from the controls' values whether the
    /// interlocks have disabled or hidden them or not.
    GenerationSettings readSettings() const;

    /// The number of the latest stored draw, mirrored in Text9 as Latest + 1.
    RecordNo Latest() const { return m_latest; }
    void setLatest(RecordNo latest);

    /// Sets the one-line status text (StatusBar2). The last writer wins.
    void setStatusText(const QString& text);
    QString statusText() const;

    /// The File menu's items: every index closes the history and ends the program.
    void mnuFileItem_Click(int index);
    /// The 予想履歴 item: opens the window of saved predictions (created on first use, then raised).
    void mnuPredictionsItem_Click();
    /// The 予想履歴 window once it has been opened, nullptr before.
    PredictionsWindow* predictionsWindow() const { return m_predictions; }
    /// The predictions database, beside the history file.
    std::filesystem::path predictionsDatabase() const;

    /// The Help menu's items: 2 opens the usage notice, 3 the version dialog, each modally until
    /// it is closed; the others do nothing.
    void mnuHelpItem_Click(int index);

signals:
    /// A draw was written or deleted (and at the load step): Latest may have changed.
    void historyChanged();
    /// A generation run saved a batch.
    void predictionsChanged();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void buildMenus();
    void connectInterlocks();
    void installHints();
    void connectSetCountFeedback();
    void showSetCount();
    void showHint(QWidget* receiver, const QPoint& position);

    // Settings interlocks.
    void chkData_Click();
    void optData_Click(int index);
    void chkNum_Click();
    void sldNum_Change();

    HistoryFile& m_history;
    MainWindowControls m_ui;
    RecordNo m_latest = 0;
    QHash<const QWidget*, QString> m_hints;
    std::unique_ptr<HistoryEditorBinding> m_editorBinding;
    std::unique_ptr<GenerationRunner> m_runner;
    std::unique_ptr<HistoryTransfer> m_transfer;
    PredictionsWindow* m_predictions = nullptr;
};

} // namespace zentrix::ui
