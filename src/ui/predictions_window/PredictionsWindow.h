// PredictionsWindow: 予想履歴, the saved batches with their prize tiers, from the main window's menu.
#pragma once

#include "generator/DrawTable.h"
#include "predictions/PredictionBatch.h"

#include <QWidget>
#include <filesystem>
#include <functional>
#include <optional>

class QLabel;
class QPushButton;
class QSpinBox;
class QTableView;
class QTableWidget;

namespace zentrix {
class HistoryFile;
}

namespace zentrix::ui {

class BatchListModel;

/// The window's controls by objectName.
struct PredictionsWindowControls
{
    QSpinBox* spnDraw = nullptr;      ///< filter by predicted draw; 0 shows all ("すべて")
    QTableView* lstBatches = nullptr; ///< the batches, newest first
    QLabel* lblTotals = nullptr;      ///< sets, cost, tiers and 5等 prize over the scored batches
    QLabel* lblBatch = nullptr;       ///< the opened batch: its draw and winning numbers
    QTableWidget* grdSets = nullptr;  ///< the opened batch's sets, matched numbers marked, tiers
    QLabel* lblMessage = nullptr;     ///< why the store cannot be read, when it cannot
    QPushButton* cmdPrint = nullptr;
    QPushButton* cmdCopy = nullptr;
    QPushButton* cmdExport = nullptr;
    QPushButton* cmdDelete = nullptr;
    QPushButton* cmdClose = nullptr;
};

/**
 * Lists the batches of the predictions database beside the history file, scored against the
 * open history each time it refreshes (on opening, after a run saved a batch, after a draw was
 * written or deleted). Selecting a batch opens its sets; the opened batch can be printed in the
 * results window's printed format, copied as printed lines, exported as CSV (a temporary file
 * renamed into place) or deleted after a question.
 *
 * A database that cannot be read is reported once in the window and left as it is.
 */
class PredictionsWindow : public QWidget
{
    Q_OBJECT

public:
    PredictionsWindow(HistoryFile& history, std::filesystem::path database, QWidget* parent = nullptr);
    ~PredictionsWindow() override;

    const PredictionsWindowControls& controls() const { return m_ui; }
    BatchListModel& model() { return *m_model; }

    /// Rereads the batches and the history; keeps the opened batch open when it is still there.
    void refresh();
    /// Opens the batch shown in list row `row` (nothing for a row outside the list).
    void openRow(int row);
    /// The opened batch, if any.
    const std::optional<Batch>& openedBatch() const { return m_opened; }

    /// The printed lines of the selected sets (all when none is selected), each ending in "\n".
    QString CopiedLines() const;

    void cmdPrint_Click();
    void cmdCopy_Click();
    void cmdExport_Click();
    void cmdDelete_Click();

    /// Test seams: the file name the CSV goes to (empty: cancelled), and the answer to the
    /// question before a delete. Pass {} to restore the real dialogs.
    static void setSaveFileNameProvider(std::function<QString(const QString& suggested)> provider);
    static void setConfirmation(std::function<bool(const QString& question)> answer);

private:
    void showBatch();
    void updateButtons();
    bool loadHistory();

    HistoryFile& m_history;
    std::filesystem::path m_database;
    PredictionsWindowControls m_ui;
    BatchListModel* m_model = nullptr;
    DrawTable m_draws;
    std::optional<Batch> m_opened;
};

} // namespace zentrix::ui
