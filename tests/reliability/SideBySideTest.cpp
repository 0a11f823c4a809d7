// The editor and readers side by side on one data file: the guard keeps a second editor out, a
// reader waits out a write on the bytes it reads (and a write waits out a read), and a reader in
// another process never sees a torn record however fast the editor writes.
#include "store/HistoryFile.h"
#include "support/ChildProcess.h"
#include "support/HistoryFixtures.h"
#include "support/TempDir.h"

#include <atomic>
#include <chrono>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <thread>
#include <unistd.h>

namespace zentrix {
namespace {

using namespace std::chrono_literals;
using test::Draw;

/// A record lock taken from outside the store, as another program would hold one.
class ForeignLock
{
public:
    ForeignLock(const std::filesystem::path& file, short type, off_t start, off_t length)
        : m_fd(::open(file.c_str(), O_RDWR))
    {
        struct flock lock
        {
        };
        lock.l_type = type;
        lock.l_whence = SEEK_SET;
        lock.l_start = start;
        lock.l_len = length;
        m_held = m_fd >= 0 && ::fcntl(m_fd, F_OFD_SETLK, &lock) == 0;
    }
    ~ForeignLock()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    ForeignLock(const ForeignLock&) = delete;
    ForeignLock& operator=(const ForeignLock&) = delete;
    bool held() const { return m_held; }
    void release()
    {
        ::close(m_fd);
        m_fd = -1;
    }

private:
    int m_fd;
    bool m_held = false;
};

TEST(SideBySide, AWriteWaitsForAReadOfItsRecordAndAReadForAWrite)
{
    test::TempDir dir;
    const auto file = dir / "Loto6data.dt";
    test::WriteHistory(file, {Draw({1, 2, 3, 4, 5, 6}, 7), Draw({8, 9, 10, 11, 12, 13}, 14)});
    HistoryFile editor(file);
    ASSERT_TRUE(editor.OpenHistory());

    {
        // A reader in the middle of reading record 2: the editor's write of it waits.
        ForeignLock reading(file, F_RDLCK, 16, 16);
        ASSERT_TRUE(reading.held());
        std::atomic<bool> written{false};
        std::thread writer([&] {
            EXPECT_TRUE(editor.WriteDraw(2, {20, 21, 22, 23, 24, 25}, 26));
            written = true;
        });
        std::this_thread::sleep_for(200ms);
        EXPECT_FALSE(written.load());
        // Record 1 is not being read: the store's reader reads it meanwhile.
        HistoryFile reader(file, MakeNativeFileDevice(FileAccess::ReadOnly));
        ASSERT_TRUE(reader.OpenHistory());
        ASSERT_TRUE(reader.ReadDraw(1));
        reading.release();
        writer.join();
        EXPECT_TRUE(written.load());
    }
    {
        // A write in progress on record 1: a reader's read of it waits and then sees the whole record.
        HistoryFile reader(file, MakeNativeFileDevice(FileAccess::ReadOnly));
        ASSERT_TRUE(reader.OpenHistory());
        ForeignLock writing(file, F_WRLCK, 0, 16);
        ASSERT_TRUE(writing.held());
        std::atomic<bool> read{false};
        std::thread waiting([&] {
            EXPECT_TRUE(reader.ReadDraw(1));
            read = true;
        });
        std::this_thread::sleep_for(200ms);
        EXPECT_FALSE(read.load());
        writing.release();
        waiting.join();
        EXPECT_EQ(reader.CurrentRecord(), Draw({1, 2, 3, 4, 5, 6}, 7));
    }
    EXPECT_EQ(test::ReadRecords(file)[1], Draw({20, 21, 22, 23, 24, 25}, 26));
}

TEST(SideBySide, OnlyOneEditorAndTheGuardLiesBeyondEveryRecord)
{
    test::TempDir dir;
    const auto file = dir / "Loto6data.dt";
    HistoryFile editor(file);
    ASSERT_TRUE(editor.OpenHistory());
    HistoryFile second(file);
    EXPECT_EQ(second.OpenHistory().error, StoreError::InUse);
    // The guard covers no record: another program can lock any record range while it is held.
    ForeignLock records(file, F_WRLCK, 0, off_t{1} << 40);
    EXPECT_TRUE(records.held());
}

TEST(SideBySide, AReaderInAnotherProcessNeverSeesATornRecord)
{
    test::TempDir dir;
    const auto file = dir / "Loto6data.dt";
    constexpr int kRecords = 64;
    // Every record holds one value in all seven places; a torn read would mix two values.
    std::vector<DrawRecord> start;
    for (int r = 0; r < kRecords; ++r)
        start.push_back(Draw({1, 1, 1, 1, 1, 1}, 1));
    test::WriteHistory(file, start);

    test::ChildProcess writer([&](int) {
        HistoryFile editor(file);
        if (!editor.OpenHistory())
            return 2;
        for (int round = 0;; ++round) {
            const auto v = static_cast<std::int16_t>(1 + round % 43);
            for (RecordNo r = 1; r <= kRecords; ++r) {
                if (!editor.WriteDraw(r, {v, v, v, v, v, v}, v))
                    return 3;
            }
        }
    });
    ASSERT_TRUE(writer.started());

    HistoryFile reader(file, MakeNativeFileDevice(FileAccess::ReadOnly));
    ASSERT_TRUE(reader.OpenHistory());
    int torn = 0;
    int reads = 0;
    const auto until = std::chrono::steady_clock::now() + 2s;
    while (std::chrono::steady_clock::now() < until && torn == 0) {
        for (RecordNo r = 1; r <= kRecords; ++r) {
            ASSERT_TRUE(reader.ReadDraw(r));
            const DrawRecord& seen = reader.CurrentRecord();
            ++reads;
            for (const std::int16_t n : seen.Numbers)
                torn += n != seen.Bonus ? 1 : 0;
        }
        ASSERT_TRUE(reader.FindLatest());
        EXPECT_EQ(reader.Latest(), kRecords);
    }
    EXPECT_TRUE(writer.running()) << "the writer stopped early, status " << writer.wait().exitCode;
    EXPECT_EQ(torn, 0) << "after " << reads << " reads";
    EXPECT_GT(reads, 1000);
}

} // namespace
} // namespace zentrix
