// The Help menu's dialogs: the usage notice and the version dialog, their controls, texts, focus,
// closing, and that every opening starts from the same texts.
#include "support/QtTestSupport.h"
#include "ui/common/Fonts.h"
#include "ui/dialogs/AboutDialog.h"
#include "ui/dialogs/NoticeDialog.h"

#include <QAccessible>
#include <QApplication>
#include <QFile>
#include <QFontInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSet>
#include <QTest>
#include <QTextBlock>
#include <QTextLayout>
#include <functional>
#include <gtest/gtest.h>
#include <map>

namespace zentrix::ui {
namespace {

using test::Child;

struct Placed
{
    const char* name;
    QRect twips; // Left, Top, Width, Height as the design gives them
};

// Each named control sits at its design position; 15 twips make one pixel.
void ExpectPlaced(const QDialog& dialog, std::initializer_list<Placed> controls)
{
    for (const Placed& control : controls) {
        if (const QWidget* widget = Child<QWidget>(&dialog, QString::fromLatin1(control.name))) {
            const QRect& t = control.twips;
            EXPECT_EQ(widget->geometry(), QRect(t.x() / 15, t.y() / 15, t.width() / 15, t.height() / 15))
                << control.name;
        }
    }
}

void ExpectFixedModalWindow(const QDialog& dialog, QSize clientSize)
{
    EXPECT_EQ(dialog.minimumSize(), clientSize);
    EXPECT_EQ(dialog.maximumSize(), clientSize);
    const Qt::WindowFlags flags = dialog.windowFlags();
    EXPECT_FALSE(flags & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint));
    EXPECT_TRUE(flags & Qt::WindowCloseButtonHint);
    EXPECT_EQ(dialog.windowModality(), Qt::ApplicationModal);
    EXPECT_EQ(dialog.font().family(), kGothicFace);
    EXPECT_EQ(dialog.font().pointSizeF(), 9.0);
    EXPECT_EQ(dialog.windowIcon().pixmap(QSize(32, 32)).size(), QSize(32, 32));
}

// Runs the dialog modally as the menu does and calls `whileOpen` once it is up and active.
int ExecAndThen(QDialog& dialog, const std::function<void()>& whileOpen)
{
    int result = -1;
    const bool opened = test::WhileModal([&] { result = dialog.exec(); },
                                         [&](QWidget* modal) {
                                             EXPECT_EQ(modal, &dialog);
                                             EXPECT_TRUE(QTest::qWaitForWindowActive(&dialog));
                                             whileOpen();
                                         });
    EXPECT_TRUE(opened);
    return result;
}

// OK has the focus when the dialog opens and closes it; a fresh dialog closes by its close box.
template <typename Dialog> void ExpectFocusOnOkAndClosing(const QString& okName)
{
    Dialog byOk;
    auto* ok = Child<QPushButton>(&byOk, okName);
    ASSERT_NE(ok, nullptr);
    const int result = ExecAndThen(byOk, [&] {
        EXPECT_EQ(QApplication::focusWidget(), ok);
        QTest::mouseClick(ok, Qt::LeftButton);
    });
    EXPECT_EQ(result, QDialog::Accepted);
    EXPECT_FALSE(byOk.isVisible());

    Dialog byCloseBox;
    ExecAndThen(byCloseBox, [&] { EXPECT_TRUE(byCloseBox.close()); });
    EXPECT_FALSE(byCloseBox.isVisible());
}

// ---------------------------------------------------------------------------------------------
// The usage notice

TEST(NoticeDialog, WindowAndControlsFollowTheDesign)
{
    NoticeDialog dlg;
    EXPECT_EQ(dlg.objectName(), QStringLiteral("frmNotice"));
    EXPECT_EQ(dlg.windowTitle(), QStringLiteral("免責次項"));
    ExpectFixedModalWindow(dlg, QSize(421, 294));
    ExpectPlaced(dlg, {{"fraMennseki", {240, 240, 5895, 3375}},
                       {"txtMennseki", {240, 480, 5415, 2655}},
                       {"cmdCloseMennseki", {1920, 3840, 2775, 375}}});
    auto* frame = Child<QGroupBox>(&dlg, QStringLiteral("fraMennseki"));
    auto* text = Child<QPlainTextEdit>(&dlg, QStringLiteral("txtMennseki"));
    auto* ok = Child<QPushButton>(&dlg, QStringLiteral("cmdCloseMennseki"));
    ASSERT_TRUE(frame && text && ok);
    EXPECT_EQ(frame->title(), QStringLiteral("使用上の注意"));
    EXPECT_EQ(text->parentWidget(), frame);
    EXPECT_EQ(ok->text(), QStringLiteral("OK"));
}

TEST(NoticeDialog, NoticeIsCrLfSeparatedAndShownAsPlainLines)
{
    const QString notice = NoticeDialog::noticeText();
    const QStringList lines = notice.split(QStringLiteral("\r\n"));
    ASSERT_GT(lines.size(), 1);
    for (const QString& line : lines)
        EXPECT_FALSE(line.contains(u'\r') || line.contains(u'\n')) << line.toStdString();
    // Its topics in order: random sets, the same chance for every set, the user's own decision,
    // no warranty.
    const qsizetype random = notice.indexOf(QStringLiteral("乱数"));
    const qsizetype sameChance = notice.indexOf(QStringLiteral("確率は同じ"));
    const qsizetype ownDecision = notice.indexOf(QStringLiteral("ご自身の判断と責任"));
    const qsizetype warranty = notice.indexOf(QStringLiteral("無保証"));
    EXPECT_GE(random, 0);
    EXPECT_LT(random, sameChance);
    EXPECT_LT(sameChance, ownDecision);
    EXPECT_LT(ownDecision, warranty);

    // Each CR LF is one line break: as many blocks as lines, and no CR glyph left in any of them.
    NoticeDialog dlg;
    auto* text = Child<QPlainTextEdit>(&dlg, QStringLiteral("txtMennseki"));
    ASSERT_NE(text, nullptr);
    ASSERT_EQ(text->document()->blockCount(), lines.size());
    for (int i = 0; i < lines.size(); ++i)
        EXPECT_EQ(text->document()->findBlockByNumber(i).text(), lines[i]);
}

TEST(NoticeDialog, WholeNoticeIsVisibleWithoutWrappingOrScrolling)
{
    NoticeDialog dlg;
    auto* text = Child<QPlainTextEdit>(&dlg, QStringLiteral("txtMennseki"));
    ASSERT_NE(text, nullptr);
    dlg.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dlg));
    for (QTextBlock block = text->document()->begin(); block.isValid(); block = block.next())
        EXPECT_EQ(block.layout()->lineCount(), 1) << "wrapped: " << block.text().toStdString();
    EXPECT_EQ(text->verticalScrollBar()->maximum(), 0);
    dlg.close();
}

