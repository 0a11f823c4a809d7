// The history editor's rules without a window: a recording view stands in for frmMain and a real
// history file in a temporary folder takes the writes, whose records are checked.
#include "store/HistoryEditor.h"

#include "support/FailingDevice.h"
#include "support/HistoryFixtures.h"
#include "support/RecordingEditorView.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>
#include <optional>
#include <string>
#include <vector>

namespace zentrix {
namespace {

using test::Draw;
namespace text = editor_text;

/// Ten stored draws; draw k is k, k+1, …, k+5 with the bonus k+10 and Reserved 0.
std::vector<DrawRecord> TenDraws()
{
    std::vector<DrawRecord> draws;
    for (int k = 1; k <= 10; ++k)
        draws.push_back(Draw({k, k + 1, k + 2, k + 3, k + 4, k + 5}, k + 10));
    return draws;
}

/// The entry most tests write, as typed and as stored.
const std::vector<std::string> kNumbers{"3", "11", "18", "25", "36", "42"};
const DrawRecord kStored = Draw({3, 11, 18, 25, 36, 42}, 7);

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

    std::string text1() const { return m_view.fieldText(EditorField::Text1); }

    /// Checks the steps of a rejected entry on `field`: the other fields keep what was typed
    /// (`typed`), and neither the file nor Latest changes.
    void expectRejected(EditorField field, std::string_view message, std::map<EditorField, std::string> typed,
                        const std::vector<std::uint8_t>& bytesBefore)
    {
        ASSERT_EQ(m_view.messages.size(), 1u);
        EXPECT_EQ(m_view.messages[0].text, message);
        EXPECT_EQ(m_view.messages[0].icon, MessageIcon::Exclamation);
        EXPECT_EQ(m_view.messages[0].title, text::kInputErrorTitle);
        EXPECT_EQ(m_view.status, text::kInputErrorStatus);
        // Highlighted only while the box is open, emptied and focused once it is closed.
        const std::string name = test::NameOf(field);
        EXPECT_EQ(m_view.log, (std::vector<std::string>{"status", "colour " + name + " highlight",
                                                        "message 入力エラー", "text " + name + " ''",
                                                        "focus " + name, "colour " + name + " window"}));
        typed[field] = "";
        EXPECT_EQ(m_view.texts, typed);
        EXPECT_EQ(test::ReadBytes(file()), bytesBefore);
        EXPECT_FALSE(m_view.latest);
    }

