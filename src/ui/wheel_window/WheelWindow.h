// WheelWindow: 組み合わせ保証, a wheel with a proved guarantee for the numbers the player picks.
#pragma once

#include "wheel/WheelBuilder.h"

#include <QWidget>
#include <array>
#include <atomic>
#include <filesystem>
#include <functional>
#include <memory>

class QComboBox;
class QLabel;
class QMenuBar;
class QAction;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QSpinBox;
class QThread;

namespace zentrix::ui {

/// The window's controls, by the names they carry as objectName.
struct WheelWindowControls
{
    std::array<QPushButton*, 44> cmdNumber{}; ///< [1..43]; [0] unused
    QComboBox* cboGuarantee = nullptr;
    QSpinBox* spnSeconds = nullptr;
    QLabel* lblPicks = nullptr;
    QLabel* lblExpected = nullptr;
    QPushButton* cmdClear = nullptr;
    QPushButton* cmdRun = nullptr;
    QPushButton* cmdCancel = nullptr;
    QProgressBar* prgWheel = nullptr;
    QLabel* lblResult = nullptr;
    QPlainTextEdit* txtTickets = nullptr;
    QPushButton* cmdPrint = nullptr;
    QPushButton* cmdCopy = nullptr;
    QPushButton* cmdSave = nullptr;
};

/// Where 予想として保存 puts a wheel; asked at the moment of saving, so it follows the history.
struct WheelSaving
{
    std::function<std::filesystem::path()> database; ///< the predictions database; empty: no saving
    std::function<int()> nextDraw;                   ///< the draw the tickets are for: Latest + 1
    std::function<void()> saved;                     ///< told after a batch was saved (may be empty)
};

/**
 * A number button cycles through not picked, picked and key number (a picked number that every
 * ticket holds). The guarantee is chosen in players' words; before a run the window shows the
 * best published size where one is known and the lower bound. A run searches on a worker thread
 * with a progress bar and can be cancelled at any time (a cancelled run keeps the best proved
 * wheel found so far). The result is shown, printed and copied in the printed format of the
 * results window, and saved as one batch of predictions for the next draw.
 */
class WheelWindow : public QWidget
{
    Q_OBJECT

public:
    enum class Mark
    {
        None,
        Picked,
        Key,
    };

    explicit WheelWindow(QWidget* parent = nullptr);
    ~WheelWindow() override;

    WheelWindowControls& controls() { return m_ui; }
    Mark mark(int number) const { return m_marks[std::size_t(number)]; }
    /// The request the controls describe now.
    wheel::WheelRequest request() const;
    bool running() const { return m_thread != nullptr; }
    /// The shown wheel, empty before the first run.
    const std::vector<wheel::Ticket>& tickets() const { return m_tickets; }
    /// The printed document: the header line, an empty line and one line per ticket.
    QStringList printedLines() const;
    /// Offers 予想として保存 with this target (the button stays disabled without one).
    void setSaving(WheelSaving saving);
    /// How the saved batch describes the shown wheel: its guarantee and the numbers.
    std::string savedNote() const;

    /// Opens the window (one per owner), raising it if it is already open.
    static WheelWindow* Open(QWidget* owner, const WheelSaving& saving = {});
    /// Adds the menu "ツール(&T)" with the item "組み合わせ保証(&W)..." before `before` in `bar`.
    static QAction* AddMenu(QMenuBar& bar, QAction* before, QWidget* owner, WheelSaving saving = {});

signals:
    void runFinished();
    /// A batch was saved with this number.
    void batchSaved(qint64 id);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void build();
    void cmdNumberClicked(int number);
    void refreshExpectation();
    void cmdClearClicked();
    void cmdRunClicked();
    void cmdCancelClicked();
    void cmdPrintClicked();
    void cmdCopyClicked();
    void cmdSaveClicked();
    void showProgress(wheel::SearchProgress progress);
    void showResult(const wheel::WheelRequest& request, const wheel::WheelResult& result);
    void setRunning(bool running);
    void stopWorker();

    WheelWindowControls m_ui;
    std::array<Mark, 44> m_marks{};
    std::vector<wheel::Ticket> m_tickets;
    wheel::WheelRequest m_shownRequest; ///< the request of the shown wheel
    WheelSaving m_saving;
    QThread* m_thread = nullptr;
    std::shared_ptr<std::atomic<bool>> m_cancel;
};

} // namespace zentrix::ui