TEST(NoticeDialog, OkHasTheFocusAndClosesIt)
{
    ExpectFocusOnOkAndClosing<NoticeDialog>(QStringLiteral("cmdCloseMennseki"));

    // First in the tab order: Tab moves on to the notice and Shift+Tab comes back; Enter is OK.
    NoticeDialog dlg;
    auto* ok = Child<QPushButton>(&dlg, QStringLiteral("cmdCloseMennseki"));
    auto* text = Child<QPlainTextEdit>(&dlg, QStringLiteral("txtMennseki"));
    ASSERT_TRUE(ok && text);
    const int result = ExecAndThen(dlg, [&] {
        QTest::keyClick(ok, Qt::Key_Tab);
        EXPECT_EQ(QApplication::focusWidget(), text);
        QTest::keyClick(text, Qt::Key_Backtab);
        EXPECT_EQ(QApplication::focusWidget(), ok);
        QTest::keyClick(ok, Qt::Key_Return);
    });
    EXPECT_EQ(result, QDialog::Accepted);
}

// ---------------------------------------------------------------------------------------------
// The version dialog

TEST(AboutDialog, WindowAndControlsFollowTheDesign)
{
    AboutDialog dlg;
    EXPECT_EQ(dlg.objectName(), QStringLiteral("frmAbout"));
    EXPECT_EQ(dlg.windowTitle(), QStringLiteral("バージョン情報"));
    ExpectFixedModalWindow(dlg, QSize(312, 201));
    ExpectPlaced(dlg, {{"Text1", {120, 120, 4455, 375}},
                       {"Picture1", {120, 720, 1335, 1455}},
                       {"Text3", {1680, 840, 2775, 255}},
                       {"Text2", {1680, 1320, 2775, 855}},
                       {"cmdCloseAbout", {1800, 2520, 1095, 375}}});
    auto* text1 = Child<QLineEdit>(&dlg, QStringLiteral("Text1"));
    auto* text3 = Child<QPlainTextEdit>(&dlg, QStringLiteral("Text3"));
    auto* text2 = Child<QPlainTextEdit>(&dlg, QStringLiteral("Text2"));
    auto* ok = Child<QPushButton>(&dlg, QStringLiteral("cmdCloseAbout"));
    ASSERT_TRUE(text1 && text3 && text2 && ok);
    EXPECT_EQ(text1->text(), QStringLiteral("Zentrix Predictor"));
    EXPECT_EQ(text3->toPlainText(), QStringLiteral("Version ： 2.2.2\n"));
    EXPECT_EQ(text2->document()->blockCount(), 4);
    EXPECT_EQ(text2->toPlainText(), QStringLiteral("開発元 ： Morvane\n \n\n"));
    EXPECT_EQ(ok->text(), QStringLiteral("OK"));
}

