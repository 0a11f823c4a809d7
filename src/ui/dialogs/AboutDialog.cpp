// AboutDialog: the version dialog, laid out from its design values in twips.
#include "ui/dialogs/AboutDialog.h"

#include "ui/common/Fonts.h"
#include "ui/common/Twips.h"
#include "ui/dialogs/FixedDialog.h"

#include <QApplication>
#include <QFontDatabase>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextDocument>

namespace zentrix::ui {
namespace {

// The program's name is set in Impact. Where Impact is missing (most Linux desktops) a condensed
// bold sans stands in for it, which keeps the narrow, heavy look.
QFont TitleFont()
{
    const QString impact = QStringLiteral("Impact");
    QFont font(impact);
    font.setPointSizeF(9.75);
    if (!QFontDatabase::hasFamily(impact)) {
        font.setFamilies({impact, QStringLiteral("DejaVu Sans Condensed"),
                          QStringLiteral("Liberation Sans Narrow"), QStringLiteral("Nimbus Sans Narrow"),
                          QStringLiteral("DejaVu Sans")});
        font.setWeight(QFont::Bold);
    }
    return font;
}

// A borderless, read-only text box on the button face, as the version texts are shown.
void ShowAsFixedText(QWidget* box, const QColor& textColour)
{
    QPalette palette = box->palette();
    const QColor face = QApplication::palette().color(QPalette::Button);
    palette.setColor(QPalette::Base, face);
    palette.setColor(QPalette::Window, face);
    palette.setColor(QPalette::Text, textColour);
    box->setPalette(palette);
}

QPlainTextEdit* FixedTextBox(QWidget* parent, const QString& name, const QRect& geometry, const QFont& font,
                             const QString& text)
{
    auto* box = new QPlainTextEdit(parent);
    box->setObjectName(name);
    box->setGeometry(geometry);
    box->setFont(font);
    box->setFrameShape(QFrame::NoFrame);
    box->setReadOnly(true);
    box->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    box->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    box->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    box->document()->setDocumentMargin(0);
    // The colour the system gives menu text: the version texts are drawn in it.
    ShowAsFixedText(box, QApplication::palette("QMenu").color(QPalette::Active, QPalette::WindowText));
    box->setPlainText(text);
    return box;
}

} // namespace

QString AboutDialog::logoPath()
{
    return QStringLiteral(":/logo/zentrix-logo.bmp");
}

AboutDialog::AboutDialog(QWidget* parent)
    : QDialog(parent, kFixedDialogFlags)
{
    SetUpFixedDialog(*this, QStringLiteral("frmAbout"), QStringLiteral("バージョン情報"), 4680, 3015);

    // The button comes first so that it is first in the tab order and takes the focus.
    m_ui.cmdCloseAbout = new QPushButton(QStringLiteral("OK"), this);
    m_ui.cmdCloseAbout->setObjectName(QStringLiteral("cmdCloseAbout"));
    m_ui.cmdCloseAbout->setGeometry(TwipsRect(1800, 2520, 1095, 375));
    m_ui.cmdCloseAbout->setDefault(true);

    m_ui.Text1 = new QLineEdit(QStringLiteral("Zentrix Predictor"), this);
    m_ui.Text1->setObjectName(QStringLiteral("Text1"));
    m_ui.Text1->setGeometry(TwipsRect(120, 120, 4455, 375));
    m_ui.Text1->setFont(TitleFont());
    m_ui.Text1->setFrame(false);
    m_ui.Text1->setReadOnly(true);
    m_ui.Text1->setCursorPosition(0);
    ShowAsFixedText(m_ui.Text1, QColor(0, 0, 255));

    // A sunken two-pixel border around the 85 x 93 logo fills the 89 x 97 picture box exactly.
    m_ui.Picture1 = new QLabel(this);
    m_ui.Picture1->setObjectName(QStringLiteral("Picture1"));
    m_ui.Picture1->setGeometry(TwipsRect(120, 720, 1335, 1455));
    m_ui.Picture1->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    m_ui.Picture1->setLineWidth(2);
    m_ui.Picture1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_ui.Picture1->setPixmap(QPixmap(logoPath()));

    QFont bold = DesignFont(kGothicFace, 9);
    bold.setBold(true);
    m_ui.Text3 = FixedTextBox(this, QStringLiteral("Text3"), TwipsRect(1680, 840, 2775, 255), bold,
                              QStringLiteral("Version ： 2.2.2\r\n"));
    // Two empty lines stand where the developers' home-page addresses would go.
    m_ui.Text2 = FixedTextBox(this, QStringLiteral("Text2"), TwipsRect(1680, 1320, 2775, 855),
                              DesignFont(kGothicFace, 9), QStringLiteral("開発元 ： Morvane\r\n \r\n\r\n"));

    // What a screen reader calls the boxes, whose texts it reads as their values.
    m_ui.Text1->setAccessibleName(QStringLiteral("製品名"));
    m_ui.Picture1->setAccessibleName(QStringLiteral("Zentrix のロゴ"));
    m_ui.Text3->setAccessibleName(QStringLiteral("バージョン"));
    m_ui.Text2->setAccessibleName(QStringLiteral("開発元"));

    setTabOrder(m_ui.cmdCloseAbout, m_ui.Text1);
    setTabOrder(m_ui.Text1, m_ui.Text3);
    setTabOrder(m_ui.Text3, m_ui.Text2);
    m_ui.cmdCloseAbout->setFocus();

    connect(m_ui.cmdCloseAbout, &QPushButton::clicked, this, &AboutDialog::cmdCloseAboutClicked);
}

void AboutDialog::cmdCloseAboutClicked()
{
    accept();
}

} // namespace zentrix::ui
