// BenchHistory: reading the CSV of real results, or making up a history.
#include "BenchHistory.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <fstream>
#include <numeric>
#include <random>
#include <sstream>
#include <stdexcept>

namespace zentrix::bench {
namespace {

std::vector<DrawRecord> ReadCsv(const std::filesystem::path& csv)
{
    std::vector<DrawRecord> draws;
    std::ifstream in(csv);
    if (!in)
        return draws;
    std::string line;
    std::getline(in, line); // header
    while (std::getline(in, line)) {
        std::vector<int> cells;
        std::istringstream fields(line);
        std::string cell;
        while (std::getline(fields, cell, ','))
            cells.push_back(cell.find('-') == std::string::npos ? std::atoi(cell.c_str()) : 0);
        if (cells.size() != 9)
            continue;
        DrawRecord record;
        for (std::size_t i = 0; i < 6; ++i)
            record.Numbers[i] = static_cast<std::int16_t>(cells[2 + i]);
        record.Bonus = static_cast<std::int16_t>(cells[8]);
        draws.push_back(record);
    }
    return draws;
}

std::vector<DrawRecord> Synthetic(int count)
{
    std::mt19937 engine(2037);
    std::vector<DrawRecord> draws;
    for (int d = 0; d < count; ++d) {
        std::array<int, 43> pool{};
        std::iota(pool.begin(), pool.end(), 1);
        for (std::size_t i = 0; i < 7; ++i)
            std::swap(pool[i], pool[i + engine() % (43 - i)]);
        std::sort(pool.begin(), pool.begin() + 6);
        DrawRecord record;
        for (std::size_t i = 0; i < 6; ++i)
            record.Numbers[i] = static_cast<std::int16_t>(pool[i]);
        record.Bonus = static_cast<std::int16_t>(pool[6]);
        draws.push_back(record);
    }
    return draws;
}

} // namespace

std::vector<DrawRecord> LoadBenchHistory(std::string* source)
{
    std::filesystem::path csv = std::filesystem::path(ZENTRIX_SHARED_DATA_DIR) / "loto6-history.csv";
    if (const char* overridden = std::getenv("ZENTRIX_HISTORY_CSV"))
        csv = overridden;
    std::vector<DrawRecord> draws = ReadCsv(csv);
    if (draws.size() >= 2) {
        if (source)
            *source = "real history, " + std::to_string(draws.size()) + " draws";
        return draws;
    }
    if (source)
        *source = "synthetic history, 2000 draws";
    return Synthetic(2000);
}

BenchHistoryFile::BenchHistoryFile(const std::vector<DrawRecord>& draws)
{
    std::string pattern = (std::filesystem::temp_directory_path() / "zentrix-bench-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr)
        throw std::runtime_error("mkdtemp failed");
    m_dir = pattern;
    m_file = m_dir / "Loto6data.dt";
    std::ofstream out(m_file, std::ios::binary);
    for (const DrawRecord& draw : draws) {
        const RecordBytes bytes = EncodeRecord(draw);
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    }
}

BenchHistoryFile::~BenchHistoryFile()
{
    std::error_code ec;
    std::filesystem::remove_all(m_dir, ec);
}

} // namespace zentrix::bench
