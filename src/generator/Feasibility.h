// Feasibility: how many of the C(43,6) = 6,096,454 sets pass the set filters, and whether a run
// can ever keep a set, decided before its first attempt.
#pragma once

#include "generator/DrawTable.h"
#include "generator/GenerationSettings.h"
#include "generator/LotoNumbers.h"
#include "generator/SetFilter.h"
#include "generator/WeightTable.h"

#include <cstdint>

namespace zentrix {

/// C(43,6): every set of six distinct numbers 1..43.
inline constexpr std::int64_t kAllSetCount = 6'096'454;

/**
 * The exact number of six-number sets made only of numbers in `allowed` that pass the RulePlan of
 * these settings (consecutive, carry and parity rules, with the single-parity override). Settings
 * that contradict each other give 0. Counted number by number over 1..43 with a small table of
 * (numbers taken, even numbers, fresh matches, consecutive pairs, last number taken), so it takes
 * microseconds, not an enumeration of every set.
 */
std::int64_t CountPassingSets(const GenerationSettings& settings, const CarryLists& lists,
                              const DrawRow& latest, NumberMask allowed = kAllNumbers);

/**
 * The same walk with weights: the sum, over every set made only of numbers in `allowed` that
 * passes `plan`, of the product of its six numbers' weights (0 when the settings contradict each
 * other). With every weight 1 it is the count of passing sets.
 */
double WeighPassingSets(const RulePlan& plan, const PerNumber<double>& weight,
                        NumberMask allowed = kAllNumbers);

/// Why no attempt of a run can ever keep a set.
enum class Infeasibility
{
    None,                 ///< sets can pass
    NoDrawableNumber,     ///< weighting on and every weight is 0: the weighted draw has no band
    FewerThanSixDrawable, ///< weighting on and fewer than six numbers have a weight above 0
    NoSetPasses,          ///< no set at all passes the filters with these settings
    NoDrawableSetPasses,  ///< sets pass, but each needs a number of weight 0, which is never drawn
};

struct FeasibilityReport
{
    Infeasibility reason = Infeasibility::None;
    /// Numbers the draw can reach: all 43 with weighting off (the first six draws are uniform),
    /// those of non-zero weight with it on.
    NumberMask reachable = kAllNumbers;
    std::int64_t passingSets = 0;          ///< of all 6,096,454 sets
    std::int64_t reachablePassingSets = 0; ///< of those made of reachable numbers only

    bool feasible() const { return reason == Infeasibility::None; }
};

/// Decides, before the first attempt, whether any candidate the draw can reach passes.
FeasibilityReport AssessFeasibility(const GenerationSettings& settings, const CarryLists& lists,
                                    const DrawRow& latest, const WeightTable& weights);

/**
 * The same verdict for a whole history, as a run would reach it: builds the run's weight table and
 * the carry lists from `table` and assesses them. The table needs at least two draws (Latest >= 2);
 * with fewer there is no latest pair of draws, and the report says NoSetPasses with no passing set.
 */
FeasibilityReport AssessHistory(const GenerationSettings& settings, const DrawTable& table);

} // namespace zentrix
