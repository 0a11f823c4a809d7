// NoticeDialog: the usage notice, laid out from its design values in twips.
#include "ui/dialogs/NoticeDialog.h"

#include "ui/common/Twips.h"
#include "ui/dialogs/FixedDialog.h"

#include <QGroupBox>
#include <QPlainTextEdit>
#include <QPushButton>

namespace zentrix::ui {

QString NoticeDialog::noticeText()
{
    // Broken by hand so that every line fits the text box in the Gothic face.
    return QStringLiteral("このプログラムが出す予想番号は、画面で選んだ\r\n"
                          "条件に従って、乱数で選んだ数字の組です。\r\n"
                          "過去の当選番号の統計を使っても、当選する確率が\r\n"
                          "高くなることはありません。\r\n"
                          "\r\n"
                          "ロト６では、どの数字の組も当選する確率は同じです。\r\n"
                          "\r\n"
                          "くじを買うかどうか、どの番号で買うかは、\r\n"
                          "ご自身の判断と責任でお決めください。\r\n"
                          "\r\n"
                          "このプログラムは無保証です。作者は、このプログラムの\r\n"
                          "使用とその結果について、いかなる保証もいたしません。");
}

NoticeDialog::NoticeDialog(QWidget* parent)
    : QDialog(parent, kFixedDialogFlags)
{
    SetUpFixedDialog(*this, QStringLiteral("frmNotice"), QStringLiteral("免責次項"), 6315, 4410);

    // The button comes first so that it is first in the tab order and takes the focus.
    m_ui.cmdCloseMennseki = new QPushButton(QStringLiteral("OK"), this);
    m_ui.cmdCloseMennseki->setObjectName(QStringLiteral("cmdCloseMennseki"));
    m_ui.cmdCloseMennseki->setGeometry(TwipsRect(1920, 3840, 2775, 375));
    m_ui.cmdCloseMennseki->setDefault(true);

    m_ui.fraMennseki = new QGroupBox(QStringLiteral("使用上の注意"), this);
    m_ui.fraMennseki->setObjectName(QStringLiteral("fraMennseki"));
    m_ui.fraMennseki->setGeometry(TwipsRect(240, 240, 5895, 3375));

    // Read-only: the notice can be read, selected and copied, never changed.
    m_ui.txtMennseki = new QPlainTextEdit(m_ui.fraMennseki);
    m_ui.txtMennseki->setObjectName(QStringLiteral("txtMennseki"));
    m_ui.txtMennseki->setAccessibleName(QStringLiteral("使用上の注意"));
    m_ui.txtMennseki->setGeometry(TwipsRect(240, 480, 5415, 2655));
    m_ui.txtMennseki->setReadOnly(true);
    m_ui.txtMennseki->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    m_ui.txtMennseki->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // The document takes CR LF as one line break, so no stray CR is left in the lines.
    m_ui.txtMennseki->setPlainText(noticeText());

    setTabOrder(m_ui.cmdCloseMennseki, m_ui.txtMennseki);
    m_ui.cmdCloseMennseki->setFocus();

    connect(m_ui.cmdCloseMennseki, &QPushButton::clicked, this, &NoticeDialog::cmdCloseMennsekiClicked);
}

void NoticeDialog::cmdCloseMennsekiClicked()
{
    accept();
}

} // namespace zentrix::ui
