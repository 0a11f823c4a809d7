// The history file when things go wrong: no permission, a directory in the way, a second program
// holding the lock, and disks that fail part-way through a write. Nothing may be lost.
#include "store/HistoryFile.h"
#include "support/ChildProcess.h"
#include "support/FailingDevice.h"
#include "support/HistoryFixtures.h"
#include "support/TempDir.h"

#include <csignal>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zentrix {
namespace {

using test::Draw;

TEST(HistoryFileFaults, WithoutPermissionTheOpenFailsAndNothingIsCreatedOrChanged)
{
    test::TempDir dir;
    ::chmod(dir.path().c_str(), 0755);
    const auto readOnly = dir / "ro";
    std::filesystem::create_directory(readOnly);
    ::chmod(readOnly.c_str(), 0555);
    const auto file = dir / "Loto6data.dt";
    test::WriteHistory(file, {Draw({1, 2, 3, 4, 5, 6}, 7)});
    ::chmod(file.c_str(), 0444);

    // As an unprivileged user: root ignores file permissions.
    const test::ChildOutcome child = test::RunInChild([&]() -> std::string {
        if (!test::DropPrivileges())
            return "cannot drop privileges";
        const StoreStatus inFolder = HistoryFile(readOnly / "Loto6data.dt").OpenHistory();
        if (inFolder.error != StoreError::OpenFailed || inFolder.systemError != EACCES)
            return "a read-only folder was not refused with EACCES";
        if (HistoryFile(file).OpenHistory().error != StoreError::OpenFailed)
            return "a read-only file was not refused";
        return {};
    });
    EXPECT_EQ(child.report, "");
    EXPECT_TRUE(std::filesystem::is_empty(readOnly));
    EXPECT_EQ(test::ReadRecords(file), std::vector<DrawRecord>{Draw({1, 2, 3, 4, 5, 6}, 7)});
}

TEST(HistoryFileFaults, DirectoryOfTheSameNameIsNotADataFile)
{
    test::TempDir dir;
    std::filesystem::create_directory(dir / "Loto6data.dt");
    HistoryFile history(dir / "Loto6data.dt");
    EXPECT_EQ(history.OpenHistory().error, StoreError::NotRegularFile);
    EXPECT_FALSE(history.IsOpen());
}

TEST(HistoryFileFaults, SecondOpenWhileLockedByAnotherProcessIsRefusedUntouched)
{
    test::TempDir dir;
    const auto file = dir / "Loto6data.dt";
    test::WriteHistory(file, {Draw({1, 2, 3, 4, 5, 6}, 7)});
    const auto before = test::ReadBytes(file);

    test::ChildProcess holder([&](int channel) {
        HistoryFile first(file);
        test::SendAll(channel, first.OpenHistory() ? "y" : "n");
        ::pause(); // holds the file until killed
        return 0;
    });
    ASSERT_EQ(holder.read(1), "y");

    HistoryFile second(file);
    EXPECT_EQ(second.OpenHistory().error, StoreError::InUse);
    EXPECT_FALSE(second.IsOpen());
    EXPECT_EQ(test::ReadBytes(file), before);

    holder.kill(SIGKILL);
    EXPECT_TRUE(second.OpenHistory().ok()); // free again once the other program has gone
}

TEST(HistoryFileReadOnly, NeverCreatesOrChangesTheFileAndWorksBesideTheEditor)
{
    test::TempDir dir;
    const auto file = dir / "Loto6data.dt";
    HistoryFile missing(file, MakeNativeFileDevice(FileAccess::ReadOnly));
    EXPECT_EQ(missing.OpenHistory().error, StoreError::OpenFailed);
    EXPECT_FALSE(std::filesystem::exists(file));

    test::WriteHistory(file, {Draw({1, 2, 3, 4, 5, 6}, 7)});
    const auto before = test::ReadBytes(file);
    HistoryFile reader(file, MakeNativeFileDevice(FileAccess::ReadOnly));
    ASSERT_TRUE(reader.OpenHistory());
    EXPECT_EQ(reader.Latest(), 1);
    EXPECT_EQ(reader.WriteDraw(2, {8, 9, 10, 11, 12, 13}, 14).error, StoreError::WriteFailed);
    EXPECT_EQ(reader.DeleteLatest().error, StoreError::WriteFailed);
    EXPECT_EQ(test::ReadBytes(file), before);

    HistoryFile secondReader(file, MakeNativeFileDevice(FileAccess::ReadOnly));
    EXPECT_TRUE(secondReader.OpenHistory()); // readers share
    HistoryFile writer(file);
    ASSERT_TRUE(writer.OpenHistory()); // and the editor opens beside them
    HistoryFile secondWriter(file);
    EXPECT_EQ(secondWriter.OpenHistory().error, StoreError::InUse); // but only one editor
    ASSERT_TRUE(writer.WriteDraw(2, {8, 9, 10, 11, 12, 13}, 14));
    HistoryFile lateReader(file, MakeNativeFileDevice(FileAccess::ReadOnly));
    ASSERT_TRUE(lateReader.OpenHistory()); // a reader opened while it edits sees its writes
    EXPECT_EQ(lateReader.Latest(), 2);
    ASSERT_TRUE(reader.FindLatest());
    EXPECT_EQ(reader.Latest(), 2);
    writer.CloseHistory();
    EXPECT_TRUE(secondWriter.OpenHistory()); // free for the next editor once the first has gone
}

class FailingDiskTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        test::WriteHistory(file(), {Draw({1, 2, 3, 4, 5, 6}, 7), Draw({8, 9, 10, 11, 12, 13}, 14)});
        m_before = test::ReadBytes(file());
        m_history = std::make_unique<HistoryFile>(file(), std::make_unique<test::FailingDevice>(m_plan));
        ASSERT_TRUE(m_history->OpenHistory());
    }
    std::filesystem::path file() const { return m_dir / "Loto6data.dt"; }

    test::TempDir m_dir;
    std::shared_ptr<test::FailurePlan> m_plan = std::make_shared<test::FailurePlan>();
    std::unique_ptr<HistoryFile> m_history;
    std::vector<std::uint8_t> m_before;
};

