// The history editor through the real controls of frmMain: typing, clicking and answering its
// message boxes, with the history file's bytes checked after each change.
#include "store/HistoryEditor.h"
#include "store/HistoryFile.h"
#include "support/HistoryFixtures.h"
#include "support/QtTestSupport.h"
#include "support/TempDir.h"
#include "ui/common/MessageBox.h"
#include "ui/main_window/MainWindow.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>
#include <optional>
#include <vector>

namespace zentrix::ui {
namespace {

using test::Draw;

QColor systemColour(QPalette::ColorRole role)
{
    return QApplication::palette().color(QPalette::Active, role);
}

QColor background(const QLineEdit* field, QPalette::ColorGroup group = QPalette::Active)
{
    return field->palette().color(group, QPalette::Base);
}

class HistoryEditorGuiTest : public ::testing::Test
{
protected:
    void open(const std::vector<DrawRecord>& records)
    {
        test::WriteHistory(m_dir / "Loto6data.dt", records);
        m_history = std::make_unique<HistoryFile>(m_dir / "Loto6data.dt");
        m_window = std::make_unique<MainWindow>(*m_history);
        ASSERT_TRUE(m_window->load());
        m_window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(m_window.get()));
        m_window->activateWindow();
        m_ui = &m_window->controls();
    }

    void TearDown() override { MessageBox::setInterceptor({}); }

    void switchEditMode()
    {
        QTest::mouseClick(m_ui->Check1, Qt::LeftButton, {}, QPoint(6, m_ui->Check1->height() / 2));
    }

    void typeInto(QLineEdit* field, const QString& text)
    {
        field->clear();
        QTest::keyClicks(field, text);
    }

    void enter(const QStringList& numbers, const QString& bonus)
    {
        for (int i = 0; i < 6; ++i)
            typeInto(m_ui->Text2[static_cast<std::size_t>(i)], numbers[i]);
        typeInto(m_ui->Text8, bonus);
    }

    std::vector<DrawRecord> records() const { return test::ReadRecords(m_dir / "Loto6data.dt"); }

