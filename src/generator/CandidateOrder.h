// CandidateOrder: the scan that puts a drawn candidate in ascending order and replaces duplicates.
#pragma once

#include "generator/GenerationSettings.h"
#include "generator/LotoNumbers.h"

#include <cstddef>
#include <utility>

namespace zentrix {

/// A candidate needing more replacements than this is given up as a failed attempt: its weights
/// leave too few numbers to fill six distinct places (or make the last one all but unreachable).
inline constexpr int kMaxReplacementsPerCandidate = 1000;

/**
 * Orders a candidate and removes its duplicates: from position 1, compare each number with the
 * next; if it is greater, swap the two and start again at position 1; if they are equal, replace
 * the first of the pair by `replacement()` and start again at position 1; otherwise go on. Past
 * position 5 the six numbers are distinct and ascending.
 *
 * Returns false, leaving the candidate unfinished, after `maxReplacements` replacements.
 */
template <typename Replacement>
bool OrderCandidate(PredictionSet& candidate, Replacement&& replacement,
                    int maxReplacements = kMaxReplacementsPerCandidate)
{
    int replacements = 0;
    std::size_t i = 0;
    while (i + 1 < candidate.size()) {
        if (candidate[i] > candidate[i + 1]) {
            std::swap(candidate[i], candidate[i + 1]);
            i = 0;
        } else if (candidate[i] == candidate[i + 1]) {
            if (replacements == maxReplacements)
                return false;
            ++replacements;
            candidate[i] = replacement();
            i = 0;
        } else {
            ++i;
        }
    }
    return true;
}

/**
 * The same result as OrderCandidate, reached without the scan: the scan's outcome is the first
 * six distinct values among the drawn numbers followed by the replacements, and it asks for one
 * replacement for every number that repeats one already there. So, given the same replacements,
 * both end with the same six numbers after the same number of replacements. Returns the six numbers as a set
 * of bits, or 0 when given up.
 */
template <typename Replacement>
NumberMask DistinctNumbers(const PredictionSet& drawn, Replacement&& replacement,
                           int maxReplacements = kMaxReplacementsPerCandidate)
{
    NumberMask set = 0;
    int missing = 0;
    for (const std::int16_t n : drawn) {
        // A value outside 1..43 (never drawn, but cheap to guard) is replaced like a duplicate.
        const NumberMask bit = NumberBit(n);
        missing += bit == 0 || (set & bit) != 0 ? 1 : 0;
        set |= bit;
    }
    for (int replacements = 0; missing > 0; ++replacements) {
        if (replacements == maxReplacements)
            return 0;
        const NumberMask bit = NumberBit(replacement());
        if (bit != 0 && (set & bit) == 0) {
            set |= bit;
            --missing;
        }
    }
    return set;
}

/// The numbers of a set of bits in ascending order (the first six).
PredictionSet SetFromMask(NumberMask mask);

/// The bits of a set's numbers.
NumberMask MaskFromSet(const PredictionSet& set);

} // namespace zentrix
