// PredictionBatch: one saved generation run: when, for which draw, how, and the sets it produced.
#pragma once

#include "generator/GenerationSettings.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace zentrix {

/// Where a batch was made.
enum class BatchSource
{
    Window,      ///< the desktop program's ジェネレート
    CommandLine, ///< zentrix-cli generate
    Wheel,       ///< the 組み合わせ保証 window: tickets with a proved guarantee, no seed or settings
};

/// The most tickets a wheel batch may hold (a generation run keeps at most kMaxSetCount sets).
inline constexpr std::size_t kMaxWheelBatchSets = 50000;

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
    /// What made a wheel batch (its guarantee and picks); empty for a generation run, whose
    /// settings and seed describe it.
    std::string note;
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