    test::TempDir m_dir;
    test::RecordingEditorView m_view;
    std::unique_ptr<HistoryFile> m_history;
    std::unique_ptr<HistoryEditor> m_editor;
};

TEST_F(HistoryEditorTest, Check1SwitchesEveryFieldAndButtonAndLeavesTheTexts)
{
    open(TenDraws());
    m_view.enter("4", {"1", "2", "3", "17", "5", "6"}, "9");
    const auto typed = m_view.texts;
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

    m_view.check1 = false;
    m_editor->Check1_Click();
    EXPECT_EQ(m_view.enabled.size(), 11u);
    for (const auto& [control, on] : m_view.enabled)
        EXPECT_FALSE(on) << test::NameOf(control);
    EXPECT_EQ(m_view.colours.size(), 8u);
    for (const auto& [field, colour] : m_view.colours)
        EXPECT_EQ(colour, FieldColour::ButtonFace) << test::NameOf(field);
    EXPECT_EQ(m_view.texts, typed);
}

// --- reading -----------------------------------------------------------------------------------

TEST_F(HistoryEditorTest, ReadingANumberOutsideTheHistoryResetsTheFieldsWithoutAMessage)
{
    open(TenDraws());
    // 0.6 and 10.4 lie outside 1..10 although they round into it: the value decides.
    for (const char* outside : {"", "0", "11", "0.6", "10.4", "1e30", "abc"}) {
        m_view.enter(outside, {"1", "2", "3", "4", "5", "6"}, "7");
        m_editor->Reading_Click();
        EXPECT_EQ(text1(), "11") << outside;
        EXPECT_EQ(m_view.numberTexts(), std::vector<std::string>(7, "")) << outside;
    }
    EXPECT_TRUE(m_view.messages.empty());
    EXPECT_TRUE(m_view.status.empty());
    EXPECT_FALSE(m_view.latest);
}

TEST_F(HistoryEditorTest, ReadingShowsTheStoredDrawAndKeepsTheTypedNumber)
{
    open(TenDraws());
    struct Case
    {
        const char* typed;
        int draw;
    };
    // Rounded to the nearest draw with halves to even; only the leading value counts.
    for (const Case c :
         {Case{"10", 10}, Case{"1", 1}, Case{" 1abc", 1}, Case{"2.5", 2}, Case{"3.5", 4}, Case{"9.51", 10}}) {
        m_view.texts[EditorField::Text1] = c.typed;
        m_editor->Reading_Click();
        std::vector<std::string> expected;
        for (int i = 0; i < 6; ++i)
            expected.push_back(std::to_string(c.draw + i));
        expected.push_back(std::to_string(c.draw + 10));
        EXPECT_EQ(m_view.numberTexts(), expected) << c.typed;
        EXPECT_EQ(text1(), c.typed);
    }
    EXPECT_TRUE(m_view.messages.empty());
    EXPECT_TRUE(m_view.status.empty());
}

TEST_F(HistoryEditorTest, ReadingShowsStoredValuesAsPlainDecimalsIncludingNegativeOnes)
{
    // A file made elsewhere: the editor shows whatever is stored, without leading zeros.
    open({Draw({-1, 5, 300, -32768, 32767, 0}, -7)});
    m_view.texts[EditorField::Text1] = "1";
    m_editor->Reading_Click();
    EXPECT_EQ(m_view.numberTexts(),
              (std::vector<std::string>{"-1", "5", "300", "-32768", "32767", "0", "-7"}));
}

// --- writing an accepted entry -----------------------------------------------------------------

TEST_F(HistoryEditorTest, TheDrawGoesToTheStoredDrawNamedOrElseToTheNextOne)
{
    struct Case
    {
        const char* typed;
        RecordNo record;
        bool saysWhere; ///< the typed number was not where the draw went
    };
    const Case cases[] = {
        {"", 11, false},
        {"  ", 11, false},
        {"11", 11, false},
        {"10.6", 11, false},
        {"4", 4, false}, // a stored draw is replaced without a question
        {"50", 11, true},
        {"1e30", 11, true},
        {"-5", 11, true},
        {"0", 11, true},
        {"abc", 11, true},
        {" 12 ", 11, true},
        {"99999999999999999999999", 11, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string("[") + c.typed + "]");
        open(TenDraws());
        m_view = test::RecordingEditorView{};
        m_view.status = "前のヒント";
        m_view.focus = EditorField::Text8;
        m_view.enter(c.typed, kNumbers, "7");
        m_editor->Writing_Click();

        std::vector<DrawRecord> expected = TenDraws();
        if (c.record == 11)
            expected.push_back(kStored);
        else
            expected[static_cast<std::size_t>(c.record - 1)] = kStored;
        EXPECT_EQ(test::ReadRecords(file()), expected);
        const auto latest = static_cast<RecordNo>(expected.size());
        EXPECT_EQ(text1(), std::to_string(latest + 1));
        EXPECT_EQ(m_view.numberTexts(), std::vector<std::string>(7, ""));
        EXPECT_EQ(m_view.latest, latest);
        EXPECT_EQ(m_history->Latest(), latest);
        // No message; the focus stays, and so does the status text unless the draw went elsewhere.
        EXPECT_TRUE(m_view.messages.empty());
        EXPECT_EQ(m_view.focus, EditorField::Text8);
        EXPECT_EQ(m_view.status, c.saysWhere ? text::WrittenAsNextDraw(c.typed, 11) : "前のヒント");
        m_history.reset();
    }
}

TEST_F(HistoryEditorTest, AcceptedEntriesAreStoredAsTheirRoundedIntegers)
{
    struct Case
    {
        std::vector<std::string> numbers;
        std::string bonus;
        DrawRecord stored;
    };
    const Case cases[] = {
        // Equal neighbours and 43 pass, and the bonus may be one of the six.
        {{"5", "5", "10", "20", "30", "43"}, "10", Draw({5, 5, 10, 20, 30, 43}, 10)},
        // 7.5 < 8 passes the order check as 7.5; both are stored as 8. 8.5 is stored as 8, 42.6 as 43.
        {{"7.5", "8", "8.5", "20", " 4 0", "42.6"}, "0.6e1", Draw({8, 8, 8, 20, 40, 43}, 6)},
    };
    for (const Case& c : cases) {
        open({});
        m_view = test::RecordingEditorView{};
        m_view.enter("", c.numbers, c.bonus);
        m_editor->Writing_Click();
        EXPECT_TRUE(m_view.messages.empty());
        EXPECT_EQ(test::ReadRecords(file()), std::vector<DrawRecord>{c.stored});
        EXPECT_EQ(m_view.latest, 1);
        EXPECT_EQ(text1(), "2");
        m_history.reset();
    }
}

// --- rejected entries --------------------------------------------------------------------------

TEST_F(HistoryEditorTest, ARejectedEntryIsShownOnItsFieldAndWritesNothing)
{
    using enum EditorField;
    struct Case
    {
        std::vector<std::string> typed; ///< Text2(0..5), Text8
        EditorField field;
        bool order; ///< OrderMessage, else RangeMessage
    };
    const Case cases[] = {
        {{"10", "5", "20", "25", "30", "35", "7"}, Text2_0, true},   // fails on the left field of the pair
        {{"1", "7.6", "7.5", "20", "30", "40", "2"}, Text2_1, true}, // values, not the integers stored
        {{"1", "2", "3", "5", "4", "6", ""}, Text2_3, true},         // the order before the bonus
        {{"0", "2", "3", "4", "5", "6", "7"}, Text2_0, false},
        {{"1", "2", "3", "4", "5", "44", "7"}, Text2_5, false},
        {{"5", "4", "3", "2", "1", "44", "7"}, Text2_5, false}, // the range of all six before their order
        {{"1", "2", "3", "4", "5", "6", ""}, Text8, false},
        {{"1", "2", "3", "4", "5", "6", "0"}, Text8, false},
        {{"1", "2", "3", "4", "5", "6", "44"}, Text8, false},
        {{"1", "2", "3", "4", "5", "6", "43.01"}, Text8, false},
        {{"1", "2", "3", "4", "5", "6", "0.99"}, Text8, false},
        // A number followed by other text has no integer to store, nor have other forms of numbers.
        {{"1abc", "2", "3", "4", "5", "6", "7"}, Text2_0, false},
        {{"1", "2", "3", "4abc", "5", "6", "7"}, Text2_3, false},
        {{"1", "2", "3", "4", "5", "6", "7abc"}, Text8, false},
        {{"1", "2", "１２", "40", "41", "42", "7"}, Text2_2, false},
        {{"1", "2", "12　", "40", "41", "42", "7"}, Text2_2, false},
    };
    open(TenDraws());
    const auto before = test::ReadBytes(file());
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.typed));
        m_view = test::RecordingEditorView{};
        m_view.enter("4", {c.typed.begin(), c.typed.begin() + 6}, c.typed[6]);
        const auto typed = m_view.texts;
        m_editor->Writing_Click();
        expectRejected(c.field, c.order ? text::kOrderMessage : text::kRangeMessage, typed, before);
    }
}

