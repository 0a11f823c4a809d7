// RecordingEditorView: a window for the history editor that keeps the state a window would have
// and logs every call in order. Header-only and without GoogleTest, so the fuzz targets use it too.
#pragma once

#include "store/HistoryEditorView.h"

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace zentrix::test {

inline const char* NameOf(EditorField field)
{
    static const char* const names[] = {"Text1",    "Text2(0)", "Text2(1)", "Text2(2)",
                                        "Text2(3)", "Text2(4)", "Text2(5)", "Text8"};
    return names[static_cast<int>(field)];
}

inline const char* NameOf(EditorControl control)
{
    static const char* const buttons[] = {"Reading", "Writing", "Delete"};
    return IsFieldControl(control) ? NameOf(FieldOf(control))
                                   : buttons[static_cast<int>(control) - kEditorFieldCount];
}

inline const char* NameOf(FieldColour colour)
{
    static const char* const names[] = {"window", "face", "highlight"};
    return names[static_cast<int>(colour)];
}

class RecordingEditorView final : public HistoryEditorView
{
public:
    struct Message
    {
        std::string text;
        MessageIcon icon;
        std::string title;
    };

    std::map<EditorField, std::string> texts;
    std::map<EditorControl, bool> enabled;
    std::map<EditorField, FieldColour> colours;
    std::optional<EditorField> focus;
    std::string status;
    bool check1 = false;
    std::optional<RecordNo> latest; ///< the last Latest the window was told
    std::vector<Message> messages;
    /// One line per call that changes the window, e.g. "text Text2(0) '5'", "message 入力エラー".
    std::vector<std::string> log;
    /// Runs while a message box is open (before the editor goes on).
    std::function<void()> whileMessageOpen;

    /// Types a draw: `Text1` (the draw number, "" for a new one), `Text2`(0..5) and `Text8`.
    void enter(const std::string& draw, const std::vector<std::string>& numbers, const std::string& bonus)
    {
        texts[EditorField::Text1] = draw;
        for (int i = 0; i < 6; ++i)
            texts[Text2Field(i)] = numbers.at(static_cast<std::size_t>(i));
        texts[EditorField::Text8] = bonus;
    }

    /// The texts of `Text2`(0..5) and `Text8`, in that order.
    std::vector<std::string> numberTexts() const
    {
        std::vector<std::string> out;
        for (int i = 0; i < 6; ++i)
            out.push_back(fieldText(Text2Field(i)));
        out.push_back(fieldText(EditorField::Text8));
        return out;
    }

    int messagesWith(MessageIcon icon) const
    {
        int count = 0;
        for (const Message& message : messages)
            count += message.icon == icon ? 1 : 0;
        return count;
    }

    std::string fieldText(EditorField field) const override
    {
        const auto found = texts.find(field);
        return found == texts.end() ? std::string() : found->second;
    }
    void setFieldText(EditorField field, const std::string& value) override
    {
        texts[field] = value;
        log.push_back(std::string("text ") + NameOf(field) + " '" + value + "'");
    }
    void setEnabled(EditorControl control, bool on) override
    {
        enabled[control] = on;
        log.push_back(std::string(on ? "enable " : "disable ") + NameOf(control));
    }
    void setFieldColour(EditorField field, FieldColour colour) override
    {
        colours[field] = colour;
        log.push_back(std::string("colour ") + NameOf(field) + " " + NameOf(colour));
    }
    void setFocus(EditorField field) override
    {
        focus = field;
        log.push_back(std::string("focus ") + NameOf(field));
    }
    void setStatusText(const std::string& value) override
    {
        status = value;
        log.push_back("status");
    }
    void showMessage(const std::string& value, MessageIcon icon, const std::string& title) override
    {
        messages.push_back({value, icon, title});
        log.push_back("message " + title);
        if (whileMessageOpen)
            whileMessageOpen();
    }
    bool isEditModeChecked() const override { return check1; }
    void setLatest(RecordNo value) override
    {
        latest = value;
        log.push_back("latest " + std::to_string(value));
    }
};

} // namespace zentrix::test
