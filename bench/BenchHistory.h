// BenchHistory: the history the benchmarks run on, written to a temporary Loto6data.dt.
#pragma once

#include "store/DrawRecord.h"

#include <filesystem>
#include <string>
#include <vector>

namespace zentrix::bench {

/// The real LOTO6 results when ../shared/data/loto6-history.csv is there (or ZENTRIX_HISTORY_CSV
/// names another copy), otherwise a synthetic history of 2,000 draws.
std::vector<DrawRecord> LoadBenchHistory(std::string* source = nullptr);

/// A temporary folder holding one history file, removed when the object goes.
class BenchHistoryFile
{
public:
    explicit BenchHistoryFile(const std::vector<DrawRecord>& draws);
    ~BenchHistoryFile();
    BenchHistoryFile(const BenchHistoryFile&) = delete;
    BenchHistoryFile& operator=(const BenchHistoryFile&) = delete;

    const std::filesystem::path& path() const { return m_file; }

private:
    std::filesystem::path m_dir;
    std::filesystem::path m_file;
};

} // namespace zentrix::bench
