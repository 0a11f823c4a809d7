// The history editor through the real controls of frmMain: typing, clicking and answering its
// message boxes, with the history file's bytes checked after each change.
#include "store/HistoryEditor.h"
#include "support/QtTestSupport.h"
#include "ui/common/MessageBox.h"
#include "ui/main_window/MainWindowFixture.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <optional>

namespace zentrix::test {
namespace {

using ui::MessageBox;

QColor systemColour(QPalette::ColorRole role)
{
    return QApplication::palette().color(QPalette::Active, role);
}

QColor background(const QLineEdit* field, QPalette::ColorGroup group = QPalette::Active)
{
    return field->palette().color(group, QPalette::Base);
}

class HistoryEditorGuiTest : public MainWindowFixture
{
protected:
    void open(const std::vector<DrawRecord>& records)
    {
        reload(records);
        showWindow();
    }

    void TearDown() override { MessageBox::setInterceptor({}); }

    void switchEditMode() { click(ui.Check1); }

    void typeInto(QLineEdit* field, const QString& text)
    {
        field->clear();
        QTest::keyClicks(field, text);
    }

    void enter(const QStringList& numbers, const QString& bonus)
    {
        for (int i = 0; i < 6; ++i)
            typeInto(ui.Text2[static_cast<std::size_t>(i)], numbers[i]);
        typeInto(ui.Text8, bonus);
    }

    std::vector<DrawRecord> records() const { return ReadRecords(dir / "Loto6data.dt"); }
};

TEST_F(HistoryEditorGuiTest, Check1SwitchesTheFieldsAndButtonsWithTheirColours)
{
    open({});
    EXPECT_FALSE(ui.Writing->isEnabled());

    switchEditMode();
    ASSERT_TRUE(ui.Check1->isChecked());
    for (QLineEdit* field : {ui.Text1, ui.Text2[0], ui.Text2[5], ui.Text8}) {
        EXPECT_TRUE(field->isEnabled()) << field->objectName().toStdString();
        EXPECT_EQ(background(field), systemColour(QPalette::Base));
    }
    for (QPushButton* button : {ui.Reading, ui.Writing, ui.Delete})
        EXPECT_TRUE(button->isEnabled());

    switchEditMode();
    for (QLineEdit* field : {ui.Text1, ui.Text2[3], ui.Text8}) {
        EXPECT_FALSE(field->isEnabled());
        EXPECT_EQ(background(field, QPalette::Disabled), systemColour(QPalette::Button));
    }
    EXPECT_FALSE(ui.Delete->isEnabled());
}

TEST_F(HistoryEditorGuiTest, TypedDrawIsWrittenReadBackCorrectedAndDeleted)
{
    open({Draw({1, 2, 3, 4, 5, 6}, 7)});
    EXPECT_EQ(ui.Text9->text(), "2");
    switchEditMode();

    enter({"3", "11", "18", "25", "36", "42"}, "7");
    QTest::mouseClick(ui.Writing, Qt::LeftButton);
    EXPECT_EQ(ReadBytes(dir / "Loto6data.dt").size(), 32u);
    EXPECT_EQ(records().at(1), Draw({3, 11, 18, 25, 36, 42}, 7));
    EXPECT_EQ(ui.Text9->text(), "3");
    EXPECT_EQ(window.Latest(), 2);
    EXPECT_EQ(ui.Text1->text(), "3");
    EXPECT_TRUE(ui.Text2[0]->text().isEmpty());

    typeInto(ui.Text1, "2");
    QTest::mouseClick(ui.Reading, Qt::LeftButton);
    EXPECT_EQ(ui.Text2[2]->text(), "18");
    EXPECT_EQ(ui.Text8->text(), "7");

    typeInto(ui.Text2[5], "43");
    QTest::mouseClick(ui.Writing, Qt::LeftButton);
    EXPECT_EQ(records().at(1), Draw({3, 11, 18, 25, 36, 43}, 7));
    EXPECT_EQ(ui.Text9->text(), "3");

    QTest::mouseClick(ui.Delete, Qt::LeftButton);
    EXPECT_EQ(records().at(1), Draw({0, 0, 0, 0, 0, 0}, 0));
    EXPECT_EQ(ui.Text9->text(), "2");
    EXPECT_EQ(window.Latest(), 1);
}

TEST_F(HistoryEditorGuiTest, RejectedEntryHighlightsTheFieldWhileTheBoxIsOpen)
{
    open({});
    const auto before = ReadBytes(dir / "Loto6data.dt");
    switchEditMode();
    enter({"10", "5", "20", "25", "30", "35"}, "7");

    std::vector<MessageBox::Shown> shown;
    std::optional<QColor> colourWhileOpen;
    QString statusWhileOpen;
    MessageBox::setInterceptor([&](const MessageBox::Shown& box) {
        shown.push_back(box);
        colourWhileOpen = background(ui.Text2[0]);
        statusWhileOpen = window.statusText();
    });
    QTest::mouseClick(ui.Writing, Qt::LeftButton);

    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].title, "入力エラー");
    EXPECT_EQ(shown[0].icon, MessageBox::Icon::Exclamation);
    EXPECT_EQ(shown[0].text, QString::fromUtf8(editor_text::kOrderMessage.data(),
                                               static_cast<qsizetype>(editor_text::kOrderMessage.size())));
    EXPECT_EQ(colourWhileOpen, systemColour(QPalette::Highlight));
    EXPECT_EQ(statusWhileOpen, "入力値のエラーです。入力し直して下さい。");

    EXPECT_EQ(background(ui.Text2[0]), systemColour(QPalette::Base));
    EXPECT_TRUE(ui.Text2[0]->text().isEmpty());
    EXPECT_TRUE(QTest::qWaitFor([&] { return ui.Text2[0]->hasFocus(); }));
    EXPECT_EQ(ui.Text2[1]->text(), "5");
    EXPECT_EQ(ReadBytes(dir / "Loto6data.dt"), before);
}

} // namespace
} // namespace zentrix::test