    test::TempDir m_dir;
    std::unique_ptr<HistoryFile> m_history;
    std::unique_ptr<MainWindow> m_window;
    MainWindowControls* m_ui = nullptr;
};

TEST_F(HistoryEditorGuiTest, Check1SwitchesTheFieldsAndButtonsWithTheirColours)
{
    open({});
    EXPECT_FALSE(m_ui->Writing->isEnabled());

    switchEditMode();
    ASSERT_TRUE(m_ui->Check1->isChecked());
    for (QLineEdit* field : {m_ui->Text1, m_ui->Text2[0], m_ui->Text2[5], m_ui->Text8}) {
        EXPECT_TRUE(field->isEnabled()) << field->objectName().toStdString();
        EXPECT_EQ(background(field), systemColour(QPalette::Base));
    }
    for (QPushButton* button : {m_ui->Reading, m_ui->Writing, m_ui->Delete})
        EXPECT_TRUE(button->isEnabled());

    switchEditMode();
    for (QLineEdit* field : {m_ui->Text1, m_ui->Text2[3], m_ui->Text8}) {
        EXPECT_FALSE(field->isEnabled());
        EXPECT_EQ(background(field, QPalette::Disabled), systemColour(QPalette::Button));
    }
    EXPECT_FALSE(m_ui->Delete->isEnabled());
}

TEST_F(HistoryEditorGuiTest, TypedDrawIsWrittenReadBackCorrectedAndDeleted)
{
    open({Draw({1, 2, 3, 4, 5, 6}, 7)});
    EXPECT_EQ(m_ui->Text9->text(), "2");
    switchEditMode();

    enter({"3", "11", "18", "25", "36", "42"}, "7");
    QTest::mouseClick(m_ui->Writing, Qt::LeftButton);
    EXPECT_EQ(test::ReadBytes(m_dir / "Loto6data.dt").size(), 32u);
    EXPECT_EQ(records().at(1), Draw({3, 11, 18, 25, 36, 42}, 7));
    EXPECT_EQ(m_ui->Text9->text(), "3");
    EXPECT_EQ(m_window->Latest(), 2);
    EXPECT_EQ(m_ui->Text1->text(), "3");
    EXPECT_TRUE(m_ui->Text2[0]->text().isEmpty());

    typeInto(m_ui->Text1, "2");
    QTest::mouseClick(m_ui->Reading, Qt::LeftButton);
    EXPECT_EQ(m_ui->Text2[2]->text(), "18");
    EXPECT_EQ(m_ui->Text8->text(), "7");

    typeInto(m_ui->Text2[5], "43");
    QTest::mouseClick(m_ui->Writing, Qt::LeftButton);
    EXPECT_EQ(records().at(1), Draw({3, 11, 18, 25, 36, 43}, 7));
    EXPECT_EQ(m_ui->Text9->text(), "3");

    QTest::mouseClick(m_ui->Delete, Qt::LeftButton);
    EXPECT_EQ(records().at(1), Draw({0, 0, 0, 0, 0, 0}, 0));
    EXPECT_EQ(m_ui->Text9->text(), "2");
    EXPECT_EQ(m_window->Latest(), 1);
}

TEST_F(HistoryEditorGuiTest, RejectedEntryHighlightsTheFieldWhileTheBoxIsOpen)
{
    open({});
    const auto before = test::ReadBytes(m_dir / "Loto6data.dt");
    switchEditMode();
    enter({"10", "5", "20", "25", "30", "35"}, "7");

    std::vector<MessageBox::Shown> shown;
    std::optional<QColor> colourWhileOpen;
    QString statusWhileOpen;
    MessageBox::setInterceptor([&](const MessageBox::Shown& box) {
        shown.push_back(box);
        colourWhileOpen = background(m_ui->Text2[0]);
        statusWhileOpen = m_window->statusText();
    });
    QTest::mouseClick(m_ui->Writing, Qt::LeftButton);

    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].title, "入力エラー");
    EXPECT_EQ(shown[0].icon, MessageBox::Icon::Exclamation);
    EXPECT_EQ(shown[0].text, QString::fromUtf8(editor_text::kOrderMessage.data(),
                                               static_cast<qsizetype>(editor_text::kOrderMessage.size())));
    EXPECT_EQ(colourWhileOpen, systemColour(QPalette::Highlight));
    EXPECT_EQ(statusWhileOpen, "入力値のエラーです。入力し直して下さい。");

    EXPECT_EQ(background(m_ui->Text2[0]), systemColour(QPalette::Base));
    EXPECT_TRUE(m_ui->Text2[0]->text().isEmpty());
    EXPECT_TRUE(QTest::qWaitFor([&] { return m_ui->Text2[0]->hasFocus(); }));
    EXPECT_EQ(m_ui->Text2[1]->text(), "5");
    EXPECT_EQ(test::ReadBytes(m_dir / "Loto6data.dt"), before);
}

TEST(HistoryEditorMessageLayout, TheBoxShowsACarriageReturnAsALineBreak)
{
    // The entry messages reach the box with their carriage return, unconverted; this pins the
    // toolkit behaviour that makes them show as two lines.
    const QString twoLines = QString::fromUtf8(editor_text::kRangeMessage.data(),
                                               static_cast<qsizetype>(editor_text::kRangeMessage.size()));
    QString oneLine = twoLines;
    oneLine.remove(QLatin1Char('\r'));
    QString withLineFeed = twoLines;
    withLineFeed.replace(QLatin1Char('\r'), QLatin1Char('\n'));

    auto labelHeight = [](const QString& text) {
        QMessageBox box(QMessageBox::Warning, QStringLiteral("入力エラー"), text, QMessageBox::Ok);
        const QLabel* label = box.findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
        return label ? label->sizeHint().height() : -1;
    };
    ASSERT_GT(labelHeight(oneLine), 0);
    EXPECT_GT(labelHeight(twoLines), labelHeight(oneLine));
    EXPECT_EQ(labelHeight(twoLines), labelHeight(withLineFeed));
}

} // namespace
} // namespace zentrix::ui
