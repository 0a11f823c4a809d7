// DrawRecord: one stored LOTO6 draw and its 16-byte on-disk encoding.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace zentrix {

/// Record numbers, record counts and Latest. Wider than the 16-bit values stored in a record, so
/// files of more than 32,767 records still work.
using RecordNo = std::int64_t;

/// The six winning numbers of a draw, in stored order.
using DrawNumbers = std::array<std::int16_t, 6>;

/**
 * One stored draw. On disk it is exactly 16 bytes, eight 16-bit signed little-endian integers:
 *
 * | offset | field        |
 * |--------|--------------|
 * | 0..11  | Numbers[0..5]|
 * | 12     | Reserved     |
 * | 14     | Bonus        |
 *
 * A record whose first number is 0 is an empty slot; nothing else is looked at.
 * Reserved is never interpreted: a write carries whatever value the buffer holds.
 */
struct DrawRecord
{
    DrawNumbers Numbers{};
    std::int16_t Reserved = 0;
    std::int16_t Bonus = 0;

    bool isEmpty() const { return Numbers[0] == 0; }
    friend bool operator==(const DrawRecord&, const DrawRecord&) = default;
};

inline constexpr std::size_t kRecordSize = 16;
using RecordBytes = std::array<std::uint8_t, kRecordSize>;

/// Encodes field by field, little-endian, whatever the host's byte order and struct packing.
RecordBytes EncodeRecord(const DrawRecord& record);

/// The inverse of EncodeRecord.
DrawRecord DecodeRecord(std::span<const std::uint8_t, kRecordSize> bytes);

} // namespace zentrix
