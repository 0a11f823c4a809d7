// AboutDialog: the version dialog frmAbout "バージョン情報", opened from the Help menu.
#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace zentrix::ui {

/// The version dialog: the program's name, its logo, the version and the developer, and an OK
/// button. Modal, fixed size, built from its design values on every construction.
///
///     AboutDialog dlg;
///     dlg.exec();
class AboutDialog : public QDialog
{
    Q_OBJECT

public:
    explicit AboutDialog(QWidget* parent = nullptr);

    /// Resource path of the logo shown in Picture1: an 85 x 93 bitmap in 24-bit colour.
    static QString logoPath();

private slots:
    void cmdCloseAboutClicked();

private:
    struct Controls
    {
        QLineEdit* Text1 = nullptr;
        QLabel* Picture1 = nullptr;
        QPlainTextEdit* Text3 = nullptr;
        QPlainTextEdit* Text2 = nullptr;
        QPushButton* cmdCloseAbout = nullptr;
    };

    Controls m_ui;
};

} // namespace zentrix::ui
