// The history editor's rules without a window: a recording view stands in for frmMain and a real
// history file in a temporary folder takes the writes, whose bytes are checked.
#include "store/HistoryEditor.h"

#include "support/FailingDevice.h"
#include "support/HistoryFixtures.h"
#include "support/TempDir.h"

#include <functional>
#include <gtest/gtest.h>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace zentrix {
namespace {

using test::Draw;
namespace text = editor_text;

const char* nameOf(EditorField field)
{
    static const char* const names[] = {"Text1",    "Text2(0)", "Text2(1)", "Text2(2)",
                                        "Text2(3)", "Text2(4)", "Text2(5)", "Text8"};
    return names[static_cast<int>(field)];
}

const char* nameOf(EditorControl control)
{
    switch (control) {
    case EditorControl::Reading:
        return "Reading";
    case EditorControl::Writing:
        return "Writing";
    case EditorControl::Delete:
        return "Delete";
    }
    return nameOf(FieldOf(control));
}

const char* nameOf(FieldColour colour)
{
    switch (colour) {
    case FieldColour::WindowBackground:
        return "window";
    case FieldColour::ButtonFace:
        return "face";
    case FieldColour::SelectionHighlight:
        return "highlight";
    }
    return "?";
}

/// Keeps the state a window would have and logs every call in order.
class RecordingView final : public HistoryEditorView
{
public:
    struct Message
    {
        std::string text;
        MessageIcon icon;
        std::string title;
    };

    std::map<EditorField, std::string> texts;
    std::map<EditorControl, bool> enabled;
    std::map<EditorField, FieldColour> colours;
    std::optional<EditorField> focus;
    std::string status;
    bool check1 = false;
    std::optional<RecordNo> latest; ///< the last Latest the window was told
    std::vector<Message> messages;
    std::vector<std::string> log;
    std::function<void()> whileMessageOpen;

    std::string fieldText(EditorField field) const override
    {
        const auto found = texts.find(field);
        return found == texts.end() ? std::string() : found->second;
    }
    void setFieldText(EditorField field, const std::string& value) override
    {
        texts[field] = value;
        log.push_back(std::string("text ") + nameOf(field) + " '" + value + "'");
    }
    void setEnabled(EditorControl control, bool on) override
    {
        enabled[control] = on;
        log.push_back(std::string(on ? "enable " : "disable ") + nameOf(control));
    }
    void setFieldColour(EditorField field, FieldColour colour) override
    {
        colours[field] = colour;
        log.push_back(std::string("colour ") + nameOf(field) + " " + nameOf(colour));
    }
    void setFocus(EditorField field) override
    {
        focus = field;
        log.push_back(std::string("focus ") + nameOf(field));
    }
    void setStatusText(const std::string& value) override
    {
        status = value;
        log.push_back("status");
    }
    void showMessage(const std::string& value, MessageIcon icon, const std::string& title) override
    {
        messages.push_back({value, icon, title});
        log.push_back("message " + title);
        if (whileMessageOpen)
            whileMessageOpen();
    }
    bool isEditModeChecked() const override { return check1; }
    void setLatest(RecordNo value) override
    {
        latest = value;
        log.push_back("latest " + std::to_string(value));
    }
};

/// Ten stored draws; draw k is k, k+1, …, k+5 with the bonus k+10 and Reserved 0.
std::vector<DrawRecord> TenDraws()
{
    std::vector<DrawRecord> draws;
    for (int k = 1; k <= 10; ++k)
        draws.push_back(Draw({k, k + 1, k + 2, k + 3, k + 4, k + 5}, k + 10));
    return draws;
}

class HistoryEditorTest : public ::testing::Test
{
protected:
    std::filesystem::path file() const { return m_dir / "Loto6data.dt"; }

    void open(const std::vector<DrawRecord>& records,
              std::unique_ptr<FileDevice> device = MakeNativeFileDevice())
    {
        test::WriteHistory(file(), records);
        m_history = std::make_unique<HistoryFile>(file(), std::move(device));
        ASSERT_TRUE(m_history->OpenHistory());
        m_editor = std::make_unique<HistoryEditor>(*m_history, m_view);
    }

    void type(EditorField field, const std::string& value) { m_view.texts[field] = value; }

    void enter(const std::vector<std::string>& numbers, const std::string& bonus)
    {
        for (int i = 0; i < 6; ++i)
            type(Text2Field(i), numbers[static_cast<std::size_t>(i)]);
        type(EditorField::Text8, bonus);
    }