TEST_F(HistoryEditorTest, ARejectedEntryCanBeCorrectedAndWritten)
{
    open(TenDraws());
    m_view.enter("", {"10", "5", "20", "25", "30", "35"}, "7");
    m_editor->Writing_Click();
    ASSERT_EQ(m_view.messages.size(), 1u);
    m_view.texts[EditorField::Text2_0] = "4";
    m_editor->Writing_Click();
    EXPECT_EQ(m_view.messages.size(), 1u);
    EXPECT_EQ(test::ReadRecords(file()).back(), Draw({4, 5, 20, 25, 30, 35}, 7));
    // The error note stays in the status bar until something else replaces it.
    EXPECT_EQ(m_view.status, text::kInputErrorStatus);
}

TEST(HistoryEditorTexts, AreExactlyAsShown)
{
    // Two lines joined by a carriage return alone; the wave is U+FF5E.
    EXPECT_EQ(text::kRangeMessage, "無効な入力値です。\r1\xEF\xBD\x9E"
                                   "43の数値を半角で入力し直して下さい。");
    EXPECT_EQ(text::kOrderMessage, "無効な入力値です。\r当選番号は小さい順に入力して下さい。");
    // The typed draw number without surrounding blanks, cut after 12 characters.
    EXPECT_EQ(text::WrittenAsNextDraw(" 2050 ", 2039),
              "抽選回数「2050」は保存済みの回でも次の回でもないため、第2039回として書き込みました。");
    EXPECT_EQ(text::WrittenAsNextDraw("1234567890123456", 3),
              "抽選回数「123456789012…」は保存済みの回でも次の回でもないため、第3回として書き込みました。");
}

// --- deleting ----------------------------------------------------------------------------------

TEST_F(HistoryEditorTest, DeleteClearsTheLatestRecordAndTheNextAppendReusesIt)
{
    std::vector<DrawRecord> draws = TenDraws();
    draws[9].Reserved = 5;
    open(draws);
    m_view.enter("3", {"1", "2", "3", "4", "5", "6"}, "7");
    const auto typed = m_view.texts;
    m_editor->Delete_Click();

    auto records = test::ReadRecords(file());
    ASSERT_EQ(records.size(), 10u);
    EXPECT_EQ(records[9], Draw({0, 0, 0, 0, 0, 0}, 0, 5)); // Reserved stays as the buffer held it
    EXPECT_EQ(m_view.latest, 9);
    EXPECT_EQ(m_history->Latest(), 9);
    EXPECT_EQ(m_view.texts, typed);
    EXPECT_TRUE(m_view.messages.empty());

    m_view.texts[EditorField::Text1] = "";
    m_editor->Writing_Click();
    records = test::ReadRecords(file());
    ASSERT_EQ(records.size(), 10u);
    EXPECT_EQ(records[9], Draw({1, 2, 3, 4, 5, 6}, 7, 5));
    EXPECT_EQ(m_view.latest, 10);
    EXPECT_EQ(text1(), "11");
}

