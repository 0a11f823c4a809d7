// A write cut short by the operating system: the file-size limit (RLIMIT_FSIZE) of a child process
// lets part of a record through and refuses the rest with EFBIG, as a full disk would. Through the
// real file device and through the history editor, every earlier record must stay as it was,
// Latest must not move, and the user must be told.
#include "ChildProcess.h"
#include "store/HistoryEditor.h"
#include "store/HistoryFile.h"
#include "support/HistoryFixtures.h"
#include "support/TempDir.h"

#include <cerrno>
#include <gtest/gtest.h>

namespace zentrix::test {
namespace {

constexpr long long kRecord = static_cast<long long>(kRecordSize);

std::vector<DrawRecord> ThreeDraws()
{
    return {Draw({1, 2, 3, 4, 5, 6}, 7, 11), Draw({8, 9, 10, 11, 12, 13}, 14),
            Draw({20, 21, 22, 23, 24, 25}, 26)};
}

class FileSizeLimitTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        WriteHistory(file(), ThreeDraws());
        m_before = ReadBytes(file());
    }
    std::filesystem::path file() const { return m_dir / "Loto6data.dt"; }

    TempDir m_dir;
    std::vector<std::uint8_t> m_before;
};

TEST_F(FileSizeLimitTest, AppendCutShortLeavesNoPartialRecordAndLatestUnchanged)
{
    const ChildOutcome child = RunInChild([&]() -> std::string {
        HistoryFile history(file());
        if (!history.OpenHistory())
            return "open failed";
        const DrawRecord buffer = history.CurrentRecord();
        if (!LimitFileSize(3 * kRecord + 8)) // half of the new record fits
            return "no limit";
        const StoreStatus status = history.WriteDraw(4, {30, 31, 32, 33, 34, 35}, 36);
        if (status.error != StoreError::WriteFailed || status.systemError != EFBIG || status.record != 4)
            return "the cut-short append was not reported as a failed write of draw 4";
        if (history.Latest() != 3)
            return "Latest moved to " + std::to_string(history.Latest());
        if (!(history.CurrentRecord() == buffer))
            return "CurrentRecord changed";
        if (history.RecordCount() != 3)
            return "the file holds " + std::to_string(history.RecordCount()) + " records";
        return {};
    });
    ASSERT_TRUE(child.exited) << "signal " << child.signal;
    EXPECT_EQ(child.report, "");
    EXPECT_EQ(ReadBytes(file()), m_before);
}

TEST_F(FileSizeLimitTest, ReplaceCutShortPutsTheOldRecordBack)
{
    // The limit falls inside draw 3: its first half can be overwritten, the rest cannot.
    const ChildOutcome child = RunInChild([&]() -> std::string {
        HistoryFile history(file());
        if (!history.OpenHistory())
            return "open failed";
        if (!LimitFileSize(2 * kRecord + 8))
            return "no limit";
        const StoreStatus status = history.WriteDraw(3, {30, 31, 32, 33, 34, 35}, 36);
        if (status.error != StoreError::WriteFailed || status.systemError != EFBIG)
            return "the cut-short replace was not reported";
        if (history.Latest() != 3)
            return "Latest moved";
        return {};
    });
    ASSERT_TRUE(child.exited) << "signal " << child.signal;
    EXPECT_EQ(child.report, "");
    EXPECT_EQ(ReadRecords(file()), ThreeDraws());
}

TEST_F(FileSizeLimitTest, EditorReportsTheFailedWriteAndKeepsTheEntryForAnotherTry)
{
    const ChildOutcome child = RunInChild([&]() -> std::string {
        HistoryFile history(file());
        if (!history.OpenHistory())
            return "open failed";
        RecordedEditorView view;
        HistoryEditor editor(history, view);
        if (!LimitFileSize(3 * kRecord + 5))
            return "no limit";
        view.enter("", {"3", "11", "18", "25", "36", "42"}, "7");
        editor.Writing_Click();
        if (view.messages.size() != 1)
            return "expected one message, saw " + std::to_string(view.messages.size());
        const auto& shown = view.messages[0];
        if (shown.icon != MessageIcon::Critical || shown.title != "Zentrix")
            return "the message is not the store's error box";
        if (shown.text.find("Loto6data.dt") == std::string::npos ||
            shown.text.find("第4回") == std::string::npos)
            return "the message does not name the file and the draw: " + shown.text;
        if (history.Latest() != 3 || view.latest != -1)
            return "Latest moved";
        if (view.fieldText(EditorField::Text2_0) != "3" || view.fieldText(EditorField::Text8) != "7")
            return "the entry was lost from the fields";
        return {};
    });
    ASSERT_TRUE(child.exited) << "signal " << child.signal;
    EXPECT_EQ(child.report, "");
    EXPECT_EQ(ReadBytes(file()), m_before);
}

TEST_F(FileSizeLimitTest, EditorDeleteCutShortKeepsTheLatestDraw)
{
    const ChildOutcome child = RunInChild([&]() -> std::string {
        HistoryFile history(file());
        if (!history.OpenHistory())
            return "open failed";
        RecordedEditorView view;
        HistoryEditor editor(history, view);
        if (!LimitFileSize(2 * kRecord + 4))
            return "no limit";
        editor.Delete_Click();
        if (view.messages.size() != 1 || view.messages[0].icon != MessageIcon::Critical)
            return "the failed delete was not reported";
        if (history.Latest() != 3 || view.latest != -1)
            return "Latest moved";
        return {};
    });
    ASSERT_TRUE(child.exited) << "signal " << child.signal;
    EXPECT_EQ(child.report, "");
    EXPECT_EQ(ReadRecords(file()), ThreeDraws());
}

TEST_F(FileSizeLimitTest, WriteWithinTheLimitStillSucceeds)
{
    // The limit itself is no fault: a write that fits goes through.
    const ChildOutcome child = RunInChild([&]() -> std::string {
        HistoryFile history(file());
        if (!history.OpenHistory())
            return "open failed";
        if (!LimitFileSize(4 * kRecord))
            return "no limit";
        if (!history.WriteDraw(4, {30, 31, 32, 33, 34, 35}, 36))
            return "a write that fits failed";
        return history.Latest() == 4 ? std::string() : "Latest did not move to 4";
    });
    ASSERT_TRUE(child.exited);
    EXPECT_EQ(child.report, "");
    auto expected = ThreeDraws();
    expected.push_back(Draw({30, 31, 32, 33, 34, 35}, 36));
    EXPECT_EQ(ReadRecords(file()), expected);
}

} // namespace
} // namespace zentrix::test
