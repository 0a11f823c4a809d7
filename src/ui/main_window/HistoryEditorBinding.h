// HistoryEditorBinding: the history editor's rules wired to the real controls of frmMain.
#pragma once

#include "store/HistoryEditor.h"
#include "store/HistoryEditorView.h"

#include <QObject>

class QLineEdit;
class QWidget;

namespace zentrix::ui {

class MainWindow;

/**
 * Connects `Check1`, `Reading`, `Writing` and `Delete` to a HistoryEditor and lets the editor
 * see the window through its view: field texts, enabled states, the three field colours (the
 * palette's Base, Button and Highlight colours, put into the field's Base role), the focus, the
 * status line, the message boxes (through MessageBox, so tests can answer them) and Latest.
 *
 * Owned by the window as a child object; lives exactly as long as it.
 */
class HistoryEditorBinding final : public QObject, private HistoryEditorView
{
    Q_OBJECT

public:
    explicit HistoryEditorBinding(MainWindow& window);

    HistoryEditor& editor() { return m_editor; }

private:
    std::string fieldText(EditorField field) const override;
    void setFieldText(EditorField field, const std::string& text) override;
    void setEnabled(EditorControl control, bool enabled) override;
    void setFieldColour(EditorField field, FieldColour colour) override;
    void setFocus(EditorField field) override;
    void setStatusText(const std::string& text) override;
    void showMessage(const std::string& text, MessageIcon icon, const std::string& title) override;
    bool isEditModeChecked() const override;
    void setLatest(RecordNo latest) override;

    QLineEdit* field(EditorField field) const;
    QWidget* control(EditorControl control) const;

    MainWindow& m_window;
    HistoryEditor m_editor;
};

} // namespace zentrix::ui
