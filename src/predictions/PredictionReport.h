// PredictionReport: saved batches as text for people and for spreadsheets, shared by zentrix-cli and
// the 予想履歴 window, and the careful writing of such text into a file.
#pragma once

#include "generator/DrawTable.h"
#include "predictions/BatchScore.h"
#include "predictions/PredictionBatch.h"

#include <filesystem>
#include <string>
#include <vector>

namespace zentrix {

/// "窓" (the window) or "CLI".
std::string SourceName(BatchSource source);

/// How the batch was made, for the lists: a run's settings, or a wheel's note (its guarantee).
std::string DescribeMaking(BatchSource source, const GenerationSettings& settings, const std::string& note);

/// True when zentrix-cli generate --seed makes the same sets again (not for a wheel).
bool IsRepeatable(BatchSource source);

/// "5等 2, 4等 1" (counts of the tiers won, best first), "当選なし", or "未抽選" before the draw.
std::string TierSummary(const BatchScore& score);

/// "¥1,000": yen with thousands separators.
std::string YenText(long long yen);

/// The header line of the CSV export.
std::string PredictionsCsvHeader();

/// One CSV line per set of the batch: the batch's number, time, draw, source, seed, settings, the
/// set's row and six numbers, and its tier once the draw is stored (empty before). Lines end in
/// "\r\n" as spreadsheets expect.
std::string PredictionsCsvLines(const Batch& batch, const DrawTable& history);

/// What went wrong writing an output file; empty when it was written.
using OutputError = std::string;

/**
 * Writes `text` to `target` through a temporary file in the same folder that is flushed and
 * renamed over the target, so the target is either the old file or the whole new one. Refuses
 * (with a Japanese message) any target that is one of `protectedFiles` (the history file, the
 * predictions database) under whatever name, and a target that is a folder.
 */
OutputError WriteOutputFile(const std::filesystem::path& target, const std::string& text,
                            const std::vector<std::filesystem::path>& protectedFiles);

} // namespace zentrix
