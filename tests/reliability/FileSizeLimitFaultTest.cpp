// A write cut short by the operating system: the file-size limit (RLIMIT_FSIZE) of a child process
// lets part of a record through and refuses the rest with EFBIG, as a full disk would. Through the
// real file device, every earlier record must stay as it was, Latest and CurrentRecord must not
// move, and the failure must be reported. (The history editor's report of such a failure is
// proved with a failing device in tests/store.)
#include "store/HistoryFile.h"
#include "support/ChildProcess.h"
#include "support/HistoryFixtures.h"
#include "support/TempDir.h"

#include <cerrno>
#include <gtest/gtest.h>

namespace zentrix::test {
namespace {

constexpr long long kRecord = static_cast<long long>(kRecordSize);
const DrawNumbers kNewDraw{30, 31, 32, 33, 34, 35};

std::vector<DrawRecord> ThreeDraws()
{
    return {Draw({1, 2, 3, 4, 5, 6}, 7, 11), Draw({8, 9, 10, 11, 12, 13}, 14),
            Draw({20, 21, 22, 23, 24, 25}, 26)};
}

/// Opens `file` in a child, lowers its file-size limit to `limit` and writes the new draw as
/// record `record`; the report says what did not hold, given whether the write should fit.
ChildOutcome WriteUnderLimit(const std::filesystem::path& file, long long limit, RecordNo record, bool fits)
{
    return RunInChild([&]() -> std::string {
        HistoryFile history(file);
        if (!history.OpenHistory())
            return "open failed";
        const DrawRecord buffer = history.CurrentRecord();
        if (!LimitFileSize(limit))
            return "no limit";
        const StoreStatus status = history.WriteDraw(record, kNewDraw, 36);
        if (fits)
            return status && history.Latest() == 4 ? "" : "a write that fits failed or left Latest";
        if (status.error != StoreError::WriteFailed || status.systemError != EFBIG || status.record != record)
            return "the cut-short write was not reported as a failed write of draw " + std::to_string(record);
        if (history.Latest() != 3)
            return "Latest moved to " + std::to_string(history.Latest());
        if (!(history.CurrentRecord() == buffer))
            return "CurrentRecord changed";
        if (history.RecordCount() != 3)
            return "the file holds " + std::to_string(history.RecordCount()) + " records";
        return {};
    });
}

TEST(FileSizeLimitTest, AWriteCutShortLeavesEveryRecordAsItWas)
{
    struct Case
    {
        const char* what;
        long long limit;
        RecordNo record;
    };
    const Case cases[] = {
        {"an append of which half a record fits", 3 * kRecord + 8, 4},
        {"a replace of draw 3 of which only the first half fits", 2 * kRecord + 8, 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TempDir dir;
        WriteHistory(dir / "Loto6data.dt", ThreeDraws());
        const std::vector<std::uint8_t> before = ReadBytes(dir / "Loto6data.dt");
        const ChildOutcome child = WriteUnderLimit(dir / "Loto6data.dt", c.limit, c.record, false);
        ASSERT_TRUE(child.exited) << "signal " << child.signal;
        EXPECT_EQ(child.report, "");
        EXPECT_EQ(ReadBytes(dir / "Loto6data.dt"), before);
    }
}

TEST(FileSizeLimitTest, AWriteWithinTheLimitStillSucceeds)
{
    TempDir dir;
    WriteHistory(dir / "Loto6data.dt", ThreeDraws());
    const ChildOutcome child = WriteUnderLimit(dir / "Loto6data.dt", 4 * kRecord, 4, true);
    ASSERT_TRUE(child.exited);
    EXPECT_EQ(child.report, "");
    auto expected = ThreeDraws();
    expected.push_back(Draw({30, 31, 32, 33, 34, 35}, 36));
    EXPECT_EQ(ReadRecords(dir / "Loto6data.dt"), expected);
}

} // namespace
} // namespace zentrix::test