    std::vector<std::string> numberTexts() const
    {
        std::vector<std::string> out;
        for (int i = 0; i < 6; ++i)
            out.push_back(m_view.fieldText(Text2Field(i)));
        out.push_back(m_view.fieldText(EditorField::Text8));
        return out;
    }

    /// Checks the steps of a rejected entry on `field` and that the file is untouched.
    void expectRejected(EditorField field, std::string_view message,
                        const std::vector<std::uint8_t>& bytesBefore)
    {
        ASSERT_EQ(m_view.messages.size(), 1u);
        EXPECT_EQ(m_view.messages[0].text, message);
        EXPECT_EQ(m_view.messages[0].icon, MessageIcon::Exclamation);
        EXPECT_EQ(m_view.messages[0].title, text::kInputErrorTitle);
        EXPECT_EQ(m_view.status, text::kInputErrorStatus);
        const std::string name = nameOf(field);
        EXPECT_EQ(m_view.log, (std::vector<std::string>{"status", "colour " + name + " highlight",
                                                        "message 入力エラー", "text " + name + " ''",
                                                        "focus " + name, "colour " + name + " window"}));
        EXPECT_EQ(test::ReadBytes(file()), bytesBefore);
        EXPECT_FALSE(m_view.latest);
    }

    test::TempDir m_dir;
    RecordingView m_view;
    std::unique_ptr<HistoryFile> m_history;
    std::unique_ptr<HistoryEditor> m_editor;
};

// --- edit mode ---------------------------------------------------------------------------------

TEST_F(HistoryEditorTest, CheckingCheck1EnablesEveryFieldAndButtonInOrder)
{
    open(TenDraws());
    type(EditorField::Text1, "4");
    type(EditorField::Text2_3, "17");
    m_view.check1 = true;
    m_editor->Check1_Click();

    std::vector<std::string> expected;
    for (const char* field :
         {"Text2(0)", "Text2(1)", "Text2(2)", "Text2(3)", "Text2(4)", "Text2(5)", "Text1", "Text8"}) {
        expected.push_back(std::string("enable ") + field);
        expected.push_back(std::string("colour ") + field + " window");
    }
    for (const char* button : {"Reading", "Writing", "Delete"})
        expected.push_back(std::string("enable ") + button);
    EXPECT_EQ(m_view.log, expected);
    EXPECT_EQ(m_view.fieldText(EditorField::Text1), "4");
    EXPECT_EQ(m_view.fieldText(EditorField::Text2_3), "17");
}

TEST_F(HistoryEditorTest, UncheckingDisablesEverythingWithTheButtonFaceAndKeepsTexts)
{
    open(TenDraws());
    m_view.check1 = true;
    m_editor->Check1_Click();
    type(EditorField::Text8, "9");
    m_view.check1 = false;
    m_editor->Check1_Click();

    for (int c = 0; c <= static_cast<int>(EditorControl::Delete); ++c)
        EXPECT_FALSE(m_view.enabled.at(static_cast<EditorControl>(c)))
            << nameOf(static_cast<EditorControl>(c));
    for (int f = 0; f <= static_cast<int>(EditorField::Text8); ++f)
        EXPECT_EQ(m_view.colours.at(static_cast<EditorField>(f)), FieldColour::ButtonFace);
    EXPECT_EQ(m_view.fieldText(EditorField::Text8), "9");
    EXPECT_EQ(m_view.enabled.size(), 11u);
}

// --- reading -----------------------------------------------------------------------------------

TEST_F(HistoryEditorTest, ReadingANumberOutsideTheHistoryResetsTheFieldsWithoutAMessage)
{
    open(TenDraws());
    for (const char* outside : {"", "0", "11", "-3", "0.4", "10.6", "1e30", "abc", "１"}) {
        enter({"1", "2", "3", "4", "5", "6"}, "7");
        type(EditorField::Text1, outside);
        m_editor->Reading_Click();
        EXPECT_EQ(m_view.fieldText(EditorField::Text1), "11") << outside;
        EXPECT_EQ(numberTexts(), std::vector<std::string>(7, "")) << outside;
    }
    EXPECT_TRUE(m_view.messages.empty());
    EXPECT_TRUE(m_view.status.empty());
    EXPECT_FALSE(m_view.latest);
}

TEST_F(HistoryEditorTest, ReadingShowsTheStoredDrawAndKeepsTheTypedNumber)
{
    open(TenDraws());
    type(EditorField::Text1, "10");
    m_editor->Reading_Click();
    EXPECT_EQ(numberTexts(), (std::vector<std::string>{"10", "11", "12", "13", "14", "15", "20"}));
    EXPECT_EQ(m_view.fieldText(EditorField::Text1), "10");

    // A draw number is only ever read for its leading value: " 1abc" is draw 1.
    type(EditorField::Text1, " 1abc");
    m_editor->Reading_Click();
    EXPECT_EQ(numberTexts(), (std::vector<std::string>{"1", "2", "3", "4", "5", "6", "11"}));
    EXPECT_EQ(m_view.fieldText(EditorField::Text1), " 1abc");
    EXPECT_TRUE(m_view.messages.empty());
}

TEST_F(HistoryEditorTest, ReadingRoundsTheDrawNumberHalvesToEven)
{
    open(TenDraws());
    type(EditorField::Text1, "2.5");
    m_editor->Reading_Click();
    EXPECT_EQ(m_view.fieldText(EditorField::Text2_0), "2");
    type(EditorField::Text1, "3.5");
    m_editor->Reading_Click();
    EXPECT_EQ(m_view.fieldText(EditorField::Text2_0), "4");
    type(EditorField::Text1, "9.51");
    m_editor->Reading_Click();
    EXPECT_EQ(m_view.fieldText(EditorField::Text2_0), "10");
}

TEST_F(HistoryEditorTest, ReadingShowsStoredValuesAsPlainDecimalsIncludingNegativeOnes)
{
    // A file made elsewhere: the editor shows whatever is stored, without leading zeros.
    open({Draw({-1, 5, 300, -32768, 32767, 0}, -7)});
    type(EditorField::Text1, "1");
    m_editor->Reading_Click();
    EXPECT_EQ(numberTexts(), (std::vector<std::string>{"-1", "5", "300", "-32768", "32767", "0", "-7"}));
}

TEST_F(HistoryEditorTest, AWriteAfterAReadCarriesTheReadRecordsReservedValue)
{
    std::vector<DrawRecord> draws = TenDraws();
    draws[2].Reserved = 7;
    open(draws);
    type(EditorField::Text1, "3");
    m_editor->Reading_Click();
    type(EditorField::Text1, "");
    enter({"1", "2", "3", "4", "5", "6"}, "7");
    m_editor->Writing_Click();
    EXPECT_EQ(test::ReadRecords(file()).at(10), Draw({1, 2, 3, 4, 5, 6}, 7, 7));
}

// --- writing an accepted entry -----------------------------------------------------------------

TEST_F(HistoryEditorTest, WritingWithText1EmptyAppendsTheDrawAsRecordEleven)
{
    open(TenDraws());
    const auto before = test::ReadBytes(file());
    m_view.status = "前のヒント";
    m_view.focus = EditorField::Text8;
    enter({"3", "11", "18", "25", "36", "42"}, "7");
    m_editor->Writing_Click();

    std::vector<std::uint8_t> expected = before;
    for (std::uint8_t b : {0x03, 0, 0x0B, 0, 0x12, 0, 0x19, 0, 0x24, 0, 0x2A, 0, 0, 0, 0x07, 0})
        expected.push_back(b);
    EXPECT_EQ(test::ReadBytes(file()), expected);
    EXPECT_EQ(numberTexts(), std::vector<std::string>(7, ""));
    EXPECT_EQ(m_view.fieldText(EditorField::Text1), "12");
    EXPECT_EQ(m_view.latest, 11);
    EXPECT_EQ(m_history->Latest(), 11);
    // No message; the status text and the focus stay as they were.
    EXPECT_TRUE(m_view.messages.empty());
    EXPECT_EQ(m_view.status, "前のヒント");
    EXPECT_EQ(m_view.focus, EditorField::Text8);
}

TEST_F(HistoryEditorTest, ADrawNumberAboveLatestStillAppendsAtLatestPlusOne)
{
    for (const char* number : {"50", "1e30", "-5", "0", "99999999999999999999999"}) {
        open(TenDraws());
        type(EditorField::Text1, number);
        enter({"3", "11", "18", "25", "36", "42"}, "7");
        m_editor->Writing_Click();
        const auto records = test::ReadRecords(file());
        ASSERT_EQ(records.size(), 11u) << number;
        EXPECT_EQ(records[10], Draw({3, 11, 18, 25, 36, 42}, 7)) << number;
        EXPECT_EQ(m_view.fieldText(EditorField::Text1), "12") << number;
        m_history.reset();
    }
}

TEST_F(HistoryEditorTest, TheStatusLineSaysWhereADrawWithAMistypedNumberWent)
{
    for (const char* number : {"50", "-5", "0", "abc", " 12 "}) {
        open(TenDraws());
        m_view.status = "前のヒント";
        type(EditorField::Text1, number);
        enter({"3", "11", "18", "25", "36", "42"}, "7");
        m_editor->Writing_Click();
        EXPECT_EQ(m_view.status, text::WrittenAsNextDraw(number, 11)) << number;
        EXPECT_TRUE(m_view.messages.empty()) << number;
        m_history.reset();
    }
    EXPECT_EQ(text::WrittenAsNextDraw(" 2050 ", 2039),
              "抽選回数「2050」は保存済みの回でも次の回でもないため、第2039回として書き込みました。");
    EXPECT_EQ(text::WrittenAsNextDraw("1234567890123456", 3),
              "抽選回数「123456789012…」は保存済みの回でも次の回でもないため、第3回として書き込みました。");

    // The next draw's own number, an empty field or a stored draw: the draw went where it was
    // asked to, and the status text stays as it was.
    for (const char* number : {"11", "", "  ", "4", "10.6"}) {
        open(TenDraws());
        m_view.status = "前のヒント";
        type(EditorField::Text1, number);
        enter({"3", "11", "18", "25", "36", "42"}, "7");
        m_editor->Writing_Click();
        EXPECT_EQ(m_view.status, "前のヒント") << "[" << number << "]";
        m_history.reset();
    }
}

TEST_F(HistoryEditorTest, AStoredDrawIsReplacedWithoutAQuestion)
{
    open(TenDraws());
    type(EditorField::Text1, "4");
    enter({"3", "11", "18", "25", "36", "42"}, "7");
    m_editor->Writing_Click();

    std::vector<DrawRecord> expected = TenDraws();
    expected[3] = Draw({3, 11, 18, 25, 36, 42}, 7);
    EXPECT_EQ(test::ReadRecords(file()), expected);
    EXPECT_EQ(std::filesystem::file_size(file()), 160u);
    EXPECT_EQ(m_view.fieldText(EditorField::Text1), "11");
    EXPECT_EQ(m_view.latest, 10);
    EXPECT_TRUE(m_view.messages.empty());
}

TEST_F(HistoryEditorTest, EqualNeighboursAndABonusEqualToANumberAreAccepted)
{
    open(TenDraws());
    enter({"5", "5", "10", "20", "30", "40"}, "10");
    m_editor->Writing_Click();
    EXPECT_EQ(test::ReadRecords(file()).back(), Draw({5, 5, 10, 20, 30, 40}, 10));
    EXPECT_TRUE(m_view.messages.empty());
}

TEST_F(HistoryEditorTest, FractionsPassAsValuesAndAreStoredRoundedHalvesToEven)
{
    open({});
    // 7.5 < 8 passes the order check as 7.5; both are stored as 8. 8.5 is stored as 8, 42.6 as 43.
    enter({"7.5", "8", "8.5", "20", " 4 0", "42.6"}, "0.6e1");
    m_editor->Writing_Click();
    EXPECT_TRUE(m_view.messages.empty());
    EXPECT_EQ(test::ReadRecords(file()), std::vector<DrawRecord>{Draw({8, 8, 8, 20, 40, 43}, 6)});
    EXPECT_EQ(m_view.latest, 1);
}

TEST_F(HistoryEditorTest, TheOrderCheckComparesValuesNotTheirRoundedIntegers)
{
    open({});
    const auto before = test::ReadBytes(file());
    enter({"1", "7.6", "7.5", "20", "30", "40"}, "2"); // both would store as 8
    m_editor->Writing_Click();
    expectRejected(EditorField::Text2_1, text::kOrderMessage, before);
}

TEST_F(HistoryEditorTest, FirstWriteIntoAnEmptyHistoryGoesToRecordOne)
{
    open({});
    type(EditorField::Text1, "1");
    enter({"1", "2", "3", "4", "5", "6"}, "43");
    m_editor->Writing_Click();
    EXPECT_EQ(test::ReadRecords(file()), std::vector<DrawRecord>{Draw({1, 2, 3, 4, 5, 6}, 43)});
    EXPECT_EQ(m_view.fieldText(EditorField::Text1), "2");
    EXPECT_EQ(m_view.latest, 1);
}

// --- rejected entries --------------------------------------------------------------------------

TEST_F(HistoryEditorTest, ASmallerRightNeighbourFailsOnTheLeftFieldWithOrderMessage)
{
    open(TenDraws());
    const auto before = test::ReadBytes(file());
    type(EditorField::Text1, "4");
    enter({"10", "5", "20", "25", "30", "35"}, "7");
    m_editor->Writing_Click();
    expectRejected(EditorField::Text2_0, text::kOrderMessage, before);
    EXPECT_EQ(m_view.focus, EditorField::Text2_0);
    EXPECT_EQ(numberTexts(), (std::vector<std::string>{"", "5", "20", "25", "30", "35", "7"}));
    EXPECT_EQ(m_view.fieldText(EditorField::Text1), "4");
}

TEST_F(HistoryEditorTest, TheRangeOfAllSixNumbersIsCheckedBeforeTheirOrder)
{
    open(TenDraws());
    const auto before = test::ReadBytes(file());
    enter({"1", "2", "3", "4", "5", "44"}, "7");
    m_editor->Writing_Click();
    expectRejected(EditorField::Text2_5, text::kRangeMessage, before);

    // Out of order from the first pair on, yet the range failure in the sixth field comes first.
    m_view = RecordingView{};
    enter({"5", "4", "3", "2", "1", "44"}, "7");
    m_editor->Writing_Click();
    expectRejected(EditorField::Text2_5, text::kRangeMessage, before);
}

TEST_F(HistoryEditorTest, TheBonusIsCheckedLast)
{
    open(TenDraws());
    const auto before = test::ReadBytes(file());
    enter({"1", "2", "3", "4", "5", "6"}, "");
    m_editor->Writing_Click();
    expectRejected(EditorField::Text8, text::kRangeMessage, before);

    for (const char* bonus : {"0", "44", "43.01", "0.99", "-1"}) {
        m_view = RecordingView{};
        enter({"1", "2", "3", "4", "5", "6"}, bonus);
        m_editor->Writing_Click();
        expectRejected(EditorField::Text8, text::kRangeMessage, before);
    }

    // An order fault is reported before a bonus fault.
    m_view = RecordingView{};
    enter({"1", "2", "3", "5", "4", "6"}, "");
    m_editor->Writing_Click();
    expectRejected(EditorField::Text2_3, text::kOrderMessage, before);
}

TEST_F(HistoryEditorTest, TheFailingFieldIsHighlightedOnlyWhileTheBoxIsOpen)
{
    open(TenDraws());
    std::optional<FieldColour> colourWhileOpen;
    std::string textWhileOpen;
    m_view.whileMessageOpen = [&] {
        colourWhileOpen = m_view.colours.at(EditorField::Text2_2);
        textWhileOpen = m_view.fieldText(EditorField::Text2_2);
    };
    enter({"1", "2", "0", "4", "5", "6"}, "7");
    m_editor->Writing_Click();
    EXPECT_EQ(colourWhileOpen, FieldColour::SelectionHighlight);
    EXPECT_EQ(textWhileOpen, "0"); // emptied only after the box is closed
    EXPECT_EQ(m_view.colours.at(EditorField::Text2_2), FieldColour::WindowBackground);
    EXPECT_EQ(m_view.fieldText(EditorField::Text2_2), "");
}

TEST_F(HistoryEditorTest, ANumberFollowedByOtherTextFailsTheRangeCheckInEveryPosition)
{
    open(TenDraws());
    const auto before = test::ReadBytes(file());
    const std::vector<std::string> good = {"1", "2", "3", "4", "5", "6"};
    for (int i = 0; i < 7; ++i) {
        m_view = RecordingView{};
        std::vector<std::string> numbers = good;
        std::string bonus = "7";
        (i < 6 ? numbers[static_cast<std::size_t>(i)] : bonus) = std::to_string(i + 1) + "abc";
        enter(numbers, bonus);
        m_editor->Writing_Click();
        const EditorField field = i < 6 ? Text2Field(i) : EditorField::Text8;
        expectRejected(field, text::kRangeMessage, before);
    }
}

TEST_F(HistoryEditorTest, OtherFormsOfNumbersAreRejectedNotReinterpreted)
{
    open(TenDraws());
    const auto before = test::ReadBytes(file());
    for (const char* typed : {"１２", "12　", "&H10", "0x10", "1,2", "inf", "nan", "3e", "65541", "1e30"}) {
        m_view = RecordingView{};
        enter({"1", "2", typed, "40", "41", "42"}, "7");
        m_editor->Writing_Click();
        SCOPED_TRACE(typed);
        expectRejected(EditorField::Text2_2, text::kRangeMessage, before);
    }
}

TEST_F(HistoryEditorTest, ARejectedEntryCanBeCorrectedAndWritten)
{
    open(TenDraws());
    enter({"10", "5", "20", "25", "30", "35"}, "7");
    m_editor->Writing_Click();
    ASSERT_EQ(m_view.messages.size(), 1u);
    type(EditorField::Text2_0, "4");
    m_editor->Writing_Click();
    EXPECT_EQ(m_view.messages.size(), 1u);
    EXPECT_EQ(test::ReadRecords(file()).back(), Draw({4, 5, 20, 25, 30, 35}, 7));
    // The error note stays in the status bar until something else replaces it.
    EXPECT_EQ(m_view.status, text::kInputErrorStatus);
}

TEST(HistoryEditorTexts, MessagesAreTwoLinesJoinedByACarriageReturnAlone)
{
    EXPECT_EQ(text::kRangeMessage, "無効な入力値です。\r1\xEF\xBD\x9E"
                                   "43の数値を半角で入力し直して下さい。"); // U+FF5E
    EXPECT_EQ(text::kOrderMessage, "無効な入力値です。\r当選番号は小さい順に入力して下さい。");
    EXPECT_EQ(text::kRangeMessage.find('\n'), std::string_view::npos);
}

// --- deleting ----------------------------------------------------------------------------------

TEST_F(HistoryEditorTest, DeleteClearsTheLatestRecordAndTheNextAppendReusesIt)
{
    std::vector<DrawRecord> draws = TenDraws();
    draws[9].Reserved = 5;
    open(draws);
    enter({"1", "2", "3", "4", "5", "6"}, "7");
    type(EditorField::Text1, "3");
    m_editor->Delete_Click();

    auto records = test::ReadRecords(file());
    ASSERT_EQ(records.size(), 10u);
    EXPECT_EQ(records[9], Draw({0, 0, 0, 0, 0, 0}, 0, 5)); // Reserved stays as the buffer held it
    EXPECT_EQ(m_view.latest, 9);
    EXPECT_EQ(m_history->Latest(), 9);
    EXPECT_EQ(numberTexts(), (std::vector<std::string>{"1", "2", "3", "4", "5", "6", "7"}));
    EXPECT_EQ(m_view.fieldText(EditorField::Text1), "3");
    EXPECT_TRUE(m_view.messages.empty());

    type(EditorField::Text1, "");
    m_editor->Writing_Click();
    records = test::ReadRecords(file());
    ASSERT_EQ(records.size(), 10u);
    EXPECT_EQ(records[9], Draw({1, 2, 3, 4, 5, 6}, 7, 5));
    EXPECT_EQ(m_view.latest, 10);
    EXPECT_EQ(m_view.fieldText(EditorField::Text1), "11");
}

TEST_F(HistoryEditorTest, DeleteWithAnEmptyHistoryWritesNothing)
{
    open({});
    m_editor->Delete_Click();
    m_editor->Delete_Click();
    EXPECT_EQ(std::filesystem::file_size(file()), 0u);
    EXPECT_EQ(m_history->Latest(), 0);
    EXPECT_TRUE(m_view.messages.empty());
    EXPECT_TRUE(m_view.log.empty());
}

TEST_F(HistoryEditorTest, DeletingEveryDrawStopsAtZero)
{
    open({Draw({1, 2, 3, 4, 5, 6}, 7), Draw({2, 3, 4, 5, 6, 7}, 8)});
    for (int i = 0; i < 3; ++i)
        m_editor->Delete_Click();
    EXPECT_EQ(test::ReadRecords(file()), std::vector<DrawRecord>(2, Draw({0, 0, 0, 0, 0, 0}, 0)));
    EXPECT_EQ(m_view.latest, 0);
    EXPECT_EQ(m_view.log, (std::vector<std::string>{"latest 1", "latest 0"}));
}

// --- the file refusing a change ----------------------------------------------------------------

class HistoryEditorFailingDiskTest : public HistoryEditorTest
{
protected:
    void SetUp() override
    {
        m_plan = std::make_shared<test::FailurePlan>();
        open(TenDraws(), std::make_unique<test::FailingDevice>(m_plan));
    }

