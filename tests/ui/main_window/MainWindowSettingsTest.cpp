// The settings interlocks, the status-bar hints and the settings a generation run reads.
#include "ui/main_window/MainWindowFixture.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>

namespace zentrix::test {
namespace {

class MainWindowSettings : public MainWindowFixture
{
protected:
    void SetUp() override
    {
        MainWindowFixture::SetUp();
        showWindow();
    }

    /// Which of optData(0), optData(1), sldData and sldCurrentData are enabled, e.g. "1110".
    std::string dataEnabled() const
    {
        std::string enabled;
        for (const QWidget* w : {static_cast<QWidget*>(ui.optData[0]), static_cast<QWidget*>(ui.optData[1]),
                                 static_cast<QWidget*>(ui.sldData), static_cast<QWidget*>(ui.sldCurrentData)})
            enabled += w->isEnabled() ? '1' : '0';
        return enabled;
    }
};

TEST_F(MainWindowSettings, ChkDataAndTheOptionsEnableTheirControlsKeepingTheValues)
{
    ui.sldData->setValue(3);
    ui.sldCurrentData->setValue(2);
    click(ui.optData[0]); // already selected: nothing changes
    EXPECT_EQ(dataEnabled(), "1110");
    click(ui.chkData);
    ASSERT_FALSE(ui.chkData->isChecked());
    EXPECT_EQ(dataEnabled(), "0000");
    click(ui.chkData);
    EXPECT_EQ(dataEnabled(), "1110");

    click(ui.optData[1]);
    EXPECT_FALSE(ui.optData[0]->isChecked());
    EXPECT_EQ(dataEnabled(), "1101");
    click(ui.chkData);
    EXPECT_EQ(dataEnabled(), "0000");
    // Disabled options cannot be clicked while the weighting is off.
    click(ui.optData[0]);
    EXPECT_TRUE(ui.optData[1]->isChecked());
    // The keyboard switches it on again just as well, with the slider of the selected option.
    ui.chkData->setFocus();
    QTest::keyClick(ui.chkData, Qt::Key_Space);
    ASSERT_TRUE(ui.chkData->isChecked());
    EXPECT_EQ(dataEnabled(), "1101");
    EXPECT_TRUE(ui.optData[1]->isChecked());
    EXPECT_EQ(ui.sldData->value(), 3);
    EXPECT_EQ(ui.sldCurrentData->value(), 2);
}

TEST_F(MainWindowSettings, EverySldNumValueHasItsRatio)
{
    const char* expected[] = {"6 : 0", "5 : 1", "4 : 2", "3 : 3", "2 : 4", "1 : 5", "0 : 6"};
    ui.sldNum->setFocus();
    QTest::keyClick(ui.sldNum, Qt::Key_Home);
    for (int value = 1; value <= 7; ++value) {
        SCOPED_TRACE(value);
        ASSERT_EQ(ui.sldNum->value(), value);
        EXPECT_EQ(ui.Text3->text(), QString::fromLatin1(expected[value - 1]));
        EXPECT_EQ(ui.chkConsecut->isHidden(), value == 1 || value == 7);
        QTest::keyClick(ui.sldNum, Qt::Key_Right);
    }
    // Hiding neither checks nor unchecks it.
    EXPECT_TRUE(ui.chkConsecut->isChecked());
}

TEST_F(MainWindowSettings, ChkNumSwitchesSldNumAndShowsChkConsecutWhenOff)
{
    ui.sldNum->setValue(7);
    ASSERT_TRUE(ui.chkConsecut->isHidden());
    click(ui.chkNum);
    EXPECT_FALSE(ui.sldNum->isEnabled());
    EXPECT_FALSE(ui.chkConsecut->isHidden());
    EXPECT_EQ(ui.Text3->text(), QStringLiteral("0 : 6"));
    // A disabled slider does not move from the keyboard.
    QTest::keyClick(ui.sldNum, Qt::Key_Home);
    EXPECT_EQ(ui.sldNum->value(), 7);
    click(ui.chkNum);
    EXPECT_TRUE(ui.sldNum->isEnabled());
    EXPECT_TRUE(ui.chkConsecut->isHidden());
    EXPECT_EQ(ui.Text3->text(), QStringLiteral("0 : 6"));

    // At 3, switching it on again leaves chkConsecut shown.
    ui.sldNum->setValue(3);
    click(ui.chkNum);
    click(ui.chkNum);
    EXPECT_TRUE(ui.sldNum->isEnabled());
    EXPECT_FALSE(ui.chkConsecut->isHidden());
}

TEST_F(MainWindowSettings, OtherSettingsChangeOnlyThemselves)
{
    click(ui.CarryNumber[2]);
    EXPECT_EQ(ui.CarryNumberGroup->checkedId(), 2);
    click(ui.chkConsecut);
    EXPECT_FALSE(ui.chkConsecut->isChecked());
    EXPECT_FALSE(ui.chkConsecut->isHidden());
    ui.sldCount->setValue(42);
    EXPECT_EQ(ui.Text3->text(), QStringLiteral("3 : 3"));
    EXPECT_EQ(dataEnabled(), "1110");
    EXPECT_TRUE(ui.sldNum->isEnabled());
}

// --- Settings read by a generation run ------------------------------------------------------------

TEST_F(MainWindowSettings, SettingsAreReadFromTheControlsEvenWhenDisabled)
{
    EXPECT_EQ(window.readSettings(), GenerationSettings{}); // 5 sets, weighting by total, 3 : 3, carry 1

    ui.sldData->setValue(3);
    click(ui.optData[1]);
    ui.sldCurrentData->setValue(2);
    click(ui.chkData); // disables both options and both sliders
    ui.sldNum->setValue(6);
    click(ui.chkNum); // disables sldNum
    click(ui.CarryNumber[0]);
    ui.sldCount->setFocus();
    QTest::keyClick(ui.sldCount, Qt::Key_End);
    GenerationSettings expected;
    expected.setCount = 100;
    expected.weightingOn = false;
    expected.weightBasis = WeightBasis::TimeAxis;
    expected.totalLevel = 3;
    expected.timeAxisLevel = 2;
    expected.parityOn = false;
    expected.parityLevel = 6;
    expected.carryCount = 0;
    EXPECT_EQ(window.readSettings(), expected);

    click(ui.CarryNumber[2]);
    EXPECT_EQ(window.readSettings().carryCount, 2);
}

TEST_F(MainWindowSettings, HiddenChkConsecutStillCounts)
{
    ui.sldNum->setValue(1);
    ASSERT_TRUE(ui.chkConsecut->isHidden());
    EXPECT_TRUE(window.readSettings().consecutiveOn);

    ui.sldNum->setValue(4);
    click(ui.chkConsecut);
    ui.sldNum->setValue(7);
    ASSERT_TRUE(ui.chkConsecut->isHidden());
    EXPECT_FALSE(window.readSettings().consecutiveOn);
    EXPECT_EQ(window.readSettings().parityLevel, 7);
}

// --- Status-bar hints -----------------------------------------------------------------------------

class MainWindowHints : public MainWindowSettings
{
protected:
    /// Moves the pointer onto `widget` at `pos` (its centre when null), the way the window system
    /// does: the move goes to whatever control lies under the pointer there.
    void hover(QWidget* widget, QPoint pos = {})
    {
        // Start from outside the window, so that every hover is a real move.
        QTest::mouseMove(&window, QPoint(window.width() + 50, window.height() + 50));
        QTest::mouseMove(widget, pos);
    }

