// TmpForm: the hidden form whose one-line text box Text1 stages every printed line.
#pragma once

#include <QWidget>

class QLineEdit;

namespace zentrix::ui {

/// Never shown. It comes into existence on its first use by the printing of the results window and
/// lives until the generation run unloads it after the results window has closed.
class TmpForm : public QWidget
{
    Q_OBJECT

public:
    /// The form, created hidden on first use.
    static TmpForm& Load();
    /// Discards the form; nothing happens when it is not loaded.
    static void Unload();
    static bool IsLoaded();

    QLineEdit* Text1 = nullptr;

private:
    TmpForm();
};

} // namespace zentrix::ui
