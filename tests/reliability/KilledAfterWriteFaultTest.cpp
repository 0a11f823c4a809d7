// A program killed right after a write: whatever the store said it wrote is in the file when the
// next program opens it. Nothing may wait in a buffer of the process.
#include "ChildProcess.h"
#include "store/HistoryEditor.h"
#include "store/HistoryFile.h"
#include "support/HistoryFixtures.h"
#include "support/TempDir.h"

#include <csignal>
#include <gtest/gtest.h>
#include <unistd.h>

namespace zentrix::test {
namespace {

class KilledAfterWriteTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        WriteHistory(file(), {Draw({1, 2, 3, 4, 5, 6}, 7), Draw({8, 9, 10, 11, 12, 13}, 14)});
    }
    std::filesystem::path file() const { return m_dir / "Loto6data.dt"; }

    /// Runs `write` in a child that kills itself the moment it returns true; expects that death.
    void runAndKill(const std::function<bool()>& write)
    {
        const ChildOutcome child = RunInChild([&]() -> std::string {
            if (!write())
                return "the write failed";
            ::kill(::getpid(), SIGKILL);
            return "still alive after SIGKILL";
        });
        EXPECT_EQ(child.report, "");
        EXPECT_EQ(child.signal, SIGKILL);
    }

    TempDir m_dir;
};

TEST_F(KilledAfterWriteTest, AppendedDrawIsThereForTheNextProgram)
{
    runAndKill([&] {
        HistoryFile history(file());
        return history.OpenHistory() && history.WriteDraw(3, {20, 21, 22, 23, 24, 25}, 26);
    });
    HistoryFile next(file());
    ASSERT_TRUE(next.OpenHistory()); // the killed program's lock went with it
    EXPECT_EQ(next.Latest(), 3);
    ASSERT_TRUE(next.ReadDraw(3));
    EXPECT_EQ(next.CurrentRecord(), Draw({20, 21, 22, 23, 24, 25}, 26));
}

TEST_F(KilledAfterWriteTest, DeletedDrawStaysDeleted)
{
    runAndKill([&] {
        HistoryFile history(file());
        return history.OpenHistory() && history.DeleteLatest();
    });
    HistoryFile next(file());
    ASSERT_TRUE(next.OpenHistory());
    EXPECT_EQ(next.Latest(), 1);
}

TEST_F(KilledAfterWriteTest, EditorEntryIsThereForTheNextProgram)
{
    runAndKill([&] {
        HistoryFile history(file());
        if (!history.OpenHistory())
            return false;
        RecordedEditorView view;
        HistoryEditor editor(history, view);
        // A new draw, then a correction of draw 1, each killed-safe on its own.
        view.enter("", {"3", "11", "18", "25", "36", "42"}, "7");
        editor.Writing_Click();
        view.enter("1", {"1", "2", "3", "4", "5", "9"}, "10");
        editor.Writing_Click();
        return view.messages.empty() && view.latest == 3;
    });
    EXPECT_EQ(ReadRecords(file()),
              (std::vector<DrawRecord>{Draw({1, 2, 3, 4, 5, 9}, 10), Draw({8, 9, 10, 11, 12, 13}, 14),
                                       Draw({3, 11, 18, 25, 36, 42}, 7)}));
}

} // namespace
} // namespace zentrix::test
