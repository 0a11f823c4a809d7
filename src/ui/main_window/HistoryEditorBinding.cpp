// HistoryEditorBinding: the view of the history editor over frmMain's widgets.
#include "ui/main_window/HistoryEditorBinding.h"

#include "ui/common/MessageBox.h"
#include "ui/main_window/MainWindow.h"

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QPalette>
#include <QPushButton>

namespace zentrix::ui {

HistoryEditorBinding::HistoryEditorBinding(MainWindow& window)
    : m_window(window)
    , m_editor(window.history(), *this)
{
    const MainWindowControls& ui = window.controls();
    // Check1's event follows its value, whether the user or the program changes it.
    connect(ui.Check1, &QCheckBox::toggled, this, [this] { m_editor.Check1_Click(); });
    connect(ui.Reading, &QPushButton::clicked, this, [this] { m_editor.Reading_Click(); });
    connect(ui.Writing, &QPushButton::clicked, this, [this] {
        m_editor.Writing_Click();
        emit m_window.historyChanged();
    });
    connect(ui.Delete, &QPushButton::clicked, this, [this] {
        m_editor.Delete_Click();
        emit m_window.historyChanged();
    });
}

QLineEdit* HistoryEditorBinding::field(EditorField which) const
{
    const MainWindowControls& ui = m_window.controls();
    switch (which) {
    case EditorField::Text1:
        return ui.Text1;
    case EditorField::Text8:
        return ui.Text8;
    default:
        return ui.Text2[static_cast<std::size_t>(static_cast<int>(which) -
                                                 static_cast<int>(EditorField::Text2_0))];
    }
}

QWidget* HistoryEditorBinding::control(EditorControl which) const
{
    const MainWindowControls& ui = m_window.controls();
    switch (which) {
    case EditorControl::Reading:
        return ui.Reading;
    case EditorControl::Writing:
        return ui.Writing;
    case EditorControl::Delete:
        return ui.Delete;
    default:
        return field(FieldOf(which));
    }
}

std::string HistoryEditorBinding::fieldText(EditorField which) const
{
    return field(which)->text().toStdString();
}

void HistoryEditorBinding::setFieldText(EditorField which, const std::string& text)
{
    field(which)->setText(QString::fromStdString(text));
}

void HistoryEditorBinding::setEnabled(EditorControl which, bool enabled)
{
    control(which)->setEnabled(enabled);
}

void HistoryEditorBinding::setFieldColour(EditorField which, FieldColour colour)
{
    QPalette::ColorRole role = QPalette::Base;
    switch (colour) {
    case FieldColour::WindowBackground:
        role = QPalette::Base;
        break;
    case FieldColour::ButtonFace:
        role = QPalette::Button;
        break;
    case FieldColour::SelectionHighlight:
        role = QPalette::Highlight;
        break;
    }
    const QColor system = QApplication::palette().color(QPalette::Active, role);
    QLineEdit* target = field(which);
    QPalette palette = target->palette();
    // Every group, so a disabled field shows the same face as an enabled one would.
    for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
        palette.setColor(group, QPalette::Base, system);
    target->setPalette(palette);
}

void HistoryEditorBinding::setFocus(EditorField which)
{
    field(which)->setFocus(Qt::OtherFocusReason);
}

void HistoryEditorBinding::setStatusText(const std::string& text)
{
    m_window.setStatusText(QString::fromStdString(text));
}

void HistoryEditorBinding::showMessage(const std::string& text, MessageIcon icon, const std::string& title)
{
    // The box's label lays out a carriage return as a line break, so the two-line entry
    // messages are passed on exactly as they are.
    MessageBox::show(&m_window, QString::fromStdString(title), QString::fromStdString(text),
                     icon == MessageIcon::Critical ? MessageBox::Icon::Critical
                                                   : MessageBox::Icon::Exclamation);
}

bool HistoryEditorBinding::isEditModeChecked() const
{
    return m_window.controls().Check1->checkState() == Qt::Checked;
}

void HistoryEditorBinding::setLatest(RecordNo latest)
{
    m_window.setLatest(latest);
}

} // namespace zentrix::ui
