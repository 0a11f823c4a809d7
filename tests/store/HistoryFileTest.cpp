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
    // Only the first number marks a slot empty, as a whole 16-bit value: a negative one (-256, whose
    // low byte is 0) is a stored draw, 0 is not whatever follows.
    HistoryFile& history =
        openWith({Draw({1, 2, 3, 4, 5, 6}, 7), Draw({8, 9, 10, 11, 12, 13}, 14),
                  Draw({-256, 0, 0, 0, 0, 0}, 0), Draw({0, 0, 0, 0, 0, 0}, 0), Draw({0, 9, 9, 9, 9, 9}, 9)});
    EXPECT_EQ(history.RecordCount(), 5);
    EXPECT_EQ(history.Latest(), 3);

    ASSERT_TRUE(history.WriteDraw(history.Latest() + 1, {21, 22, 23, 24, 25, 26}, 27));
    EXPECT_EQ(std::filesystem::file_size(file()), 80u);
    ASSERT_TRUE(history.FindLatest());
    EXPECT_EQ(history.Latest(), 4);
    EXPECT_EQ(test::ReadRecords(file())[3], Draw({21, 22, 23, 24, 25, 26}, 27));
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

TEST(StoreMessages, EachFailureNamesTheFileAndWhatWentWrong)
{
    struct Case
    {
        StoreStatus status;
        std::string says;
    };
    const Case cases[] = {
        {StoreStatus::Fail(StoreError::NotOpen), "「d.dt」が開かれていません。"},
        {StoreStatus::Fail(StoreError::OpenFailed, EACCES),
         "「d.dt」を開けませんでした。\n（理由：アクセスが許可されていません）"},
        {StoreStatus::Fail(StoreError::NotRegularFile), "「d.dt」は通常のファイルではないため"},
        // Either program may hold the file; the lock's errno says nothing more.
        {StoreStatus::Fail(StoreError::InUse, EWOULDBLOCK),
         "「d.dt」は他の Zentrix か zentrix-cli が使用中です。使い終わってからもう一度試して下さい。"},
        {StoreStatus::Fail(StoreError::OutOfRange, 0, 12), "「d.dt」に第12回のレコードはありません。"},
        {StoreStatus::Fail(StoreError::WriteFailed, ENOSPC, 4),
         "「d."
         "dt」の第4回を書き込めませんでした。データは変更されていません。\n（理由：ディスクの空き容量が不足し"
         "ています）"},
        {StoreStatus::Fail(StoreError::TooLarge, 0, 5000000),
         "（最新の記録が第5000000回、扱えるのは第1048576回まで）"},
        {StoreStatus::Fail(StoreError::Moved), "「d.dt」が開く間に何度も置き換えられたため"},
        {StoreStatus::Fail(StoreError::OwnerNotKept, EPERM),
         "「d.dt」の所有者とグループを新しいファイルに引き継げないため"},
        // An errno without a Japanese text of its own still gives a Japanese reason, never English.
        {StoreStatus::Fail(StoreError::ReadFailed, EPROTO, 3),
         "（理由：システムエラー（エラー番号 " + std::to_string(EPROTO) + "））"},
    };
    for (const Case& c : cases) {
        const std::string text = DescribeStoreError(c.status, "d.dt");
        EXPECT_NE(text.find(c.says), std::string::npos) << text;
        EXPECT_TRUE(c.status.error != StoreError::InUse || text.find("理由") == std::string::npos) << text;
    }
    EXPECT_EQ(DescribeStoreError(StoreStatus::Ok(), "d.dt"), "");
    EXPECT_EQ(DescribeSystemError(0), "");
}

} // namespace
} // namespace zentrix
