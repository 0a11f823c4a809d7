// GenerationSettings and PredictionSet: what a generation run is asked for and what it produces.
#pragma once

#include <array>
#include <cstdint>

namespace zentrix {

/// What the weights of a run are built from.
enum class WeightBasis
{
    TotalAppearances, ///< how often each number came out (optData(0))
    TimeAxis,         ///< how recently each number came out (optData(1))
};

/// The nine options a generation run reads from the main window. Defaults are the values the
/// main window opens with.
struct GenerationSettings
{
    int setCount = 5;        ///< sets wanted, 1..100
    bool weightingOn = true; ///< draw every number through the weight table
    WeightBasis weightBasis = WeightBasis::TotalAppearances;
    int totalLevel = 1;        ///< strength on the total-appearances basis, 1..3
    int timeAxisLevel = 1;     ///< strength on the time-axis basis, 1..3
    bool parityOn = true;      ///< apply the even/odd rule
    int parityLevel = 4;       ///< 1..7; the set must hold 7 - level even numbers
    int carryCount = 1;        ///< numbers carried over from the latest draw, 0..2
    bool consecutiveOn = true; ///< exactly one consecutive pair (on) or none (off)

    friend bool operator==(const GenerationSettings&, const GenerationSettings&) = default;
};

/// Six distinct numbers 1..43 in ascending order.
using PredictionSet = std::array<std::int16_t, 6>;

} // namespace zentrix
