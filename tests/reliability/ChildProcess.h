// ChildProcess: runs a piece of a test in a forked child, so that it can change process-wide
// limits or be killed without taking the test program with it.
#pragma once

#include "store/HistoryEditorView.h"

#include <functional>
#include <string>
#include <vector>

namespace zentrix::test {

/// How a child ended and what it said.
struct ChildOutcome
{
    bool exited = false; ///< ended through _exit
    int exitCode = -1;
    int signal = 0;     ///< the signal that ended it, 0 when it exited
    std::string report; ///< what the body returned: empty when every check in it held
};

/// Runs `body` in a forked child and waits for it. The child leaves with _exit after the body
/// returns (no destructor or leak check of the parent's objects runs twice).
ChildOutcome RunInChild(const std::function<std::string()>& body);

/// Lowers the file-size limit of the calling process to `bytes` and ignores SIGXFSZ, so a write
/// beyond it fails with EFBIG instead of ending the process. Returns false when it cannot.
bool LimitFileSize(long long bytes);

/// A window for the history editor that keeps its texts and the messages it was asked to show.
class RecordedEditorView final : public HistoryEditorView
{
public:
    struct Message
    {
        std::string text;
        MessageIcon icon;
        std::string title;
    };

    std::string texts[8];
    std::vector<Message> messages;
    RecordNo latest = -1; ///< the last Latest the window was told, -1 when never

    std::string fieldText(EditorField field) const override { return texts[static_cast<int>(field)]; }
    void setFieldText(EditorField field, const std::string& text) override
    {
        texts[static_cast<int>(field)] = text;
    }
    void setEnabled(EditorControl, bool) override {}
    void setFieldColour(EditorField, FieldColour) override {}
    void setFocus(EditorField) override {}
    void setStatusText(const std::string&) override {}
    void showMessage(const std::string& text, MessageIcon icon, const std::string& title) override
    {
        messages.push_back({text, icon, title});
    }
    bool isEditModeChecked() const override { return true; }
    void setLatest(RecordNo value) override { latest = value; }

    /// Types a draw into Text1 (the draw number, "" for a new one), Text2(0..5) and Text8.
    void enter(const std::string& draw, const std::vector<std::string>& numbers, const std::string& bonus);
};

} // namespace zentrix::test
