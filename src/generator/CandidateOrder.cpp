// CandidateOrder: converting between a set's numbers and its bits.
#include "CandidateOrder.h"

#include <bit>

namespace zentrix {

PredictionSet SetFromMask(NumberMask mask)
{
    PredictionSet set{};
    for (std::size_t i = 0; i < set.size() && mask != 0; ++i) {
        set[i] = static_cast<std::int16_t>(std::countr_zero(mask) + 1);
        mask &= mask - 1;
    }
    return set;
}

NumberMask MaskFromSet(const PredictionSet& set)
{
    NumberMask mask = 0;
    for (const std::int16_t n : set)
        mask |= NumberBit(n);
    return mask;
}

} // namespace zentrix
