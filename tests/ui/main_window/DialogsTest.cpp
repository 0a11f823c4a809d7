// The Help menu's dialogs: the usage notice and the version dialog, their controls, texts, focus,
// closing, and that every opening starts from the same texts.
#include "support/QtTestSupport.h"
#include "ui/common/Fonts.h"
#include "ui/main_window/AboutDialog.h"
#include "ui/main_window/NoticeDialog.h"

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
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

namespace zentrix::ui {
namespace {

using test::Child;

// Design positions are in twips; 15 twips make one pixel.
QRect Twips(int left, int top, int width, int height)
{
    return QRect(left / 15, top / 15, width / 15, height / 15);
}

// Runs the dialog modally as the menu does and calls `whileOpen` once it is up and active. A dialog that does
// not close within five seconds fails the test instead of hanging it.
int ExecAndThen(QDialog& dialog, const std::function<void()>& whileOpen)
{
    bool ran = false;
    QTimer::singleShot(0, &dialog, [&] {
        ran = true;
        EXPECT_TRUE(QTest::qWaitForWindowActive(&dialog));
        whileOpen();
    });
    QTimer::singleShot(5000, &dialog, [&] {
        if (dialog.isVisible()) {
            ADD_FAILURE() << "the dialog did not close";
            dialog.done(-1);
        }
    });
    const int result = dialog.exec();
    EXPECT_TRUE(ran);
    return result;
}

void ExpectFixedDialogWindow(const QDialog& dialog, QSize clientSize)
{
    EXPECT_EQ(dialog.size(), clientSize);
    EXPECT_EQ(dialog.minimumSize(), clientSize);
    EXPECT_EQ(dialog.maximumSize(), clientSize);
    const Qt::WindowFlags flags = dialog.windowFlags();
    EXPECT_FALSE(flags & Qt::WindowMinimizeButtonHint);
    EXPECT_FALSE(flags & Qt::WindowMaximizeButtonHint);
    EXPECT_TRUE(flags & Qt::WindowCloseButtonHint);
    EXPECT_EQ(dialog.windowModality(), Qt::ApplicationModal);
    EXPECT_EQ(dialog.parentWidget(), nullptr);
    ASSERT_FALSE(dialog.windowIcon().isNull());
    EXPECT_EQ(dialog.windowIcon().pixmap(QSize(32, 32)).size(), QSize(32, 32));
}

// Opens the dialog, checks that `ok` has the focus, and closes it with the button.
void ExpectFocusOnOkAndOkCloses(QDialog& dialog, QPushButton* ok)
{
    const int result = ExecAndThen(dialog, [&] {
        EXPECT_EQ(QApplication::activeModalWidget(), &dialog);
        EXPECT_EQ(QApplication::focusWidget(), ok);
        QTest::mouseClick(ok, Qt::LeftButton);
    });
    EXPECT_EQ(result, QDialog::Accepted);
    EXPECT_FALSE(dialog.isVisible());
}

void ExpectCloseBoxCloses(QDialog& dialog)
{
    ExecAndThen(dialog, [&] { EXPECT_TRUE(dialog.close()); });
    EXPECT_FALSE(dialog.isVisible());
}

// ---------------------------------------------------------------------------------------------
// The usage notice

TEST(NoticeDialog, WindowIsAFixedModalDialogWithTheIcon)
{
    NoticeDialog dlg;
    EXPECT_EQ(dlg.objectName(), QStringLiteral("frmNotice"));
    EXPECT_EQ(dlg.windowTitle(), QStringLiteral("免責次項"));
    EXPECT_EQ(dlg.font().family(), kGothicFace);
    EXPECT_EQ(dlg.font().pointSizeF(), 9.0);
    ExpectFixedDialogWindow(dlg, QSize(421, 294));
}

TEST(NoticeDialog, ControlsSitAtTheirDesignPositions)
{
    NoticeDialog dlg;
    auto* frame = Child<QGroupBox>(&dlg, QStringLiteral("fraMennseki"));
    auto* text = Child<QPlainTextEdit>(&dlg, QStringLiteral("txtMennseki"));
    auto* ok = Child<QPushButton>(&dlg, QStringLiteral("cmdCloseMennseki"));
    ASSERT_TRUE(frame && text && ok);
    EXPECT_EQ(frame->title(), QStringLiteral("使用上の注意"));
    EXPECT_EQ(frame->geometry(), Twips(240, 240, 5895, 3375));
    EXPECT_EQ(text->parentWidget(), frame);
    EXPECT_EQ(text->geometry(), Twips(240, 480, 5415, 2655));
    EXPECT_EQ(ok->text(), QStringLiteral("OK"));
    EXPECT_EQ(ok->geometry(), Twips(1920, 3840, 2775, 375));
}

TEST(NoticeDialog, NoticeIsCrLfSeparatedAndShownAsPlainLines)
{
    const QString notice = NoticeDialog::noticeText();
    const QStringList lines = notice.split(QStringLiteral("\r\n"));
    ASSERT_GT(lines.size(), 1);
    for (const QString& line : lines) {
        EXPECT_FALSE(line.contains(u'\r')) << line.toStdString();
        EXPECT_FALSE(line.contains(u'\n')) << line.toStdString();
    }
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

    NoticeDialog dlg;
    auto* text = Child<QPlainTextEdit>(&dlg, QStringLiteral("txtMennseki"));
    ASSERT_NE(text, nullptr);
    // Each CR LF is one line break: as many blocks as lines, and no CR glyph left in any of them.
    const QTextDocument* document = text->document();
    ASSERT_EQ(document->blockCount(), lines.size());
    for (int i = 0; i < lines.size(); ++i)
        EXPECT_EQ(document->findBlockByNumber(i).text(), lines[i]);
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
    NoticeDialog dlg;
    auto* ok = Child<QPushButton>(&dlg, QStringLiteral("cmdCloseMennseki"));
    ASSERT_NE(ok, nullptr);
    auto* text = Child<QPlainTextEdit>(&dlg, QStringLiteral("txtMennseki"));
    ASSERT_NE(text, nullptr);
    // First in the tab order: Tab moves on to the notice and Shift+Tab comes back.
    ExecAndThen(dlg, [&] {
        EXPECT_EQ(QApplication::focusWidget(), ok);
        QTest::keyClick(ok, Qt::Key_Tab);
        EXPECT_EQ(QApplication::focusWidget(), text);
        QTest::keyClick(text, Qt::Key_Backtab);
        EXPECT_EQ(QApplication::focusWidget(), ok);
        dlg.reject();
    });
    NoticeDialog again;
    ExpectFocusOnOkAndOkCloses(again, Child<QPushButton>(&again, QStringLiteral("cmdCloseMennseki")));
}

TEST(NoticeDialog, EnterAndTheCloseBoxCloseIt)
{
    NoticeDialog byEnter;
    const int result = ExecAndThen(byEnter, [&] { QTest::keyClick(&byEnter, Qt::Key_Return); });
    EXPECT_EQ(result, QDialog::Accepted);

    NoticeDialog byCloseBox;
    ExpectCloseBoxCloses(byCloseBox);
}

TEST(NoticeDialog, EveryOpeningShowsTheSameNotice)
{
    QString shownFirst;
    {
        NoticeDialog first;
        auto* text = Child<QPlainTextEdit>(&first, QStringLiteral("txtMennseki"));
        ASSERT_NE(text, nullptr);
        shownFirst = text->toPlainText();
        ExecAndThen(first, [&] {
            // Typing does not change the notice.
            text->setFocus();
            QTest::keyClicks(text, QStringLiteral("xyz"));
            QTest::keyClick(text, Qt::Key_Backspace);
            EXPECT_EQ(text->toPlainText(), shownFirst);
            // Even a changed text box does not outlive its dialog.
            text->setPlainText(QStringLiteral("changed"));
            first.accept();
        });
    }
    NoticeDialog second;
    auto* text = Child<QPlainTextEdit>(&second, QStringLiteral("txtMennseki"));
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(text->toPlainText(), shownFirst);
    EXPECT_EQ(shownFirst,
              QString(NoticeDialog::noticeText()).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
}

// ---------------------------------------------------------------------------------------------
// The version dialog

TEST(AboutDialog, WindowIsAFixedModalDialogWithTheIcon)
{
    AboutDialog dlg;
    EXPECT_EQ(dlg.objectName(), QStringLiteral("frmAbout"));
    EXPECT_EQ(dlg.windowTitle(), QStringLiteral("バージョン情報"));
    ExpectFixedDialogWindow(dlg, QSize(312, 201));
}

TEST(AboutDialog, ControlsSitAtTheirDesignPositionsWithTheirTexts)
{
    AboutDialog dlg;
    auto* text1 = Child<QLineEdit>(&dlg, QStringLiteral("Text1"));
    auto* picture = Child<QLabel>(&dlg, QStringLiteral("Picture1"));
    auto* text3 = Child<QPlainTextEdit>(&dlg, QStringLiteral("Text3"));
    auto* text2 = Child<QPlainTextEdit>(&dlg, QStringLiteral("Text2"));
    auto* ok = Child<QPushButton>(&dlg, QStringLiteral("cmdCloseAbout"));
    ASSERT_TRUE(text1 && picture && text3 && text2 && ok);

    EXPECT_EQ(text1->geometry(), Twips(120, 120, 4455, 375));
    EXPECT_EQ(picture->geometry(), Twips(120, 720, 1335, 1455));
    EXPECT_EQ(text3->geometry(), Twips(1680, 840, 2775, 255));
    EXPECT_EQ(text2->geometry(), Twips(1680, 1320, 2775, 855));
    EXPECT_EQ(ok->geometry(), Twips(1800, 2520, 1095, 375));

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
    EXPECT_EQ(text3->font().pointSizeF(), 9.0);
    EXPECT_FALSE(text2->font().bold());
    EXPECT_EQ(text2->font().pointSizeF(), 9.0);
    for (const QPlainTextEdit* box : {text3, text2})
        EXPECT_EQ(box->palette().color(QPalette::Base), buttonFace);
}

TEST(AboutDialog, LogoIsAn85By93TrueColourBitmapFillingThePictureBox)
{
    // The bitmap itself: a Windows BMP, 85 x 93, 24 bits per pixel.
    QFile file(AboutDialog::logoPath());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bmp = file.readAll();
    ASSERT_GE(bmp.size(), 54);
    auto le = [&](int at, int bytes) {
        quint32 value = 0;
        for (int i = bytes - 1; i >= 0; --i)
            value = (value << 8) | static_cast<quint8>(bmp[at + i]);
        return value;
    };
    EXPECT_EQ(bmp.left(2), QByteArray("BM"));
    EXPECT_EQ(le(18, 4), 85u);
    EXPECT_EQ(le(22, 4), 93u);
    EXPECT_EQ(le(28, 2), 24u);

    AboutDialog dlg;
    auto* picture = Child<QLabel>(&dlg, QStringLiteral("Picture1"));
    ASSERT_NE(picture, nullptr);
    const QPixmap logo = picture->pixmap();
    ASSERT_FALSE(logo.isNull());
    EXPECT_EQ(logo.size(), QSize(85, 93));
    EXPECT_EQ(picture->contentsRect().size(), QSize(85, 93));
    // A picture, not a blank.
    const QImage image = logo.toImage();
    QSet<QRgb> colours;
    for (int y = 0; y < image.height(); y += 4)
        for (int x = 0; x < image.width(); x += 4)
            colours.insert(image.pixel(x, y));
    EXPECT_GT(colours.size(), 5);
}

TEST(AboutDialog, OkHasTheFocusAndClosesIt)
{
    AboutDialog dlg;
    auto* ok = Child<QPushButton>(&dlg, QStringLiteral("cmdCloseAbout"));
    ASSERT_NE(ok, nullptr);
    ExpectFocusOnOkAndOkCloses(dlg, ok);

    AboutDialog byCloseBox;
    ExpectCloseBoxCloses(byCloseBox);
}

TEST(AboutDialog, EveryOpeningShowsTheSameTexts)
{
    {
        AboutDialog first;
        auto* text1 = Child<QLineEdit>(&first, QStringLiteral("Text1"));
        auto* text2 = Child<QPlainTextEdit>(&first, QStringLiteral("Text2"));
        ASSERT_TRUE(text1 && text2);
        ExecAndThen(first, [&] {
            text1->setFocus();
            QTest::keyClicks(text1, QStringLiteral("abc"));
            EXPECT_EQ(text1->text(), QStringLiteral("Zentrix Predictor"));
            text1->setText(QStringLiteral("changed"));
            text2->setPlainText(QStringLiteral("changed"));
            first.accept();
        });
    }
    AboutDialog second;
    auto* text1 = Child<QLineEdit>(&second, QStringLiteral("Text1"));
    auto* text2 = Child<QPlainTextEdit>(&second, QStringLiteral("Text2"));
    ASSERT_TRUE(text1 && text2);
    EXPECT_EQ(text1->text(), QStringLiteral("Zentrix Predictor"));
    EXPECT_EQ(text2->toPlainText(), QStringLiteral("開発元 ： Morvane\n \n\n"));
}

} // namespace
} // namespace zentrix::ui
