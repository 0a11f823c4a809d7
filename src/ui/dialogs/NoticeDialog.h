// NoticeDialog: the usage notice frmNotice "免責次項", opened from the Help menu.
#pragma once

#include <QDialog>

class QGroupBox;
class QPlainTextEdit;
class QPushButton;

namespace zentrix::ui {

/// The usage notice: a frame holding the notice text and an OK button. Modal, fixed size, built
/// from its design values on every construction; it reads and changes nothing else.
///
///     NoticeDialog dlg;
///     dlg.exec();
class NoticeDialog : public QDialog
{
    Q_OBJECT

public:
    explicit NoticeDialog(QWidget* parent = nullptr);

    /// The notice shown in txtMennseki, lines separated by CR LF.
    static QString noticeText();

private slots:
    void cmdCloseMennsekiClicked();

private:
    struct Controls
    {
        QGroupBox* fraMennseki = nullptr;
        QPlainTextEdit* txtMennseki = nullptr;
        QPushButton* cmdCloseMennseki = nullptr;
    };

    Controls m_ui;
};

} // namespace zentrix::ui