    void expectStoreError(const std::string& reason)
    {
        ASSERT_EQ(m_view.messages.size(), 1u);
        EXPECT_EQ(m_view.messages[0].icon, MessageIcon::Critical);
        EXPECT_EQ(m_view.messages[0].title, "Zentrix");
        EXPECT_NE(m_view.messages[0].text.find("Loto6data.dt"), std::string::npos) << m_view.messages[0].text;
        EXPECT_NE(m_view.messages[0].text.find(reason), std::string::npos) << m_view.messages[0].text;
    }

    std::shared_ptr<test::FailurePlan> m_plan;
};

TEST_F(HistoryEditorFailingDiskTest, AFailedAppendKeepsTheFieldsAndLatestForAnotherTry)
{
    const auto before = test::ReadBytes(file());
    m_plan->bytesBeforeWriteFailure = 6;
    enter({"3", "11", "18", "25", "36", "42"}, "7");
    m_editor->Writing_Click();

    expectStoreError("ディスクの空き容量が不足しています");
    EXPECT_EQ(test::ReadBytes(file()), before);
    EXPECT_EQ(numberTexts(), (std::vector<std::string>{"3", "11", "18", "25", "36", "42", "7"}));
    EXPECT_EQ(m_view.fieldText(EditorField::Text1), "");
    EXPECT_EQ(m_history->Latest(), 10);
    EXPECT_FALSE(m_view.latest);

    m_plan->bytesBeforeWriteFailure = -1;
    m_editor->Writing_Click();
    EXPECT_EQ(test::ReadRecords(file()).size(), 11u);
    EXPECT_EQ(m_view.latest, 11);
}

TEST_F(HistoryEditorFailingDiskTest, AFailedReplaceIsReportedAndTheDrawStaysAsItWas)
{
    const auto before = test::ReadBytes(file());
    m_plan->bytesBeforeWriteFailure = 0;
    type(EditorField::Text1, "4");
    enter({"3", "11", "18", "25", "36", "42"}, "7");
    m_editor->Writing_Click();
    expectStoreError("書き込めませんでした");
    EXPECT_EQ(test::ReadBytes(file()), before);
    EXPECT_EQ(m_view.fieldText(EditorField::Text1), "4");
    EXPECT_EQ(m_view.fieldText(EditorField::Text2_0), "3");
}

TEST_F(HistoryEditorFailingDiskTest, AFailedDeleteKeepsLatest)
{
    const auto before = test::ReadBytes(file());
    m_plan->bytesBeforeWriteFailure = 0;
    m_editor->Delete_Click();
    expectStoreError("第10回を書き込めませんでした");
    EXPECT_EQ(test::ReadBytes(file()), before);
    EXPECT_EQ(m_history->Latest(), 10);
    EXPECT_FALSE(m_view.latest);
}

TEST_F(HistoryEditorFailingDiskTest, AFailedScanAfterAnAppendReportsItButStillCountsTheDraw)
{
    m_plan->failReads = true; // the write goes through; the scan for Latest that follows fails
    enter({"3", "11", "18", "25", "36", "42"}, "7");
    m_editor->Writing_Click();
    expectStoreError("読み込めませんでした");
    EXPECT_EQ(test::ReadRecords(file()).at(10), Draw({3, 11, 18, 25, 36, 42}, 7));
    EXPECT_EQ(numberTexts(), std::vector<std::string>(7, ""));
    EXPECT_EQ(m_view.fieldText(EditorField::Text1), "12");
    EXPECT_EQ(m_history->Latest(), 11); // a later append cannot overwrite the new draw
    EXPECT_EQ(m_view.latest, 11);
}

TEST_F(HistoryEditorFailingDiskTest, AFailedReadIsReportedAndLeavesTheFields)
{
    m_plan->failReads = true;
    type(EditorField::Text1, "3");
    enter({"1", "2", "3", "4", "5", "6"}, "7");
    m_editor->Reading_Click();
    expectStoreError("第3回を読み込めませんでした");
    EXPECT_EQ(numberTexts(), (std::vector<std::string>{"1", "2", "3", "4", "5", "6", "7"}));
}

} // namespace
} // namespace zentrix
