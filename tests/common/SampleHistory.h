// SampleHistory: history files built from lists of draws, raw bytes, the real LOTO6 history and
// synthetic ones. Without GoogleTest, so the benchmarks use the same histories as the tests.
#pragma once

#include "generator/DrawTable.h"
#include "store/DrawRecord.h"

#include <cstdint>
#include <filesystem>
#include <initializer_list>
#include <optional>
#include <vector>

namespace zentrix::test {

/// A draw of six numbers and a bonus, with an optional Reserved value.
DrawRecord Draw(std::initializer_list<int> numbers, int bonus, int reserved = 0);

/// Writes the records as a history file (replacing any file there).
void WriteHistory(const std::filesystem::path& file, const std::vector<DrawRecord>& records);
void WriteBytes(const std::filesystem::path& file, const std::vector<std::uint8_t>& bytes);
std::vector<std::uint8_t> ReadBytes(const std::filesystem::path& file);
/// Decodes every whole record of a file.
std::vector<DrawRecord> ReadRecords(const std::filesystem::path& file);

/// The draws as a run's DrawTable, draw 1 first.
DrawTable TableOf(const std::vector<DrawRecord>& draws);

/// The real results (draws 1..2037) from ../shared/data/loto6-history.csv (or the file that
/// ZENTRIX_HISTORY_CSV names), or nothing when that file is absent.
std::optional<std::vector<DrawRecord>> RealHistory();
std::filesystem::path RealHistoryCsvPath();

/// A plausible history of `draws` draws (six distinct ascending numbers and a distinct bonus),
/// the same for the same seed.
std::vector<DrawRecord> SyntheticHistory(int draws, std::uint32_t seed);

} // namespace zentrix::test
