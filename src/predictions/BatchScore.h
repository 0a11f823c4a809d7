// BatchScore: how a saved batch did against its draw, worked out from the history every time it is
// asked for (never stored), so correcting a draw corrects the scores.
#pragma once

#include "generator/DrawTable.h"
#include "predictions/PredictionBatch.h"
#include "predictions/PrizeTier.h"

#include <array>
#include <optional>
#include <span>

namespace zentrix {

/// Sets, cost and tiers of one batch (or of several added together).
struct TierTally
{
    long long sets = 0;
    std::array<long long, kPrizeKinds> count{}; ///< indexed by Prize

    long long costYen() const { return sets * kSetPriceYen; }
    /// The 5等 prize is fixed; the others vary by draw and are given as counts only.
    long long fifthPrizeYen() const { return count[static_cast<int>(Prize::Fifth)] * kFifthPrizeYen; }
    long long of(Prize prize) const { return count[static_cast<int>(prize)]; }
    /// The highest tier reached; Prize::None when nothing won (or nothing was scored).
    Prize best() const;

    TierTally& operator+=(const TierTally& other);
};

/// One batch's result. Unscored while its draw is not stored (or not a valid draw).
struct BatchScore
{
    bool scored = false;
    TierTally tally; ///< sets is filled either way; the tier counts only when scored
};

/// The draw `draw` from the table when it is stored and valid.
std::optional<DrawRow> StoredDraw(const DrawTable& history, int draw);

BatchScore ScoreBatch(std::span<const PredictionSet> sets, const DrawTable& history, int draw);

/// Per-set tiers of a batch against a stored draw, with the matched numbers of each set.
struct SetScore
{
    Score score;
    std::array<bool, 6> matched{}; ///< position i of the set is one of the six winning numbers
    int bonusAt = -1;              ///< position of the bonus number in the set, -1 when absent
};
SetScore ScoreSetDetail(const PredictionSet& set, const DrawRow& draw);

/// What all the scored batches came to, and how many still wait for their draw.
struct ScoreTotals
{
    long long batches = 0;
    long long pendingBatches = 0;
    long long pendingSets = 0;
    TierTally scored; ///< over the batches whose draw is stored

    void add(const BatchScore& score);
};

} // namespace zentrix
