// The main window as it opens: every control where the window's table puts it, a few positions
// checked against the design's own figures, captions, fonts, ranges and opening values.
#include "ui/main_window/MainWindowLayout.h"

#include "support/QtTestSupport.h"
#include "ui/common/Fonts.h"
#include "ui/main_window/MainWindowFixture.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>

namespace zentrix::test {
namespace {

using MainWindowLayout = MainWindowFixture;

QRect Pixels(int left, int top, int width, int height)
{
    // 15 twips make one pixel; every figure of the window is a multiple of 15.
    return QRect(left / 15, top / 15, width / 15, height / 15);
}

QString CaptionOf(QWidget* widget)
{
    if (auto* box = qobject_cast<QGroupBox*>(widget))
        return box->title();
    if (auto* button = qobject_cast<QAbstractButton*>(widget))
        return button->text();
    if (auto* label = qobject_cast<QLabel*>(widget))
        return label->text();
    if (auto* edit = qobject_cast<QLineEdit*>(widget))
        return edit->text();
    return {};
}

TEST_F(MainWindowLayout, EveryControlSitsWhereTheTableSays)
{
    int placed = 0;
    for (const ui::ControlPlacement& control : ui::MainWindowPlacements()) {
        const QString name = ui::ControlObjectName(control);
        SCOPED_TRACE(name.toStdString());
        auto* widget = Child<QWidget>(&window, name);
        ASSERT_NE(widget, nullptr);
        ASSERT_NE(widget->parentWidget(), nullptr);
        EXPECT_EQ(widget->parentWidget()->objectName(),
                  control.container ? QString::fromLatin1(control.container) : QStringLiteral("clientArea"));
        EXPECT_EQ(widget->geometry(), Pixels(control.left, control.top, control.width, control.height));
        // A slip of a digit in the table shows as a control outside its container.
        EXPECT_TRUE(QRect(QPoint(), widget->parentWidget()->size()).contains(widget->geometry()));
        ++placed;
    }
    // Nothing of the client area is placed outside the table.
    int named = 0;
    for (const QWidget* child : window.centralWidget()->findChildren<QWidget*>())
        named += !child->objectName().isEmpty() && !child->objectName().startsWith(QStringLiteral("qt_"));
    EXPECT_EQ(named, placed);
}

TEST_F(MainWindowLayout, TheTableHoldsTheDesignPositions)
{
    struct Design
    {
        const char* name;
        const char* container;
        QRect pixels;
    };
    // The client area's big frames and bottom edge, one control in each frame, and cmdGen.
    const Design design[] = {
        {"fraOption", "clientArea", Pixels(120, 600, 10695, 3975)},
        {"Frame1", "clientArea", Pixels(120, 4920, 10695, 1815)},
        {"StatusBar2", "clientArea", Pixels(0, 7350, 10995, 375)},
        {"CarryNumber_2", "Carry", Pixels(1920, 240, 735, 255)},
        {"sldCount", "Frame3", Pixels(120, 480, 4455, 375)},
        {"Text3", "Frame4", Pixels(2400, 1320, 855, 255)},
        {"sldCurrentData", "Frame5", Pixels(120, 2520, 4935, 375)},
        {"Text2_5", "Frame2", Pixels(360 + 600 * 5, 480, 375, 375)},
        {"cmdGen", "fraOption", Pixels(5400, 3480, 5175, 375)},
    };
    for (const Design& d : design) {
        SCOPED_TRACE(d.name);
        auto* widget = Child<QWidget>(&window, QString::fromLatin1(d.name));
        ASSERT_NE(widget, nullptr);
        EXPECT_EQ(widget->parentWidget()->objectName(), QString::fromLatin1(d.container));
        EXPECT_EQ(widget->geometry(), d.pixels);
    }
}

TEST_F(MainWindowLayout, CaptionsAreTheDesignTextsExactly)
{
    // clang-format off
    const std::pair<const char*, const char*> captions[] = {
        {"Label6", "第"}, {"Label7", "回予想"},
        {"fraOption", "分析設定"}, {"chkConsecut", "連番を出現させる"}, {"Carry", "キャリーの個数"},
        {"CarryNumber_0", "0個"}, {"CarryNumber_1", "1個"}, {"CarryNumber_2", "2個"},
        {"Frame3", "同時予想回数"}, {"Label8", "1"}, {"Label10", "50"}, {"Label9", "100"},
        {"Frame4", "偶数／奇数の偏り"}, {"chkNum", "偶数／奇数の偏りを有効にする"},
        {"Label1", "偶数寄り"}, {"Label4", "奇数寄り"}, {"Label13", "偶数 : 奇数 ="}, {"Text3", "3 : 3"},
        {"Frame5", "データ反映度の重み付け"}, {"chkData", "データ反映の重み付けを有効にする"},
        {"optData_0", "総出現回数に対するデータの偏りによる重み付けを使用"},
        {"Label11", "総出現回数の多い数字"}, {"Label12", "総出現回数の少ない数字"},
        {"optData_1", "時間軸に対するデータの偏りによる重み付けを使用"},
        {"Label15", "最近よく　　出ている数字"}, {"Label14", "最近あまり　出てない数字"},
        {"cmdGen", "ジェネレート"},
        {"Frame1", "データベース編集"}, {"Check1", "過去のデータを編集する"}, {"Reading", "読み込み"},
        {"Writing", "書き込み"}, {"Delete", "最新回を削除"}, {"Label2", "抽選回数　第"}, {"Label3", "回"},
        {"Frame2", "当選番号"}, {"Label5", "ボーナス番号"},
    };
    // clang-format on
    for (const auto& [name, caption] : captions) {
        SCOPED_TRACE(name);
        auto* widget = Child<QWidget>(&window, QString::fromLatin1(name));
        ASSERT_NE(widget, nullptr);
        EXPECT_EQ(CaptionOf(widget), QString::fromUtf8(caption));
    }
    // The struct hands out the very widgets that carry the design names.
    EXPECT_EQ(ui.Text2[4], Child<QLineEdit>(&window, QStringLiteral("Text2_4")));
    EXPECT_EQ(ui.CarryNumber[2], Child<QRadioButton>(&window, QStringLiteral("CarryNumber_2")));
    EXPECT_EQ(ui.optData[1], Child<QRadioButton>(&window, QStringLiteral("optData_1")));
}

TEST_F(MainWindowLayout, WindowIsFixedWithTheDesignClientAreaBelowTheMenuBar)
{
    showWindow();
    EXPECT_EQ(window.objectName(), QStringLiteral("frmMain"));
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Zentrix - Ver2.2.2"));
    EXPECT_EQ(window.centralWidget()->size(), QSize(733, 515));
    EXPECT_EQ(window.minimumSize(), window.maximumSize());
    EXPECT_EQ(window.size(), window.maximumSize());
    EXPECT_LE(window.menuBar()->geometry().bottom(), window.centralWidget()->geometry().top());
    EXPECT_EQ(window.windowIcon().pixmap(QSize(32, 32)).size(), QSize(32, 32));
}

TEST_F(MainWindowLayout, FontsFollowTheDesign)
{
    struct Font
    {
        QWidget* widget;
        QString face;
        double points;
    };
    const Font fonts[] = {
        {ui.chkNum, ui::kGothicFace, 9},      {ui.cmdGen, ui::kGothicFace, 9},
        {ui.Label6, ui::kGothicFace, 18},     {ui.Text9, ui::kGothicFace, 18},
        {ui.Label7, ui::kGothicFace, 18},     {ui.Text3, ui::kGothicFace, 12},
        {ui.StatusBar2, ui::kPGothicFace, 9},
    };
    for (const Font& f : fonts) {
        SCOPED_TRACE(f.widget->objectName().toStdString());
        EXPECT_EQ(f.widget->font().family(), f.face);
        EXPECT_EQ(f.widget->font().pointSizeF(), f.points);
    }
    // The two long options keep the window system's face, not the window's.
    for (QRadioButton* option : ui.optData) {
        EXPECT_NE(option->font().family(), ui::kGothicFace);
        EXPECT_EQ(option->font().pointSizeF(), 9.0);
    }
}

TEST_F(MainWindowLayout, SettingsOpenWithTheirDesignValues)
{
    struct Slider
    {
        QSlider* slider;
        int minimum, maximum, value;
        bool enabled;
    };
    const Slider sliders[] = {
        {ui.sldCount, 1, 100, 5, true},
        {ui.sldNum, 1, 7, 4, true},
        {ui.sldData, 1, 3, 1, true},
        {ui.sldCurrentData, 1, 3, 1, false},
    };
    for (const Slider& s : sliders) {
        SCOPED_TRACE(s.slider->objectName().toStdString());
        EXPECT_EQ(s.slider->minimum(), s.minimum);
        EXPECT_EQ(s.slider->maximum(), s.maximum);
        EXPECT_EQ(s.slider->value(), s.value);
        EXPECT_EQ(s.slider->isEnabled(), s.enabled);
        EXPECT_EQ(s.slider->singleStep(), 1);
        EXPECT_EQ(s.slider->orientation(), Qt::Horizontal);
    }
    EXPECT_EQ(ui.sldCount->tickInterval(), 10);

    EXPECT_TRUE(ui.chkConsecut->isChecked());
    EXPECT_FALSE(ui.chkConsecut->isHidden());
    EXPECT_EQ(ui.CarryNumberGroup->checkedId(), 1);
    EXPECT_TRUE(ui.chkNum->isChecked());
    EXPECT_EQ(ui.Text3->text(), QStringLiteral("3 : 3"));
    EXPECT_TRUE(ui.chkData->isChecked());
    EXPECT_TRUE(ui.optData[0]->isChecked());
    EXPECT_FALSE(ui.optData[1]->isChecked());
    EXPECT_TRUE(ui.optData[0]->isEnabled());
    EXPECT_TRUE(ui.optData[1]->isEnabled());
    EXPECT_TRUE(ui.cmdGen->isEnabled());

    // An empty history: the heading names draw 1.
    EXPECT_TRUE(history.IsOpen());
    EXPECT_EQ(window.Latest(), 0);
    EXPECT_EQ(ui.Text9->text(), QStringLiteral("1"));
    EXPECT_EQ(ui.ProgressBar1->minimum(), 0);
    EXPECT_EQ(ui.ProgressBar1->maximum(), 100);
    EXPECT_EQ(ui.ProgressBar1->value(), 0);
    EXPECT_FALSE(ui.ProgressBar1->isTextVisible());
    EXPECT_TRUE(ui.StatusBar2->text().isEmpty());
}

TEST_F(MainWindowLayout, EditorOpensSwitchedOffWithEmptyFieldsOnTheButtonFace)
{
    EXPECT_FALSE(ui.Check1->isChecked());
    EXPECT_TRUE(ui.Check1->isEnabled());
    for (QPushButton* button : {ui.Reading, ui.Writing, ui.Delete})
        EXPECT_FALSE(button->isEnabled()) << button->objectName().toStdString();
    QList<QLineEdit*> fields{ui.Text1, ui.Text8};
    fields.append(QList<QLineEdit*>(ui.Text2.begin(), ui.Text2.end()));
    for (QLineEdit* field : fields) {
        SCOPED_TRACE(field->objectName().toStdString());
        EXPECT_FALSE(field->isEnabled());
        EXPECT_TRUE(field->text().isEmpty());
        EXPECT_EQ(field->palette().color(QPalette::Base), field->palette().color(QPalette::Button));
    }
    for (QLineEdit* field : {ui.Text9, ui.Text3})
        EXPECT_EQ(field->palette().color(QPalette::Base), field->palette().color(QPalette::Button));
    // An ordinary text box keeps the window background, so the colour really was set.
    EXPECT_NE(QLineEdit().palette().color(QPalette::Base), ui.Text9->palette().color(QPalette::Base));
}

TEST_F(MainWindowLayout, FocusStartsOnChkConsecutFirstInTabOrder)
{
    showWindow();
    EXPECT_EQ(QApplication::focusWidget(), ui.chkConsecut);
    // chkConsecut is also the first control that the Tab key reaches in the window's chain.
    QWidget* first = nullptr;
    for (QWidget* w = window.nextInFocusChain(); w != &window; w = w->nextInFocusChain()) {
        if ((w->focusPolicy() & Qt::TabFocus) && w->isEnabled() && w->isVisible()) {
            first = w;
            break;
        }
    }
    EXPECT_EQ(first, ui.chkConsecut);
    // Shift+Tab from chkConsecut goes to the heading field, the last in the order.
    QTest::keyClick(ui.chkConsecut, Qt::Key_Backtab);
    EXPECT_EQ(QApplication::focusWidget(), ui.Text9);
}

// --- Text9 and the load step ----------------------------------------------------------------------

TEST_F(MainWindowLayout, Text9ShowsTheDrawAfterTheLatestStoredOne)
{
    // Three draws, then two slots left empty by deletions: the next draw is No. 4.
    reload({Draw({1, 2, 3, 4, 5, 6}, 7), Draw({3, 11, 18, 25, 36, 42}, 7), Draw({5, 9, 13, 21, 30, 41}, 2),
            Draw({0, 0, 0, 0, 0, 0}, 0), Draw({0, 0, 0, 0, 0, 0}, 0)});
    EXPECT_EQ(window.Latest(), 3);
    EXPECT_EQ(ui.Text9->text(), QStringLiteral("4"));

    window.setLatest(2036);
    EXPECT_EQ(window.Latest(), 2036);
    EXPECT_EQ(ui.Text9->text(), QStringLiteral("2037"));
}

TEST(MainWindowLoad, FailureToOpenTheHistoryIsReturnedAfterTheSettingsAreSet)
{
    TempDir dir;
    // A folder where the data file belongs cannot be opened as the history.
    std::filesystem::create_directory(dir / "Loto6data.dt");
    HistoryFile history(dir / "Loto6data.dt");
    ui::MainWindow window(history);
    const StoreStatus opened = window.load();
    EXPECT_FALSE(opened);
    EXPECT_FALSE(history.IsOpen());
    EXPECT_TRUE(window.controls().Text9->text().isEmpty());
    EXPECT_TRUE(window.controls().optData[0]->isChecked());
    EXPECT_TRUE(window.controls().CarryNumber[1]->isChecked());
}

} // namespace
} // namespace zentrix::test
