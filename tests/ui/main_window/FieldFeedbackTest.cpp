// The main window's fields show what they hold: whole draw numbers in the design's small fields,
// the set count while the slider moves, and display-only fields that take no typing.
#include "MainWindowFixture.h"
#include "ui/common/FittingText.h"

#include <QApplication>
#include <QCheckBox>
#include <QFontMetrics>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QToolTip>

namespace zentrix::test {
namespace {

bool ShowsWholeText(const QLineEdit* field)
{
    return QFontMetrics(field->font()).horizontalAdvance(field->text()) <= ui::TextRoomOf(field);
}

class FieldFeedbackTest : public MainWindowFixture
{
};

TEST_F(FieldFeedbackTest, FourDigitDrawNumbersFitTheEditorsDrawFieldAtItsDesignSize)
{
    const QRect before = ui.Text1->geometry();
    ui.Check1->click();
    ui.Text1->setText(QStringLiteral("2037"));
    EXPECT_TRUE(ShowsWholeText(ui.Text1)) << ui.Text1->font().pointSizeF();
    EXPECT_LT(ui.Text1->font().pointSizeF(), 9.0);
    EXPECT_GE(ui.Text1->font().pointSizeF(), 5.0);
    EXPECT_EQ(ui.Text1->geometry(), before);

    // A short number keeps the design's face size.
    ui.Text1->setText(QStringLiteral("12"));
    EXPECT_EQ(ui.Text1->font().pointSizeF(), 9.0);
    EXPECT_TRUE(ShowsWholeText(ui.Text1));
}

TEST_F(FieldFeedbackTest, TheHeadingFitsFiveDigitsAtItsDesignSize)
{
    window.setLatest(2037);
    EXPECT_EQ(ui.Text9->text(), QStringLiteral("2038"));
    EXPECT_TRUE(ShowsWholeText(ui.Text9)) << ui.Text9->font().pointSizeF();
    ui.Text9->setText(QStringLiteral("12345"));
    EXPECT_TRUE(ShowsWholeText(ui.Text9)) << ui.Text9->font().pointSizeF();
    EXPECT_EQ(ui.Text9->geometry(), QRect(312, 0, 65, 33));
    ui.Text9->setText(QStringLiteral("6"));
    EXPECT_EQ(ui.Text9->font().pointSizeF(), 18.0);
}

TEST_F(FieldFeedbackTest, TheHeadingAndTheRatioTakeNoTypingAndLookAsBefore)
{
    showWindow();
    const QString heading = ui.Text9->text();
    for (QLineEdit* field : {ui.Text9, ui.Text3}) {
        const QString before = field->text();
        EXPECT_TRUE(field->isReadOnly()) << field->objectName().toStdString();
        field->setFocus();
        QTest::keyClicks(field, QStringLiteral("99"));
        QTest::keyClick(field, Qt::Key_Backspace);
        EXPECT_EQ(field->text(), before) << field->objectName().toStdString();
        EXPECT_EQ(field->alignment(), QLineEdit().alignment());
        EXPECT_EQ(field->palette().color(QPalette::Base), field->palette().color(QPalette::Button));
    }
    // The program still writes them.
    ui.sldNum->setValue(2);
    EXPECT_EQ(ui.Text3->text(), QStringLiteral("5 : 1"));
    window.setLatest(41);
    EXPECT_EQ(ui.Text9->text(), QStringLiteral("42"));
    EXPECT_NE(heading, ui.Text9->text());
}

TEST_F(FieldFeedbackTest, TheSetCountSliderShowsItsValueInItsTooltipAndWhileItMoves)
{
    showWindow();
    EXPECT_EQ(ui.sldCount->toolTip(), QStringLiteral("5組"));
    ui.sldCount->setValue(37);
    EXPECT_EQ(ui.sldCount->toolTip(), QStringLiteral("37組"));

    // Dragging the handle: the value follows it next to the slider.
    ui.sldCount->setSliderDown(true);
    ui.sldCount->setSliderPosition(64);
    EXPECT_TRUE(QToolTip::isVisible());
    EXPECT_EQ(QToolTip::text(), QStringLiteral("64組"));
    ui.sldCount->setSliderDown(false);

    // Moving it with the keys does the same.
    ui.sldCount->setFocus();
    QTest::keyClick(ui.sldCount, Qt::Key_Right);
    EXPECT_EQ(ui.sldCount->value(), 65);
    EXPECT_EQ(QToolTip::text(), QStringLiteral("65組"));
    EXPECT_EQ(ui.sldCount->toolTip(), QStringLiteral("65組"));
    // The status line keeps its design behaviour: the slider has no hint of its own.
    EXPECT_TRUE(window.statusText().isEmpty());
    QToolTip::hideText();
}

TEST_F(FieldFeedbackTest, AMistypedDrawNumberIsNamedInTheStatusLine)
{
    writeDraw(QStringLiteral("50"), {3, 11, 18, 25, 36, 42}, 7);
    EXPECT_EQ(
        window.statusText(),
        QStringLiteral("抽選回数「50」は保存済みの回でも次の回でもないため、第1回として書き込みました。"));
    EXPECT_EQ(window.Latest(), 1);
}

} // namespace
} // namespace zentrix::test