TEST_F(FailingDiskTest, AWriteWhoseFlushFailsIsReportedAndTakenBack)
{
    // The new bytes reached the file but could not be made durable: the write is reported as
    // failed, so the file must not keep it either (a half-written record would be worse).
    m_plan->failSync = true;
    const DrawRecord buffer = m_history->CurrentRecord();
    const StoreStatus replace = m_history->WriteDraw(2, {20, 21, 22, 23, 24, 25}, 26);
    EXPECT_EQ(replace.error, StoreError::WriteFailed);
    EXPECT_EQ(replace.systemError, EIO);
    EXPECT_EQ(replace.record, 2);
    EXPECT_EQ(m_history->WriteDraw(3, {20, 21, 22, 23, 24, 25}, 26).error, StoreError::WriteFailed);
    EXPECT_EQ(m_history->DeleteLatest().error, StoreError::WriteFailed);
    EXPECT_EQ(test::ReadBytes(file()), m_before);
    EXPECT_EQ(m_history->Latest(), 2);
    EXPECT_EQ(m_history->CurrentRecord(), buffer);

    m_plan->failSync = false; // the disk recovers: the same write now succeeds
    ASSERT_TRUE(m_history->WriteDraw(3, {20, 21, 22, 23, 24, 25}, 26));
    EXPECT_EQ(test::ReadRecords(file()).size(), 3u);
}

TEST_F(FailingDiskTest, ReadErrorDuringTheScanKeepsLatestAndIsReported)
{
    m_plan->failReads = true;
    const StoreStatus status = m_history->FindLatest();
    EXPECT_EQ(status.error, StoreError::ReadFailed);
    EXPECT_EQ(status.record, 2);
    EXPECT_EQ(m_history->Latest(), 2);
}

} // namespace
} // namespace zentrix
