// The history file against what other users and programs can do to it: sparse files of any
// length, FIFOs and sockets at its path, a rename racing the lock, replacements killed part-way,
// and another user's file.
#include "store/HistoryFile.h"
#include "support/FailingDevice.h"
#include "support/HistoryFixtures.h"
#include "support/TempDir.h"

#include <chrono>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace zentrix {
namespace {

using test::Draw;
namespace fs = std::filesystem;

/// A file of `length` bytes whose only stored bytes are `records` at the start and, when given,
/// one record at `farRecord`; the rest is a hole that costs no disk.
void MakeSparse(const fs::path& file, const std::vector<DrawRecord>& records, std::int64_t length,
                std::optional<std::pair<RecordNo, DrawRecord>> far = std::nullopt)
{
    test::WriteHistory(file, records);
    ASSERT_EQ(::truncate(file.c_str(), static_cast<off_t>(length)), 0);
    if (far) {
        const int fd = ::open(file.c_str(), O_WRONLY);
        const RecordBytes bytes = EncodeRecord(far->second);
        ASSERT_EQ(::pwrite(fd, bytes.data(), bytes.size(), static_cast<off_t>((far->first - 1) * 16)), 16);
        ::close(fd);
    }
}

std::int64_t DiskBytes(const fs::path& file)
{
    struct stat st
    {
    };
    ::stat(file.c_str(), &st);
    return static_cast<std::int64_t>(st.st_blocks) * 512;
}

TEST(SparseHistory, LatestIsFoundAcrossHolesOfAnyLength)
{
    test::TempDir dir;
    const auto file = dir / "Loto6data.dt";
    const std::vector<DrawRecord> draws = test::SyntheticHistory(40, 5);
    // 1 GiB and 15 TiB of empty records behind 40 draws: the scan must not walk them one by one.
    for (const std::int64_t length : {std::int64_t{1} << 30, std::int64_t{15} << 40}) {
        MakeSparse(file, draws, length);
        HistoryFile history(file);
        ASSERT_TRUE(history.OpenHistory()) << length;
        EXPECT_EQ(history.Latest(), 40) << length;
        EXPECT_EQ(history.CurrentRecord(), draws.back());
        // The next draw goes to record 41 and is found again by the scan after it.
        ASSERT_TRUE(history.WriteDraw(41, {1, 2, 3, 4, 5, 6}, 7));
        ASSERT_TRUE(history.FindLatest());
        EXPECT_EQ(history.Latest(), 41);
        EXPECT_EQ(history.RecordCount(), length / 16);
    }
}

TEST(SparseHistory, AStoredDrawBetweenHolesIsFoundAndTheBlockEdgesHold)
{
    test::TempDir dir;
    const auto file = dir / "Loto6data.dt";
    // Draws on either side of the scan's 4096-record blocks, and one alone in a hole.
    for (const RecordNo at :
         {RecordNo{1}, RecordNo{4096}, RecordNo{4097}, RecordNo{8193}, RecordNo{1000000}}) {
        MakeSparse(file, {}, std::int64_t{1} << 30, std::pair{at, Draw({1, 2, 3, 4, 5, 6}, 7)});
        HistoryFile history(file);
        ASSERT_TRUE(history.OpenHistory()) << at;
        EXPECT_EQ(history.Latest(), at);
    }
}

TEST(SparseHistory, AnAbsurdLatestIsRefusedWithItsRecordNumber)
{
    test::TempDir dir;
    const auto file = dir / "Loto6data.dt";
    const RecordNo far = (RecordNo{64} << 30) / 16;
    MakeSparse(file, {}, far * 16, std::pair{far, Draw({1, 2, 3, 4, 5, 6}, 7)});
    HistoryFile history(file);
    const StoreStatus opened = history.OpenHistory();
    EXPECT_EQ(opened.error, StoreError::TooLarge);
    EXPECT_EQ(opened.record, far);
    EXPECT_FALSE(history.IsOpen());
    EXPECT_NE(DescribeStoreError(opened, "Loto6data.dt").find("大きすぎます"), std::string::npos);

    // Just within the bound is still a history.
    MakeSparse(file, {}, kMaxStoredDraws * 16, std::pair{kMaxStoredDraws, Draw({1, 2, 3, 4, 5, 6}, 7)});
    HistoryFile within(file);
    ASSERT_TRUE(within.OpenHistory());
    EXPECT_EQ(within.Latest(), kMaxStoredDraws);
}

TEST(SparseHistory, ReplacingKeepsTheHolesAndTheTrailingBytes)
{
    test::TempDir dir;
    const auto file = dir / "Loto6data.dt";
    const std::vector<DrawRecord> draws = test::SyntheticHistory(30, 2);
    MakeSparse(file, draws, (std::int64_t{1} << 30) + 5);
    HistoryFile history(file);
    ASSERT_TRUE(history.OpenHistory());
    const std::vector<HistoryFile::RecordWrite> writes{{31, {1, 2, 3, 4, 5, 6}, 7}};
    ASSERT_TRUE(history.ReplaceHistory(writes));
    EXPECT_EQ(fs::file_size(file), (std::uint64_t{1} << 30) + 5);
    EXPECT_LT(DiskBytes(file), std::int64_t{1} << 20); // still sparse, not a gigabyte on disk
    EXPECT_EQ(history.Latest(), 31);
    std::vector<DrawRecord> expected = draws;
    expected.push_back(Draw({1, 2, 3, 4, 5, 6}, 7));
    for (RecordNo d = 1; d <= 31; ++d) {
        ASSERT_TRUE(history.ReadDraw(d));
        EXPECT_EQ(history.CurrentRecord(), expected[static_cast<std::size_t>(d - 1)]) << d;
    }
}

TEST(SpecialFiles, FifoAndSocketAreRefusedWithoutWaiting)
{
    test::TempDir dir;
    const auto fifo = dir / "fifo.dt";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0644), 0);
    for (const FileAccess access : {FileAccess::ReadOnly, FileAccess::ReadWrite}) {
        HistoryFile history(fifo, MakeNativeFileDevice(access));
        EXPECT_EQ(history.OpenHistory().error, StoreError::NotRegularFile); // would block without the check
    }

    const auto socketPath = dir / "socket.dt";
    const int sock = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::snprintf(address.sun_path, sizeof address.sun_path, "%s", socketPath.c_str());
    ASSERT_EQ(::bind(sock, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    HistoryFile onSocket(socketPath, MakeNativeFileDevice(FileAccess::ReadOnly));
    EXPECT_EQ(onSocket.OpenHistory().error, StoreError::NotRegularFile);
    ::close(sock);
}

TEST(SpecialFiles, ACopyIsNeverCreatedThroughALinkPlantedUnderItsName)
{
    test::TempDir dir;
    const auto file = dir / "Loto6data.dt";
    test::WriteHistory(file, {Draw({1, 2, 3, 4, 5, 6}, 7)});
    const std::vector<std::uint8_t> before = test::ReadBytes(file);
    fs::create_symlink(file, dir / ".copy");
    const std::unique_ptr<FileDevice> copy = MakeNativeFileDevice(FileAccess::CreateNew);
    const StoreStatus opened = copy->open(dir / ".copy");
    EXPECT_EQ(opened.systemError, EEXIST);
    EXPECT_FALSE(copy->isOpen());
    EXPECT_EQ(test::ReadBytes(file), before);
}

/// Renames a new file over the path once, between the open and the lock of the next open.
class RenameBeforeLock
{
public:
    RenameBeforeLock(const fs::path& replacement, const fs::path& target, int times = 1)
    {
        auto left = std::make_shared<int>(times);
        SetNativeBeforeLockHook([replacement, target, left](const fs::path&) {
            if (*left > 0) {
                --*left;
                test::WriteHistory(replacement, {Draw({7, 8, 9, 10, 11, 12}, 13)});
                fs::rename(replacement, target);
            }
        });
    }
    ~RenameBeforeLock() { SetNativeBeforeLockHook({}); }
};

TEST(LockRace, AFileReplacedBeforeTheLockIsNotTheOneEdited)
{
    test::TempDir dir;
    const auto file = dir / "Loto6data.dt";
    test::WriteHistory(file, {Draw({1, 2, 3, 4, 5, 6}, 7)});
    {
        RenameBeforeLock race(dir / "new.dt", file);
        HistoryFile history(file);
        ASSERT_TRUE(history.OpenHistory());
        // The open went on to the file now at the path; a write lands in it, not in the old copy.
        ASSERT_TRUE(history.WriteDraw(2, {20, 21, 22, 23, 24, 25}, 26));
    }
    EXPECT_EQ(test::ReadRecords(file),
              (std::vector<DrawRecord>{Draw({7, 8, 9, 10, 11, 12}, 13), Draw({20, 21, 22, 23, 24, 25}, 26)}));

    // Replaced on every attempt: refused, never opened on a stale file.
    RenameBeforeLock always(dir / "new.dt", file, 1000);
    HistoryFile history(file);
    EXPECT_EQ(history.OpenHistory().error, StoreError::Moved);
}

TEST(ReplaceHistory, TheNewFileStaysLockedAndWritable)
{
    test::TempDir dir;
    const auto file = dir / "Loto6data.dt";
    test::WriteHistory(file, {Draw({1, 2, 3, 4, 5, 6}, 7, 9)});
    HistoryFile history(file);
    ASSERT_TRUE(history.OpenHistory());
    const std::vector<HistoryFile::RecordWrite> writes{{2, {8, 9, 10, 11, 12, 13}, 14}};
    ASSERT_TRUE(history.ReplaceHistory(writes));
    EXPECT_EQ(history.Latest(), 2);
    HistoryFile second(file);
    EXPECT_EQ(second.OpenHistory().error, StoreError::InUse); // the new file is guarded at once
    HistoryFile reader(file, MakeNativeFileDevice(FileAccess::ReadOnly));
    ASSERT_TRUE(reader.OpenHistory());
    EXPECT_EQ(reader.Latest(), 2);
    // Later edits reach the file at the path, and the written record carried Reserved along.
    ASSERT_TRUE(history.WriteDraw(3, {14, 15, 16, 17, 18, 19}, 20));
    // Closed and opened again, it is the same ordinary file.
    history.CloseHistory();
    ASSERT_TRUE(history.OpenHistory());
    EXPECT_EQ(history.Latest(), 3);
    history.CloseHistory();
    const std::vector<DrawRecord> records = test::ReadRecords(file);
    ASSERT_EQ(records.size(), 3u);
    EXPECT_EQ(records[1], Draw({8, 9, 10, 11, 12, 13}, 14, 9));
    EXPECT_EQ(records[2].Numbers[0], 14);
}

TEST(ReplaceHistory, StaleCopiesOfOurOwnAreRemovedAndNothingElse)
{
    test::TempDir dir;
    const auto file = dir / "Loto6data.dt";
    test::WriteHistory(file, {Draw({1, 2, 3, 4, 5, 6}, 7)});
    const auto old = fs::file_time_type::clock::now() - std::chrono::hours(1);
    const auto stale = dir / ".Loto6data.dt.import-aB3xY9";
    const auto fresh = dir / ".Loto6data.dt.import-Qw12Er";
    const auto locked = dir / ".Loto6data.dt.import-Lk0000";
    const auto foreign = dir / ".Loto6data.dt.import-notours";
    const auto otherFile = dir / ".Other.dt.import-aB3xY9";
    for (const auto& path : {stale, fresh, locked, foreign, otherFile}) {
        test::WriteBytes(path, {1, 2, 3});
        if (path != fresh)
            fs::last_write_time(path, old);
    }
    // A replacement still writing its copy holds it as an editor does.
    HistoryFile holder(locked);
    ASSERT_TRUE(holder.OpenHistory());

    HistoryFile history(file);
    ASSERT_TRUE(history.OpenHistory());
    const std::vector<HistoryFile::RecordWrite> writes{{2, {8, 9, 10, 11, 12, 13}, 14}};
    ASSERT_TRUE(history.ReplaceHistory(writes));
    holder.CloseHistory();
    EXPECT_FALSE(fs::exists(stale));
    for (const auto& path : {fresh, locked, foreign, otherFile})
        EXPECT_TRUE(fs::exists(path)) << path;
}

TEST(ReplaceHistory, FailureLeavesTheFileAndNoCopy)
{
    test::TempDir dir;
    const auto file = dir / "Loto6data.dt";
    test::WriteHistory(file, test::SyntheticHistory(5, 1));
    const std::vector<std::uint8_t> before = test::ReadBytes(file);
    HistoryFile history(file);
    ASSERT_TRUE(history.OpenHistory());
    auto plan = std::make_shared<test::FailurePlan>();
    plan->bytesBeforeWriteFailure = 40;
    const std::vector<HistoryFile::RecordWrite> writes{{6, {1, 2, 3, 4, 5, 6}, 7}};
    const StoreStatus failed =
        history.ReplaceHistory(writes, [plan] { return std::make_unique<test::FailingDevice>(plan); });
    EXPECT_EQ(failed.error, StoreError::WriteFailed);
    EXPECT_EQ(failed.systemError, ENOSPC);
    EXPECT_EQ(history.Latest(), 5);
    EXPECT_EQ(test::ReadBytes(file), before);
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 1);
    // A write that would leave a gap after the end of the file (record 7 of 5) is refused the
    // same way.
    const std::vector<HistoryFile::RecordWrite> gap{{7, {1, 2, 3, 4, 5, 6}, 7}};
    EXPECT_EQ(history.ReplaceHistory(gap).error, StoreError::OutOfRange);
    EXPECT_EQ(test::ReadBytes(file), before);
}

TEST(ReplaceHistory, AnotherUsersFileKeepsItsOwnerGroupAndMode)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "needs root to make a file of another user";
    test::TempDir dir;
    const auto file = dir / "Loto6data.dt";
    test::WriteHistory(file, {Draw({1, 2, 3, 4, 5, 6}, 7)});
    ASSERT_EQ(::chown(file.c_str(), 65534, 65534), 0);
    ASSERT_EQ(::chmod(file.c_str(), 0640), 0);
    HistoryFile history(file);
    ASSERT_TRUE(history.OpenHistory());
    const std::vector<HistoryFile::RecordWrite> writes{{2, {8, 9, 10, 11, 12, 13}, 14}};
    ASSERT_TRUE(history.ReplaceHistory(writes));
    struct stat st
    {
    };
    ASSERT_EQ(::stat(file.c_str(), &st), 0);
    EXPECT_EQ(st.st_uid, 65534u);
    EXPECT_EQ(st.st_gid, 65534u);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
}

} // namespace
} // namespace zentrix
