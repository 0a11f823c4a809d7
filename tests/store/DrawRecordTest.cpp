// The 16-byte record layout: field order, little-endian bytes, signed values.
#include "store/DrawRecord.h"

#include "support/HistoryFixtures.h"

#include <gtest/gtest.h>

namespace zentrix {
namespace {

TEST(DrawRecord, EncodesFieldByFieldLittleEndianWithReservedBeforeTheBonus)
{
    EXPECT_EQ(EncodeRecord(test::Draw({3, 11, 18, 25, 36, 42}, 7)),
              (RecordBytes{0x03, 0x00, 0x0B, 0x00, 0x12, 0x00, 0x19, 0x00, 0x24, 0x00, 0x2A, 0x00, 0x00, 0x00,
                           0x07, 0x00}));
    // Negative values in two's complement; 256 = 00 01; -300 = 0xFED4.
    EXPECT_EQ(EncodeRecord(test::Draw({-1, 256, 0, 0, 0, 0}, -300, 7)),
              (RecordBytes{0xFF, 0xFF, 0x00, 0x01, 0, 0, 0, 0, 0, 0, 0, 0, 0x07, 0x00, 0xD4, 0xFE}));
}

TEST(DrawRecord, DecodesLittleEndianAndRoundTrips)
{
    RecordBytes bytes{};
    bytes[0] = 0x05;
    EXPECT_EQ(DecodeRecord(bytes).Numbers[0], 5);

    const DrawRecord original = test::Draw({-32768, 32767, 1, 43, 12, 0}, -1, -2);
    EXPECT_EQ(DecodeRecord(EncodeRecord(original)), original);
}

TEST(DrawRecord, OnlyAZeroFirstNumberMarksAnEmptySlot)
{
    EXPECT_TRUE(test::Draw({0, 5, 6, 7, 8, 9}, 10).isEmpty());
    EXPECT_FALSE(test::Draw({-1, 0, 0, 0, 0, 0}, 0).isEmpty());
    EXPECT_FALSE(test::Draw({44, 0, 0, 0, 0, 0}, 0).isEmpty());
}

} // namespace
} // namespace zentrix
