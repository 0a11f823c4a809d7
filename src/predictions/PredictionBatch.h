// PredictionBatch: one saved generation run: when, for which draw, how, and the sets it produced.
#pragma once

#include "generator/GenerationSettings.h"

#include <cstdint>
#include <string>
#include <vector>

namespace zentrix {

/// Where a batch was made.
enum class BatchSource
{
    Window,      ///< the desktop program's ジェネレート
    CommandLine, ///< zentrix-cli generate
};

/// A generation run as it is saved. `settings.setCount` is the number of sets asked for, which a
/// completed run always delivers, so it equals sets.size().
struct NewBatch
{
    std::int64_t createdAt = 0; ///< seconds since 1970-01-01 UTC
    int draw = 0;               ///< the draw predicted: Latest + 1 when the run was made
    BatchSource source = BatchSource::Window;
    std::uint64_t seed = 0; ///< RandomSource(seed) with the same settings and draws 1..draw-1 repeats it
    GenerationSettings settings;
    std::vector<PredictionSet> sets; ///< in the order the run kept them
};

/// A saved batch with the number the store gave it. Numbers are never reused after a delete.
struct Batch : NewBatch
{
    std::int64_t id = 0;
};

/// "2026/12/07 19:55" in the local time zone.
std::string FormatLocalTime(std::int64_t secondsSinceEpoch);

/// The current time as stored in createdAt.
std::int64_t NowSeconds();

} // namespace zentrix
