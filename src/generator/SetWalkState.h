// SetWalkState: the state of a walk over the numbers 1..43 that builds sets of six, as the exact
// count and the direct sampler both track it: what the rule plan needs to judge the set at the end.
#pragma once

#include "store/Loto6.h"

namespace zentrix::setwalk {

inline constexpr int kTakenStates = kSetSize + 1; // 0..6 numbers taken
inline constexpr int kEvenStates = kSetSize + 1;  // 0..6 even numbers
inline constexpr int kFreshStates = 4;            // 0, 1, 2, or more fresh matches
inline constexpr int kPairStates = 3;             // 0, 1, or more consecutive pairs
inline constexpr int kLastStates = 2;             // whether the previous number was taken
inline constexpr int kStateCount = kTakenStates * kEvenStates * kFreshStates * kPairStates * kLastStates;

/// The position of a state in a table of kStateCount entries.
constexpr int StateIndex(int taken, int evens, int fresh, int pairs, int last)
{
    return (((taken * kEvenStates + evens) * kFreshStates + fresh) * kPairStates + pairs) * kLastStates +
           last;
}

} // namespace zentrix::setwalk