TEST(AboutDialog, TextsUseTheirFacesAndColours)
{
    AboutDialog dlg;
    auto* text1 = Child<QLineEdit>(&dlg, QStringLiteral("Text1"));
    auto* text3 = Child<QPlainTextEdit>(&dlg, QStringLiteral("Text3"));
    auto* text2 = Child<QPlainTextEdit>(&dlg, QStringLiteral("Text2"));
    ASSERT_TRUE(text1 && text3 && text2);
    const QColor buttonFace = QApplication::palette().color(QPalette::Button);

    EXPECT_EQ(text1->font().family(), QStringLiteral("Impact"));
    EXPECT_EQ(text1->font().pointSizeF(), 9.75);
    // Impact itself, or a bold stand-in where it is missing: never a thin regular face.
    const QFontInfo title(text1->font());
    EXPECT_TRUE(title.family() == QStringLiteral("Impact") || title.bold()) << title.family().toStdString();
    EXPECT_EQ(text1->palette().color(QPalette::Text), QColor(0, 0, 255));
    EXPECT_EQ(text1->palette().color(QPalette::Base), buttonFace);

    EXPECT_TRUE(text3->font().bold());
    EXPECT_FALSE(text2->font().bold());
    for (const QPlainTextEdit* box : {text3, text2}) {
        EXPECT_EQ(box->font().pointSizeF(), 9.0);
        EXPECT_EQ(box->palette().color(QPalette::Base), buttonFace);
    }
}

TEST(AboutDialog, LogoIsAn85By93TrueColourBitmapFillingThePictureBox)
{
    // The bitmap itself: a Windows BMP, 85 x 93, 24 bits per pixel (little-endian header fields).
    QFile file(AboutDialog::logoPath());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bmp = file.read(54);
    ASSERT_EQ(bmp.size(), 54);
    auto field = [&](int at, int bytes) {
        quint32 value = 0;
        for (int i = bytes - 1; i >= 0; --i)
            value = (value << 8) | static_cast<quint8>(bmp[at + i]);
        return value;
    };
    EXPECT_EQ(bmp.left(2), QByteArray("BM"));
    EXPECT_EQ(field(18, 4), 85u);
    EXPECT_EQ(field(22, 4), 93u);
    EXPECT_EQ(field(28, 2), 24u);

    AboutDialog dlg;
    auto* picture = Child<QLabel>(&dlg, QStringLiteral("Picture1"));
    ASSERT_NE(picture, nullptr);
    const QImage logo = picture->pixmap().toImage();
    EXPECT_EQ(logo.size(), QSize(85, 93));
    EXPECT_EQ(picture->contentsRect().size(), QSize(85, 93));
    QSet<QRgb> colours; // a picture, not a blank
    for (int y = 0; y < logo.height(); y += 4)
        for (int x = 0; x < logo.width(); x += 4)
            colours.insert(logo.pixel(x, y));
    EXPECT_GT(colours.size(), 5);
}

TEST(AboutDialog, OkHasTheFocusAndClosesIt)
{
    ExpectFocusOnOkAndClosing<AboutDialog>(QStringLiteral("cmdCloseAbout"));
}

// Typing into a dialog's texts changes nothing; a dialog is built afresh at each opening.
TEST(DialogTexts, TypingChangesNoText)
{
    NoticeDialog notice;
    AboutDialog about;
    const std::pair<QDialog*, const char*> boxes[] = {
        {&notice, "txtMennseki"}, {&about, "Text1"}, {&about, "Text2"}, {&about, "Text3"}};
    for (const auto& [dialog, name] : boxes) {
        SCOPED_TRACE(name);
        auto* box = Child<QWidget>(dialog, QString::fromLatin1(name));
        ASSERT_NE(box, nullptr);
        const auto text = [box] {
            if (auto* line = qobject_cast<QLineEdit*>(box))
                return line->text();
            return qobject_cast<QPlainTextEdit*>(box)->toPlainText();
        };
        const QString before = text();
        ExecAndThen(*dialog, [&] {
            box->setFocus();
            QTest::keyClicks(box, QStringLiteral("xyz"));
            QTest::keyClick(box, Qt::Key_Backspace);
            QTest::keyClick(box, Qt::Key_Delete);
            dialog->accept();
        });
        EXPECT_EQ(text(), before);
    }
}

// A screen reader finds a name for every control of both dialogs, not the caption of the frame
// around it nor nothing at all.
TEST(DialogAccessibility, EveryControlHasAName)
{
    NoticeDialog notice;
    AboutDialog about;
    const std::map<QString, QString> expected = {
        {"txtMennseki", "使用上の注意"},
        {"cmdCloseMennseki", "OK"},
        {"fraMennseki", "使用上の注意"},
        {"Text1", "製品名"},
        {"Picture1", "Zentrix のロゴ"},
        {"Text3", "バージョン"},
        {"Text2", "開発元"},
        {"cmdCloseAbout", "OK"},
    };
    std::size_t checked = 0;
    for (QDialog* dialog : {static_cast<QDialog*>(&notice), static_cast<QDialog*>(&about)}) {
        for (QWidget* widget : dialog->findChildren<QWidget*>()) {
            const auto name = expected.find(widget->objectName());
            if (name == expected.end())
                continue;
            ++checked;
            QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(widget);
            ASSERT_NE(iface, nullptr);
            EXPECT_EQ(iface->text(QAccessible::Name), name->second) << name->first.toStdString();
        }
    }
    EXPECT_EQ(checked, expected.size());
}

} // namespace
} // namespace zentrix::ui
