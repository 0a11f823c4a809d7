// The main window as it opens: every control in place with its caption, font, range and value.
#include "support/QtTestSupport.h"
#include "ui/common/Fonts.h"
#include "ui/main_window/MainWindowFixture.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QFontInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <cmath>

namespace zentrix::test {
namespace {

using MainWindowLayout = MainWindowFixture;

struct Placement
{
    const char* name;
    const char* container;
    int left, top, width, height; // twips, as in the window's design
};

// clang-format off
const Placement kDesign[] = {
    {"Label6", "clientArea", 4320, 0, 375, 375},
    {"Text9", "clientArea", 4680, 0, 975, 495},
    {"Label7", "clientArea", 5640, 0, 1095, 375},
    {"fraOption", "clientArea", 120, 600, 10695, 3975},
    {"chkConsecut", "fraOption", 120, 480, 1815, 255},
    {"Carry", "fraOption", 2040, 240, 2895, 615},
    {"CarryNumber_0", "Carry", 240, 240, 615, 255},
    {"CarryNumber_1", "Carry", 1080, 240, 735, 255},
    {"CarryNumber_2", "Carry", 1920, 240, 735, 255},
    {"Frame3", "fraOption", 120, 960, 4815, 975},
    {"Label8", "Frame3", 240, 240, 135, 255},
    {"Label10", "Frame3", 2160, 240, 375, 255},
    {"Label9", "Frame3", 4440, 240, 255, 255},
    {"sldCount", "Frame3", 120, 480, 4455, 375},
    {"Frame4", "fraOption", 120, 2040, 4815, 1695},
    {"chkNum", "Frame4", 120, 240, 3975, 255},
    {"Label1", "Frame4", 120, 600, 735, 255},
    {"Label4", "Frame4", 3960, 600, 735, 255},
    {"sldNum", "Frame4", 120, 840, 4455, 375},
    {"Label13", "Frame4", 1080, 1380, 1335, 195},
    {"Text3", "Frame4", 2400, 1320, 855, 255},
    {"Frame5", "fraOption", 5400, 240, 5175, 3015},
    {"chkData", "Frame5", 120, 240, 3255, 255},
    {"optData_0", "Frame5", 120, 720, 4695, 180},
    {"Label11", "Frame5", 120, 960, 975, 375},
    {"Label12", "Frame5", 3960, 960, 1095, 375},
    {"sldData", "Frame5", 120, 1320, 4935, 375},
    {"optData_1", "Frame5", 120, 1920, 4575, 180},
    {"Label15", "Frame5", 120, 2160, 1095, 375},
    {"Label14", "Frame5", 3960, 2160, 1095, 375},
    {"sldCurrentData", "Frame5", 120, 2520, 4935, 375},
    {"cmdGen", "fraOption", 5400, 3480, 5175, 375},
    {"Frame1", "clientArea", 120, 4920, 10695, 1815},
    {"Check1", "Frame1", 360, 360, 2295, 255},
    {"Reading", "Frame1", 240, 720, 4695, 375},
    {"Writing", "Frame1", 240, 1200, 2775, 375},
    {"Delete", "Frame1", 3240, 1200, 1695, 375},
    {"Label2", "Frame1", 3240, 360, 1095, 255},
    {"Text1", "Frame1", 4320, 240, 375, 375},
    {"Label3", "Frame1", 4800, 360, 255, 255},
    {"Frame2", "Frame1", 5400, 360, 5175, 1095},
    {"Text2_0", "Frame2", 360, 480, 375, 375},
    {"Text2_1", "Frame2", 960, 480, 375, 375},
    {"Text2_2", "Frame2", 1560, 480, 375, 375},
    {"Text2_3", "Frame2", 2160, 480, 375, 375},
    {"Text2_4", "Frame2", 2760, 480, 375, 375},
    {"Text2_5", "Frame2", 3360, 480, 375, 375},
    {"Label5", "Frame2", 3960, 240, 1095, 255},
    {"Text8", "Frame2", 4320, 480, 375, 375},
    {"ProgressBar1", "clientArea", 120, 7080, 10815, 255},
    {"StatusBar1", "clientArea", 0, 7320, 10995, 30},
    {"StatusBar2", "clientArea", 0, 7350, 10995, 375},
};

const std::pair<const char*, const char*> kCaptions[] = {
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

int Pixels(int twips)
{
    return int(std::lround(twips / 15.0));
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

TEST_F(MainWindowLayout, EveryControlSitsInItsContainerAtItsDesignPosition)
{
    for (const Placement& p : kDesign) {
        SCOPED_TRACE(p.name);
        auto* widget = Child<QWidget>(&window, QString::fromLatin1(p.name));
        ASSERT_NE(widget, nullptr);
        ASSERT_NE(widget->parentWidget(), nullptr);
        EXPECT_EQ(widget->parentWidget()->objectName(), QString::fromLatin1(p.container));
        EXPECT_EQ(widget->geometry(),
                  QRect(Pixels(p.left), Pixels(p.top), Pixels(p.width), Pixels(p.height)));
    }
}

TEST_F(MainWindowLayout, ControlsHaveTheKindsTheirUsersExpect)
{
    EXPECT_EQ(ui.Text9->metaObject(), &QLineEdit::staticMetaObject);
    EXPECT_EQ(ui.sldCount->orientation(), Qt::Horizontal);
    EXPECT_EQ(ui.sldNum->orientation(), Qt::Horizontal);
    EXPECT_EQ(ui.sldData->orientation(), Qt::Horizontal);
    EXPECT_EQ(ui.sldCurrentData->orientation(), Qt::Horizontal);
    // The struct hands out the very widgets that carry the design names.
    EXPECT_EQ(ui.Text2[4], Child<QLineEdit>(&window, QStringLiteral("Text2_4")));
    EXPECT_EQ(ui.CarryNumber[2], Child<QRadioButton>(&window, QStringLiteral("CarryNumber_2")));
    EXPECT_EQ(ui.optData[1], Child<QRadioButton>(&window, QStringLiteral("optData_1")));
    EXPECT_EQ(ui.CarryNumberGroup->id(ui.CarryNumber[2]), 2);
    EXPECT_EQ(ui.optDataGroup->id(ui.optData[1]), 1);
    EXPECT_TRUE(ui.CarryNumberGroup->exclusive());
}

TEST_F(MainWindowLayout, CaptionsAreTheDesignTextsExactly)
{
    for (const auto& [name, caption] : kCaptions) {
        SCOPED_TRACE(name);
        auto* widget = Child<QWidget>(&window, QString::fromLatin1(name));
        ASSERT_NE(widget, nullptr);
        EXPECT_EQ(CaptionOf(widget), QString::fromUtf8(caption));
    }
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
    EXPECT_FALSE(window.windowIcon().isNull());
}

TEST_F(MainWindowLayout, FontsFollowTheDesign)
{
    auto face = [](QWidget* w) { return w->font().family(); };
    EXPECT_EQ(face(ui.chkNum), ui::kGothicFace);
    EXPECT_EQ(ui.chkNum->font().pointSizeF(), 9.0);
    EXPECT_EQ(face(ui.cmdGen), ui::kGothicFace);
    for (QWidget* heading : {static_cast<QWidget*>(ui.Label6), static_cast<QWidget*>(ui.Text9),
                             static_cast<QWidget*>(ui.Label7)}) {
        EXPECT_EQ(face(heading), ui::kGothicFace);
        EXPECT_EQ(heading->font().pointSizeF(), 18.0);
    }
    EXPECT_EQ(ui.Text3->font().pointSizeF(), 12.0);
    EXPECT_EQ(face(ui.StatusBar2), ui::kPGothicFace);
    EXPECT_EQ(ui.StatusBar2->font().pointSizeF(), 9.0);
    for (QRadioButton* option : ui.optData) {
        EXPECT_NE(face(option), ui::kGothicFace);
        EXPECT_EQ(option->font().pointSizeF(), 9.0);
    }
    // The design's Windows faces resolve to a real installed face, never to a box-drawing fallback.
    EXPECT_FALSE(QFontInfo(ui.chkNum->font()).family().isEmpty());
}

TEST_F(MainWindowLayout, SettingsOpenWithTheirDesignValues)
{
    EXPECT_TRUE(ui.chkConsecut->isChecked());
    EXPECT_FALSE(ui.chkConsecut->isHidden());
    EXPECT_FALSE(ui.CarryNumber[0]->isChecked());
    EXPECT_TRUE(ui.CarryNumber[1]->isChecked());
    EXPECT_FALSE(ui.CarryNumber[2]->isChecked());
    EXPECT_EQ(ui.CarryNumberGroup->checkedId(), 1);

    EXPECT_EQ(ui.sldCount->minimum(), 1);
    EXPECT_EQ(ui.sldCount->maximum(), 100);
    EXPECT_EQ(ui.sldCount->value(), 5);
    EXPECT_EQ(ui.sldCount->singleStep(), 1);
    EXPECT_EQ(ui.sldCount->tickInterval(), 10);
    EXPECT_NE(ui.sldCount->tickPosition(), QSlider::NoTicks);

    EXPECT_TRUE(ui.chkNum->isChecked());
    EXPECT_EQ(ui.sldNum->minimum(), 1);
    EXPECT_EQ(ui.sldNum->maximum(), 7);
    EXPECT_EQ(ui.sldNum->value(), 4);
    EXPECT_EQ(ui.sldNum->singleStep(), 1);
    EXPECT_TRUE(ui.sldNum->isEnabled());
    EXPECT_EQ(ui.Text3->text(), QStringLiteral("3 : 3"));

    EXPECT_TRUE(ui.chkData->isChecked());
    EXPECT_TRUE(ui.optData[0]->isChecked());
    EXPECT_TRUE(ui.optData[0]->isEnabled());
    EXPECT_FALSE(ui.optData[1]->isChecked());
    EXPECT_TRUE(ui.optData[1]->isEnabled());
    for (QSlider* slider : {ui.sldData, ui.sldCurrentData}) {
        EXPECT_EQ(slider->minimum(), 1);
        EXPECT_EQ(slider->maximum(), 3);
        EXPECT_EQ(slider->value(), 1);
        EXPECT_EQ(slider->singleStep(), 1);
    }
    EXPECT_TRUE(ui.sldData->isEnabled());
    EXPECT_FALSE(ui.sldCurrentData->isEnabled());
    EXPECT_TRUE(ui.cmdGen->isEnabled());
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

TEST_F(MainWindowLayout, BottomOfTheWindowOpensEmpty)
{
    EXPECT_EQ(ui.ProgressBar1->minimum(), 0);
    EXPECT_EQ(ui.ProgressBar1->maximum(), 100);
    EXPECT_EQ(ui.ProgressBar1->value(), 0);
    EXPECT_FALSE(ui.ProgressBar1->isTextVisible());
    EXPECT_TRUE(ui.StatusBar2->text().isEmpty());
    EXPECT_EQ(ui.StatusBar1->height(), 2);
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

TEST_F(MainWindowLayout, SlidersStayInsideTheirRanges)
{
    ui.sldCount->setValue(101);
    EXPECT_EQ(ui.sldCount->value(), 100);
    ui.sldCount->setValue(0);
    EXPECT_EQ(ui.sldCount->value(), 1);
    ui.sldNum->setValue(8);
    EXPECT_EQ(ui.sldNum->value(), 7);
    ui.sldData->setValue(4);
    EXPECT_EQ(ui.sldData->value(), 3);
    ui.sldCurrentData->setValue(0);
    EXPECT_EQ(ui.sldCurrentData->value(), 1);
}

// --- Text9 and the load step ----------------------------------------------------------------------

TEST(MainWindowLoad, EmptyOrMissingHistoryShowsDrawOne)
{
    TempDir dir;
    HistoryFile history(dir / "Loto6data.dt");
    ui::MainWindow window(history);
    ASSERT_TRUE(window.load());
    EXPECT_TRUE(history.IsOpen());
    EXPECT_EQ(window.Latest(), 0);
    EXPECT_EQ(window.controls().Text9->text(), QStringLiteral("1"));
}

TEST(MainWindowLoad, Text9ShowsTheDrawAfterTheLatestStoredOne)
{
    TempDir dir;
    // Three draws, then two slots left empty by deletions: the next draw is No. 4.
    WriteHistory(dir / "Loto6data.dt",
                 {Draw({1, 2, 3, 4, 5, 6}, 7), Draw({3, 11, 18, 25, 36, 42}, 7),
                  Draw({5, 9, 13, 21, 30, 41}, 2), Draw({0, 0, 0, 0, 0, 0}, 0), Draw({0, 0, 0, 0, 0, 0}, 0)});
    HistoryFile history(dir / "Loto6data.dt");
    ui::MainWindow window(history);
    ASSERT_TRUE(window.load());
    EXPECT_EQ(window.Latest(), 3);
    EXPECT_EQ(window.controls().Text9->text(), QStringLiteral("4"));

    window.setLatest(2036);
    EXPECT_EQ(window.Latest(), 2036);
    EXPECT_EQ(window.controls().Text9->text(), QStringLiteral("2037"));
}

TEST(MainWindowLoad, RealHistoryShowsTheNextDraw)
{
    ZENTRIX_REAL_HISTORY_OR_SKIP(draws);
    TempDir dir;
    WriteHistory(dir / "Loto6data.dt", draws);
    HistoryFile history(dir / "Loto6data.dt");
    ui::MainWindow window(history);
    ASSERT_TRUE(window.load());
    EXPECT_EQ(window.controls().Text9->text(), QString::number(draws.size() + 1));
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
