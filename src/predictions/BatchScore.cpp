// BatchScore: prize tiers of saved sets against the stored history.
#include "predictions/BatchScore.h"

#include "generator/LotoNumbers.h"

namespace zentrix {
namespace {

NumberMask MaskOf(const PredictionSet& set)
{
    NumberMask mask = 0;
    for (const std::int16_t n : set)
        mask |= NumberBit(n);
    return mask;
}

} // namespace

Prize TierTally::best() const
{
    for (int k = 0; k < kPrizeKinds - 1; ++k) {
        if (count[static_cast<std::size_t>(k)] > 0)
            return static_cast<Prize>(k);
    }
    return Prize::None;
}

TierTally& TierTally::operator+=(const TierTally& other)
{
    sets += other.sets;
    for (std::size_t k = 0; k < count.size(); ++k)
        count[k] += other.count[k];
    return *this;
}

std::optional<DrawRow> StoredDraw(const DrawTable& history, int draw)
{
    if (draw < 1 || draw > history.Latest())
        return std::nullopt;
    const DrawRow& row = history.row(static_cast<RecordNo>(draw));
    if (!IsValidDraw(row))
        return std::nullopt;
    return row;
}

BatchScore ScoreBatch(std::span<const PredictionSet> sets, const DrawTable& history, int draw)
{
    BatchScore result;
    result.tally.sets = static_cast<long long>(sets.size());
    const std::optional<DrawRow> row = StoredDraw(history, draw);
    if (!row)
        return result;
    result.scored = true;
    NumberMask winning = 0;
    for (int i = 0; i < 6; ++i)
        winning |= NumberBit((*row)[static_cast<std::size_t>(i)]);
    const NumberMask bonus = NumberBit((*row)[6]);
    // Masks rather than ScoreSet: listing thousands of batches scores every set of each of them.
    for (const PredictionSet& set : sets) {
        const NumberMask mask = MaskOf(set);
        const Prize prize = PrizeFor(MaskSize(mask & winning), (mask & bonus) != 0);
        ++result.tally.count[static_cast<std::size_t>(prize)];
    }
    return result;
}

SetScore ScoreSetDetail(const PredictionSet& set, const DrawRow& draw)
{
    SetScore detail;
    detail.score = ScoreSet(set, draw);
    for (std::size_t i = 0; i < set.size(); ++i) {
        for (std::size_t w = 0; w < 6; ++w)
            detail.matched[i] = detail.matched[i] || set[i] == draw[w];
        if (set[i] == draw[6])
            detail.bonusAt = static_cast<int>(i);
    }
    return detail;
}

void ScoreTotals::add(const BatchScore& score)
{
    ++batches;
    if (score.scored) {
        scored += score.tally;
    } else {
        ++pendingBatches;
        pendingSets += score.tally.sets;
    }
}

} // namespace zentrix
