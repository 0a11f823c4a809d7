// DrawRecord: explicit little-endian encoding of the 16-byte record.
#include "DrawRecord.h"

namespace zentrix {
namespace {

void put16(RecordBytes& out, std::size_t offset, std::int16_t value)
{
    const auto bits = static_cast<std::uint16_t>(value);
    out[offset] = static_cast<std::uint8_t>(bits & 0xFFu);
    out[offset + 1] = static_cast<std::uint8_t>(bits >> 8);
}

std::int16_t get16(std::span<const std::uint8_t, kRecordSize> in, std::size_t offset)
{
    const auto bits = static_cast<std::uint16_t>(in[offset] | (in[offset + 1] << 8));
    return static_cast<std::int16_t>(bits); // two's complement, well-defined since C++20
}

} // namespace

RecordBytes EncodeRecord(const DrawRecord& record)
{
    RecordBytes out{};
    for (std::size_t i = 0; i < record.Numbers.size(); ++i)
        put16(out, 2 * i, record.Numbers[i]);
    put16(out, 12, record.Reserved);
    put16(out, 14, record.Bonus);
    return out;
}

DrawRecord DecodeRecord(std::span<const std::uint8_t, kRecordSize> bytes)
{
    DrawRecord record;
    for (std::size_t i = 0; i < record.Numbers.size(); ++i)
        record.Numbers[i] = get16(bytes, 2 * i);
    record.Reserved = get16(bytes, 12);
    record.Bonus = get16(bytes, 14);
    return record;
}

} // namespace zentrix
