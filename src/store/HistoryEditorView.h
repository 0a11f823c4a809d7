// HistoryEditorView: what the history editor needs of the window, so that the editor's rules can
// run (and be tested) without a window system.
#pragma once

#include "DrawRecord.h"

#include <string>

namespace zentrix {

/// The editor's text fields, named after their controls; Text2_0..Text2_5 are `Text2`(0..5).
enum class EditorField
{
    Text1,
    Text2_0,
    Text2_1,
    Text2_2,
    Text2_3,
    Text2_4,
    Text2_5,
    Text8,
};

/// `Text2`(index), index 0..5.
constexpr EditorField Text2Field(int index)
{
    return static_cast<EditorField>(static_cast<int>(EditorField::Text2_0) + index);
}

inline constexpr int kEditorFieldCount = static_cast<int>(EditorField::Text8) + 1;

/**
 * Controls whose enabled state the editor switches: its fields, which have no names of their own
 * here (ControlOf gives the control of a field, FieldOf the field of a control), then its three
 * buttons. A field added to EditorField is a control at once.
 */
enum class EditorControl
{
    Reading = kEditorFieldCount,
    Writing,
    Delete,
};

constexpr EditorControl ControlOf(EditorField field)
{
    return static_cast<EditorControl>(static_cast<int>(field));
}

constexpr bool IsFieldControl(EditorControl control)
{
    return static_cast<int>(control) >= 0 && static_cast<int>(control) < kEditorFieldCount;
}

/// The field of a control for which IsFieldControl holds.
constexpr EditorField FieldOf(EditorControl control)
{
    return static_cast<EditorField>(static_cast<int>(control));
}

/// The three system colours a field's background takes.
enum class FieldColour
{
    WindowBackground,   ///< an enabled field
    ButtonFace,         ///< a disabled field, the colour of the window's face
    SelectionHighlight, ///< the field in error while its message box is open
};

enum class MessageIcon
{
    Exclamation, ///< wrong input
    Critical,    ///< the data file could not be read or written
};

class HistoryEditorView
{
public:
    virtual ~HistoryEditorView() = default;

    /// Field texts are UTF-8.
    virtual std::string fieldText(EditorField field) const = 0;
    virtual void setFieldText(EditorField field, const std::string& text) = 0;
    virtual void setEnabled(EditorControl control, bool enabled) = 0;
    virtual void setFieldColour(EditorField field, FieldColour colour) = 0;
    virtual void setFocus(EditorField field) = 0;
    /// The text of `StatusBar2`.
    virtual void setStatusText(const std::string& text) = 0;
    /// A modal box with the message, the icon, one OK button and the title; returns when closed.
    /// The entry-check messages break their line with a carriage return alone, the store's
    /// descriptions with a line feed; the window shows either as a line break.
    virtual void showMessage(const std::string& text, MessageIcon icon, const std::string& title) = 0;
    /// Whether `Check1` is checked.
    virtual bool isEditModeChecked() const = 0;
    /// The store's Latest changed: the window mirrors it in its member Latest and shows
    /// Latest + 1 in `Text9`.
    virtual void setLatest(RecordNo latest) = 0;
};

} // namespace zentrix