TEST_F(HistoryEditorTest, DeletingEveryDrawStopsAtZero)
{
    open({Draw({1, 2, 3, 4, 5, 6}, 7), Draw({2, 3, 4, 5, 6, 7}, 8)});
    for (int i = 0; i < 3; ++i)
        m_editor->Delete_Click();
    EXPECT_EQ(test::ReadRecords(file()), std::vector<DrawRecord>(2, Draw({0, 0, 0, 0, 0, 0}, 0)));
    EXPECT_EQ(m_history->Latest(), 0);
    // The third delete, with nothing stored, neither writes nor tells the window anything.
    EXPECT_EQ(m_view.log, (std::vector<std::string>{"latest 1", "latest 0"}));
}

// --- the file refusing a change ----------------------------------------------------------------

class HistoryEditorFailingDiskTest : public HistoryEditorTest
{
protected:
    void SetUp() override
    {
        open(TenDraws(), std::make_unique<test::FailingDevice>(m_plan));
        m_before = test::ReadBytes(file());
    }

    void expectStoreError(const std::string& reason)
    {
        ASSERT_EQ(m_view.messages.size(), 1u);
        EXPECT_EQ(m_view.messages[0].icon, MessageIcon::Critical);
        EXPECT_EQ(m_view.messages[0].title, "Zentrix");
        EXPECT_NE(m_view.messages[0].text.find("「Loto6data.dt」"), std::string::npos)
            << m_view.messages[0].text;
        EXPECT_NE(m_view.messages[0].text.find(reason), std::string::npos) << m_view.messages[0].text;
    }

    std::shared_ptr<test::FailurePlan> m_plan = std::make_shared<test::FailurePlan>();
    std::vector<std::uint8_t> m_before;
};

TEST_F(HistoryEditorFailingDiskTest, AFailedWriteOrDeleteKeepsTheFieldsTheFileAndLatest)
{
    struct Case
    {
        const char* text1; ///< nullptr: Delete instead of Writing
        std::int64_t bytesWritten;
        const char* says;
    };
    // An append cut short half-way, a replace and a delete the disk refuses outright.
    for (const Case c :
         {Case{"", 6, "第11回を書き込めませんでした"}, Case{"4", 0, "第4回を書き込めませんでした"},
          Case{nullptr, 0, "第10回を書き込めませんでした"}}) {
        SCOPED_TRACE(c.says);
        m_view = test::RecordingEditorView{};
        m_plan->bytesBeforeWriteFailure = c.bytesWritten;
        m_view.enter(c.text1 ? c.text1 : "3", kNumbers, "7");
        const auto typed = m_view.texts;
        c.text1 ? m_editor->Writing_Click() : m_editor->Delete_Click();
        expectStoreError(c.says);
        EXPECT_EQ(m_view.texts, typed);
        EXPECT_EQ(test::ReadBytes(file()), m_before);
        EXPECT_EQ(m_history->Latest(), 10);
        EXPECT_FALSE(m_view.latest);
    }
    // The disk recovers: the entry kept in the fields goes in.
    m_plan->bytesBeforeWriteFailure = -1;
    m_view.texts[EditorField::Text1] = "";
    m_editor->Writing_Click();
    EXPECT_EQ(test::ReadRecords(file()).size(), 11u);
    EXPECT_EQ(m_view.latest, 11);
}

TEST_F(HistoryEditorFailingDiskTest, AFailedScanAfterAnAppendReportsItButStillCountsTheDraw)
{
    m_plan->failReads = true; // the write goes through; the scan for Latest that follows fails
    m_view.enter("", kNumbers, "7");
    m_editor->Writing_Click();
    expectStoreError("読み込めませんでした");
    EXPECT_EQ(test::ReadRecords(file()).at(10), kStored);
    EXPECT_EQ(m_view.numberTexts(), std::vector<std::string>(7, ""));
    EXPECT_EQ(text1(), "12");
    EXPECT_EQ(m_history->Latest(), 11); // a later append cannot overwrite the new draw
    EXPECT_EQ(m_view.latest, 11);
}

TEST_F(HistoryEditorFailingDiskTest, AFailedReadIsReportedAndLeavesTheFields)
{
    m_plan->failReads = true;
    m_view.enter("3", {"1", "2", "3", "4", "5", "6"}, "7");
    const auto typed = m_view.texts;
    m_editor->Reading_Click();
    expectStoreError("第3回を読み込めませんでした");
    EXPECT_EQ(m_view.texts, typed);
}

} // namespace
} // namespace zentrix
