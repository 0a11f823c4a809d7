// SampleHistory: history files built from draws, and the real and synthetic histories.
#include "common/SampleHistory.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <random>
#include <sstream>
#include <stdexcept>
#include <string>

namespace zentrix::test {

DrawRecord Draw(std::initializer_list<int> numbers, int bonus, int reserved)
{
    if (numbers.size() != 6)
        throw std::invalid_argument("a draw has six numbers");
    DrawRecord record;
    std::transform(numbers.begin(), numbers.end(), record.Numbers.begin(),
                   [](int n) { return static_cast<std::int16_t>(n); });
    record.Bonus = static_cast<std::int16_t>(bonus);
    record.Reserved = static_cast<std::int16_t>(reserved);
    return record;
}

void WriteBytes(const std::filesystem::path& file, const std::vector<std::uint8_t>& bytes)
{
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!out)
        throw std::runtime_error("cannot write " + file.string());
}

void WriteHistory(const std::filesystem::path& file, const std::vector<DrawRecord>& records)
{
    std::vector<std::uint8_t> bytes;
    bytes.reserve(records.size() * kRecordSize);
    for (const DrawRecord& record : records) {
        const RecordBytes encoded = EncodeRecord(record);
        bytes.insert(bytes.end(), encoded.begin(), encoded.end());
    }
    WriteBytes(file, bytes);
}

std::vector<std::uint8_t> ReadBytes(const std::filesystem::path& file)
{
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::vector<DrawRecord> ReadRecords(const std::filesystem::path& file)
{
    const std::vector<std::uint8_t> bytes = ReadBytes(file);
    std::vector<DrawRecord> records;
    for (std::size_t at = 0; at + kRecordSize <= bytes.size(); at += kRecordSize)
        records.push_back(
            DecodeRecord(std::span<const std::uint8_t, kRecordSize>(bytes.data() + at, kRecordSize)));
    return records;
}

DrawTable TableOf(const std::vector<DrawRecord>& draws)
{
    DrawTable table;
    for (const DrawRecord& record : draws)
        table.rows.push_back(MakeDrawRow(record));
    return table;
}

std::filesystem::path RealHistoryCsvPath()
{
    if (const char* overridden = std::getenv("ZENTRIX_HISTORY_CSV"))
        return overridden;
    return std::filesystem::path(ZENTRIX_SHARED_DATA_DIR) / "loto6-history.csv";
}

std::optional<std::vector<DrawRecord>> RealHistory()
{
    std::ifstream in(RealHistoryCsvPath());
    if (!in)
        return std::nullopt;
    std::vector<DrawRecord> draws;
    std::string line;
    std::getline(in, line); // header
    while (std::getline(in, line)) {
        if (line.empty())
            continue;
        std::istringstream fields(line);
        std::string cell;
        std::vector<std::string> cells;
        while (std::getline(fields, cell, ','))
            cells.push_back(cell);
        if (cells.size() != 9)
            throw std::runtime_error("malformed history line: " + line);
        DrawRecord record;
        for (std::size_t i = 0; i < 6; ++i)
            record.Numbers[i] = static_cast<std::int16_t>(std::stoi(cells[2 + i]));
        record.Bonus = static_cast<std::int16_t>(std::stoi(cells[8]));
        draws.push_back(record);
    }
    return draws;
}

std::vector<DrawRecord> SyntheticHistory(int draws, std::uint32_t seed)
{
    std::mt19937 engine(seed);
    std::vector<DrawRecord> records;
    records.reserve(static_cast<std::size_t>(draws));
    for (int d = 0; d < draws; ++d) {
        std::array<int, 43> pool{};
        for (int i = 0; i < 43; ++i)
            pool[static_cast<std::size_t>(i)] = i + 1;
        // Partial Fisher-Yates with a bounded draw of our own, so the sequence is the same everywhere.
        for (std::size_t i = 0; i < 7; ++i) {
            const std::size_t j = i + engine() % (43 - i);
            std::swap(pool[i], pool[j]);
        }
        std::sort(pool.begin(), pool.begin() + 6);
        DrawRecord record;
        for (std::size_t i = 0; i < 6; ++i)
            record.Numbers[i] = static_cast<std::int16_t>(pool[i]);
        record.Bonus = static_cast<std::int16_t>(pool[6]);
        records.push_back(record);
    }
    return records;
}

} // namespace zentrix::test