    /// A point of a frame that lies in its own area, not over any control inside it.
    static QPoint ownArea(QWidget* frame) { return QPoint(frame->width() - 3, frame->height() - 3); }

    QString status() const { return window.statusText(); }

    const QString kept = QStringLiteral("(kept)");
};

TEST_F(MainWindowHints, EveryHintedControlShowsItsText)
{
    const QString optHint =
        QStringLiteral("今までの出現回数の多い順・少ない順に予想番号を偏らせることができます。");
    const std::pair<QWidget*, QString> hints[] = {
        {ui.chkNum, QStringLiteral("チェックを入れると、偶数／奇数の偏りが有効になります。")},
        {ui.sldNum, QStringLiteral("生成する予想番号を7段階で、偶数か奇数に偏らせることができます。")},
        {ui.chkData, QStringLiteral("チェックを入れると、データ反映度の重み付けが有効になります。")},
        {ui.optData[0], optHint},
        {ui.optData[1], optHint},
        {ui.sldData,
         QStringLiteral("生成する予想番号を、過去の出現回数の多い数字か少ない数字のどちらかに偏らせる"
                        "ことができます。")},
        {ui.chkConsecut, QStringLiteral("チェックを入れると連番が発生します")},
        {ui.cmdGen, QStringLiteral("予想番号を生成します。")},
        {ui.Check1, QStringLiteral("チェックを入れると過去の当選データを編集できます。")},
    };
    for (const auto& [widget, text] : hints) {
        SCOPED_TRACE(widget->objectName().toStdString());
        window.setStatusText(kept);
        hover(widget);
        EXPECT_EQ(status(), text);
    }
}

TEST_F(MainWindowHints, FramesShowTheirHintOnlyOverTheirOwnArea)
{
    hover(ui.Carry, ownArea(ui.Carry));
    EXPECT_EQ(status(), QStringLiteral("発生を許可するキャリーの個数を選択します。"));
    hover(ui.Frame3, ownArea(ui.Frame3));
    const QString frame3 = QStringLiteral("1回で生成する予想番号の数を1組～100組の間で選択できます。");
    EXPECT_EQ(status(), frame3);

    // Over the slider inside Frame3 the text stays that of the frame.
    hover(ui.sldCount);
    EXPECT_EQ(status(), frame3);
    // Over an option button inside Carry nothing changes either.
    window.setStatusText(kept);
    hover(ui.CarryNumber[0]);
    EXPECT_EQ(status(), kept);
}

TEST_F(MainWindowHints, WindowBackgroundFrame1AndFraOptionBlankTheLineWithOneSpace)
{
    for (QWidget* blanking :
         {window.centralWidget(), static_cast<QWidget*>(ui.Frame1), static_cast<QWidget*>(ui.fraOption)}) {
        SCOPED_TRACE(blanking->objectName().toStdString());
        window.setStatusText(kept);
        hover(blanking, blanking == window.centralWidget() ? QPoint(5, 5) : ownArea(blanking));
        EXPECT_EQ(status(), QStringLiteral(" "));
    }
}

TEST_F(MainWindowHints, ControlsWithoutAHintLeaveTheTextAlone)
{
    const QList<QWidget*> silent{ui.Label8, ui.sldCount,     ui.CarryNumber[0], ui.Text3,
                                 ui.Text9,  ui.ProgressBar1, ui.StatusBar2};
    for (QWidget* widget : silent) {
        SCOPED_TRACE(widget->objectName().toStdString());
        window.setStatusText(kept);
        hover(widget);
        EXPECT_EQ(status(), kept);
    }
    for (QWidget* frame : {ui.Frame2, ui.Frame4, ui.Frame5}) {
        SCOPED_TRACE(frame->objectName().toStdString());
        window.setStatusText(kept);
        hover(frame, ownArea(frame));
        EXPECT_EQ(status(), kept);
    }
}

TEST_F(MainWindowHints, DisabledControlCountsAsItsContainer)
{
    // At opening the editor's buttons are disabled: the pointer is over Frame1, which blanks.
    window.setStatusText(kept);
    hover(ui.Reading);
    EXPECT_EQ(status(), QStringLiteral(" "));
    window.setStatusText(kept);
    hover(ui.Delete);
    EXPECT_EQ(status(), QStringLiteral(" "));

    // Once enabled (edit mode) they show their own hints.
    for (QPushButton* button : {ui.Reading, ui.Writing, ui.Delete})
        button->setEnabled(true);
    hover(ui.Reading);
    EXPECT_EQ(status(), QStringLiteral("抽選回数で指定した回の当選データを読み込みます。"));
    hover(ui.Writing);
    EXPECT_EQ(status(),
              QStringLiteral("指定した回の当選データとして、現在入力されている番号を書き込みます。"));
    hover(ui.Delete);
    EXPECT_EQ(status(), QStringLiteral("最新回の当選データを削除します。"));

    // With the weighting off, the options and sldData fall through to Frame5, which has no hint.
    click(ui.chkData);
    for (QWidget* widget : {static_cast<QWidget*>(ui.optData[0]), static_cast<QWidget*>(ui.sldData)}) {
        SCOPED_TRACE(widget->objectName().toStdString());
        window.setStatusText(kept);
        hover(widget);
        EXPECT_EQ(status(), kept);
    }
    // A disabled sldNum falls through to Frame4, also without a hint.
    click(ui.chkNum);
    window.setStatusText(kept);
    hover(ui.sldNum);
    EXPECT_EQ(status(), kept);
}

TEST_F(MainWindowHints, HiddenChkConsecutLeavesFraOptionUnderThePointer)
{
    ui.sldNum->setValue(1);
    ASSERT_TRUE(ui.chkConsecut->isHidden());
    window.setStatusText(kept);
    hover(ui.fraOption, ui.chkConsecut->geometry().center());
    EXPECT_EQ(status(), QStringLiteral(" "));
}

TEST_F(MainWindowHints, HintStaysUntilSomethingReplacesIt)
{
    hover(ui.cmdGen);
    hover(ui.Label1);
    EXPECT_EQ(status(), QStringLiteral("予想番号を生成します。"));
    window.setStatusText(QStringLiteral("予想番号が出ました。当たるといいですね。"));
    hover(ui.sldCurrentData); // disabled, inside Frame5: no hint
    EXPECT_EQ(status(), QStringLiteral("予想番号が出ました。当たるといいですね。"));
}

} // namespace
} // namespace zentrix::test
