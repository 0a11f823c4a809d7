// The history file: opening, the backward scan for Latest, record-at-a-time reads and writes.
#include "store/HistoryFile.h"

#include "support/HistoryFixtures.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

namespace zentrix {
namespace {

using test::Draw;

class HistoryFileTest : public ::testing::Test
{
protected:
    std::filesystem::path file() const { return m_dir / "Loto6data.dt"; }

    HistoryFile& openWith(const std::vector<DrawRecord>& records)
    {
        test::WriteHistory(file(), records);
        return open();
    }
    HistoryFile& open()
    {
        m_history = std::make_unique<HistoryFile>(file());
        const StoreStatus status = m_history->OpenHistory();
        EXPECT_TRUE(status.ok()) << static_cast<int>(status.error);
        return *m_history;
    }

    test::TempDir m_dir;
    std::unique_ptr<HistoryFile> m_history;
};

TEST_F(HistoryFileTest, MissingFileIsCreatedEmptyAndTheFirstWriteGoesToRecordOne)
{
    ASSERT_FALSE(std::filesystem::exists(file()));
    HistoryFile& history = open();
    EXPECT_TRUE(std::filesystem::exists(file()));
    EXPECT_EQ(std::filesystem::file_size(file()), 0u);
    EXPECT_EQ(history.Latest(), 0);
    EXPECT_EQ(history.RecordCount(), 0);

    ASSERT_TRUE(history.WriteDraw(1, {3, 11, 18, 25, 36, 42}, 7));
    EXPECT_EQ(test::ReadBytes(file()), (std::vector<std::uint8_t>{0x03, 0, 0x0B, 0, 0x12, 0, 0x19, 0, 0x24, 0,
                                                                  0x2A, 0, 0, 0, 0x07, 0}));
    ASSERT_TRUE(history.FindLatest());
    EXPECT_EQ(history.Latest(), 1);
}

TEST_F(HistoryFileTest, AppendRaisesLatestEvenWithoutAScan)
{
    HistoryFile& history = openWith({Draw({1, 2, 3, 4, 5, 6}, 7)});
    ASSERT_TRUE(history.WriteDraw(2, {8, 9, 10, 11, 12, 13}, 14));
    EXPECT_EQ(history.Latest(), 2);
    ASSERT_TRUE(history.WriteDraw(1, {2, 3, 4, 5, 6, 7}, 8)); // replacing below Latest keeps it
    EXPECT_EQ(history.Latest(), 2);
}

TEST_F(HistoryFileTest, ZeroByteFileHoldsNoDraw)
{
    HistoryFile& history = openWith({});
    EXPECT_EQ(history.Latest(), 0);
    EXPECT_EQ(history.RecordCount(), 0);
    EXPECT_FALSE(history.ReadDraw(1));
}

TEST_F(HistoryFileTest, TrailingPartialRecordIsNeverReadOrCounted)
{
    // 40 bytes: two empty records and half a record of non-zero bytes.
    std::vector<std::uint8_t> bytes(40, 0);
    for (std::size_t i = 32; i < 40; ++i)
        bytes[i] = 0x11;
    test::WriteBytes(file(), bytes);
    HistoryFile& history = open();
    EXPECT_EQ(history.RecordCount(), 2);
    EXPECT_EQ(history.Latest(), 0);
    EXPECT_EQ(history.ReadDraw(3).error, StoreError::OutOfRange);
}

TEST_F(HistoryFileTest, BackwardScanSkipsTrailingEmptySlotsAndAppendReusesThem)
{
    HistoryFile& history = openWith({Draw({1, 2, 3, 4, 5, 6}, 7), Draw({8, 9, 10, 11, 12, 13}, 14),
                                     Draw({15, 16, 17, 18, 19, 20}, 21), Draw({0, 0, 0, 0, 0, 0}, 0),
                                     Draw({0, 9, 9, 9, 9, 9}, 9)});
    EXPECT_EQ(history.RecordCount(), 5);
    EXPECT_EQ(history.Latest(), 3);

    ASSERT_TRUE(history.WriteDraw(history.Latest() + 1, {21, 22, 23, 24, 25, 26}, 27));
    EXPECT_EQ(std::filesystem::file_size(file()), 80u);
    ASSERT_TRUE(history.FindLatest());
    EXPECT_EQ(history.Latest(), 4);
    EXPECT_EQ(test::ReadRecords(file())[3], Draw({21, 22, 23, 24, 25, 26}, 27));
}

TEST_F(HistoryFileTest, NegativeFirstNumberCountsAsADraw)
{
    HistoryFile& history = openWith({Draw({1, 2, 3, 4, 5, 6}, 7), Draw({-1, 0, 0, 0, 0, 0}, 0)});
    EXPECT_EQ(history.Latest(), 2);
}

TEST_F(HistoryFileTest, ReadFillsTheSingleBufferWithEveryField)
{
    HistoryFile& history = openWith({Draw({1, 2, 3, 4, 5, 6}, 7, 99), Draw({8, 9, 10, 11, 12, 13}, 14)});
    ASSERT_TRUE(history.ReadDraw(1));
    EXPECT_EQ(history.CurrentRecord(), Draw({1, 2, 3, 4, 5, 6}, 7, 99));
    EXPECT_EQ(history.ReadDraw(0).error, StoreError::OutOfRange);
    EXPECT_EQ(history.CurrentRecord(), Draw({1, 2, 3, 4, 5, 6}, 7, 99)); // a refused read changes nothing
}

TEST_F(HistoryFileTest, WriteCarriesTheReservedValueOfTheRecordReadLast)
{
    // Opening scans backwards and so reads the last stored draw, whose Reserved is 7.
    HistoryFile& history = openWith({Draw({1, 2, 3, 4, 5, 6}, 7, 3), Draw({8, 9, 10, 11, 12, 13}, 14, 7)});
    ASSERT_TRUE(history.WriteDraw(3, {3, 11, 18, 25, 36, 42}, 7));
    EXPECT_EQ(test::ReadRecords(file())[2].Reserved, 7);

    ASSERT_TRUE(history.ReadDraw(1));
    ASSERT_TRUE(history.WriteDraw(2, {8, 9, 10, 11, 12, 13}, 14));
    EXPECT_EQ(test::ReadRecords(file())[1].Reserved, 3);
}

TEST_F(HistoryFileTest, RecordsWrittenIntoAFreshFileHaveReservedZero)
{
    HistoryFile& history = open();
    for (RecordNo n = 1; n <= 3; ++n)
        ASSERT_TRUE(history.WriteDraw(n, {1, 2, 3, 4, 5, static_cast<std::int16_t>(5 + n)}, 40));
    for (const DrawRecord& record : test::ReadRecords(file()))
        EXPECT_EQ(record.Reserved, 0);
}

TEST_F(HistoryFileTest, WritesAreRefusedBeyondOneRecordPastTheEnd)
{
    HistoryFile& history = openWith({Draw({1, 2, 3, 4, 5, 6}, 7)});
    EXPECT_EQ(history.WriteDraw(3, {1, 2, 3, 4, 5, 6}, 7).error, StoreError::OutOfRange);
    EXPECT_EQ(history.WriteDraw(0, {1, 2, 3, 4, 5, 6}, 7).error, StoreError::OutOfRange);
    EXPECT_EQ(std::filesystem::file_size(file()), 16u);
}

TEST_F(HistoryFileTest, DeleteLatestZeroesTheRecordKeepsTheLengthAndLowersLatest)
{
    HistoryFile& history = openWith({Draw({1, 2, 3, 4, 5, 6}, 7), Draw({8, 9, 10, 11, 12, 13}, 14, 5)});
    ASSERT_TRUE(history.DeleteLatest());
    EXPECT_EQ(history.Latest(), 1);
    EXPECT_EQ(std::filesystem::file_size(file()), 32u);
    EXPECT_EQ(test::ReadRecords(file())[1], Draw({0, 0, 0, 0, 0, 0}, 0, 5)); // Reserved stays

    // The next append reuses the slot.
    ASSERT_TRUE(history.WriteDraw(history.Latest() + 1, {20, 21, 22, 23, 24, 25}, 26));
    ASSERT_TRUE(history.FindLatest());
    EXPECT_EQ(history.Latest(), 2);
    EXPECT_EQ(std::filesystem::file_size(file()), 32u);
}

TEST_F(HistoryFileTest, DeleteWithAnEmptyHistoryWritesNothing)
{
    HistoryFile& history = open();
    ASSERT_TRUE(history.DeleteLatest());
    EXPECT_EQ(history.Latest(), 0);
    EXPECT_EQ(std::filesystem::file_size(file()), 0u);
}

TEST_F(HistoryFileTest, RecordNumbersGoBeyondSixteenBits)
{
    std::vector<DrawRecord> many(40000, Draw({1, 2, 3, 4, 5, 6}, 7));
    HistoryFile& history = openWith(many);
    EXPECT_EQ(history.RecordCount(), 40000);
    EXPECT_EQ(history.Latest(), 40000);
    ASSERT_TRUE(history.WriteDraw(40001, {7, 8, 9, 10, 11, 12}, 13));
    ASSERT_TRUE(history.FindLatest());
    EXPECT_EQ(history.Latest(), 40001);
    ASSERT_TRUE(history.ReadDraw(40001));
    EXPECT_EQ(history.CurrentRecord().Numbers[0], 7);
}

TEST_F(HistoryFileTest, OperationsOnAClosedFileReportNotOpen)
{
    HistoryFile history(file());
    EXPECT_EQ(history.ReadDraw(1).error, StoreError::NotOpen);
    EXPECT_EQ(history.WriteDraw(1, {1, 2, 3, 4, 5, 6}, 7).error, StoreError::NotOpen);
    EXPECT_EQ(history.RecordCount(), 0);
    EXPECT_FALSE(std::filesystem::exists(file()));
}

TEST(StoreMessages, NameTheFileAndTheReason)
{
    const std::string text =
        DescribeStoreError(StoreStatus::Fail(StoreError::OpenFailed, EACCES), "Loto6data.dt");
    EXPECT_NE(text.find("Loto6data.dt"), std::string::npos);
    EXPECT_NE(text.find("アクセスが許可されていません"), std::string::npos);
    const std::string inUse = DescribeStoreError(StoreStatus::Fail(StoreError::InUse, EWOULDBLOCK), "x.dt");
    EXPECT_NE(inUse.find("使用中"), std::string::npos);
    EXPECT_EQ(inUse.find("理由"), std::string::npos); // the lock's errno says nothing more
    // An errno without a Japanese text of its own still gives a Japanese reason, never English.
    const std::string odd = DescribeStoreError(StoreStatus::Fail(StoreError::ReadFailed, EPROTO, 3), "x.dt");
    EXPECT_NE(odd.find("エラー番号 " + std::to_string(EPROTO)), std::string::npos);
}

} // namespace
} // namespace zentrix
