// Scoring saved sets against the history: tiers, the bonus, unscored batches, totals and money.
#include "predictions/BatchScore.h"

#include "predictions/PredictionReport.h"

#include <gtest/gtest.h>

namespace zentrix {
namespace {

// Draw 2 is 03 11 17 25 38 42 with the bonus 07; draw 3 is an empty record.
DrawTable History()
{
    DrawTable table;
    table.rows.push_back({1, 2, 3, 4, 5, 6, 7});
    table.rows.push_back({25, 3, 42, 11, 38, 17, 7}); // stored order, not sorted
    table.rows.push_back({0, 0, 0, 0, 0, 0, 0});
    return table;
}

const std::vector<PredictionSet> kSets{
    {3, 11, 17, 25, 38, 42}, // 1等
    {3, 7, 11, 17, 25, 38},  // 2等: five and the bonus
    {3, 11, 17, 25, 38, 40}, // 3等
    {3, 7, 11, 17, 25, 40},  // 4等: the bonus does not lift four matches
    {3, 11, 17, 20, 21, 22}, // 5等
    {3, 7, 11, 20, 21, 22},  // はずれ: two and the bonus
    {1, 2, 4, 5, 6, 8},      // はずれ
    {3, 11, 17, 30, 31, 32}, // 5等
};

TEST(BatchScoreTest, EveryTierIsCountedAndTheBonusOnlyMakesSecondPrize)
{
    const BatchScore score = ScoreBatch(kSets, History(), 2);
    ASSERT_TRUE(score.scored);
    EXPECT_EQ(score.tally.sets, 8);
    EXPECT_EQ(score.tally.of(Prize::First), 1);
    EXPECT_EQ(score.tally.of(Prize::Second), 1);
    EXPECT_EQ(score.tally.of(Prize::Third), 1);
    EXPECT_EQ(score.tally.of(Prize::Fourth), 1);
    EXPECT_EQ(score.tally.of(Prize::Fifth), 2);
    EXPECT_EQ(score.tally.of(Prize::None), 2);
    EXPECT_EQ(score.tally.best(), Prize::First);
    EXPECT_EQ(score.tally.costYen(), 1600);
    EXPECT_EQ(score.tally.fifthPrizeYen(), 2000);
    // The fast path over the whole batch agrees with the set-by-set rule.
    for (const PredictionSet& set : kSets) {
        const BatchScore one = ScoreBatch(std::vector<PredictionSet>{set}, History(), 2);
        EXPECT_EQ(one.tally.of(ScoreSet(set, History().row(2)).prize), 1);
    }
}

TEST(BatchScoreTest, BatchWaitsWhileItsDrawIsNotStored)
{
    for (const int draw : {3, 4, 0}) {
        const BatchScore score = ScoreBatch(kSets, History(), draw);
        EXPECT_FALSE(score.scored) << draw;
        EXPECT_EQ(score.tally.sets, 8);
        EXPECT_EQ(score.tally.of(Prize::Fifth), 0);
        EXPECT_EQ(TierSummary(score), "未抽選");
    }
}

TEST(BatchScoreTest, CorrectingTheDrawCorrectsTheScore)
{
    DrawTable history = History();
    EXPECT_EQ(ScoreBatch(kSets, history, 2).tally.of(Prize::First), 1);
    history.rows[1] = {3, 11, 17, 25, 38, 43, 7};
    const BatchScore corrected = ScoreBatch(kSets, history, 2);
    EXPECT_EQ(corrected.tally.of(Prize::First), 0);
    EXPECT_EQ(corrected.tally.of(Prize::Second), 1); // 03 07 11 17 25 38 now five and the bonus
    EXPECT_EQ(corrected.tally.of(Prize::Third), 2);  // 03 11 17 25 38 42 and 03 11 17 25 38 40
}

TEST(BatchScoreTest, DetailMarksTheMatchedNumbersAndTheBonus)
{
    const SetScore detail = ScoreSetDetail({3, 7, 11, 20, 21, 42}, History().row(2));
    EXPECT_EQ(detail.matched, (std::array<bool, 6>{true, false, true, false, false, true}));
    EXPECT_EQ(detail.bonusAt, 1);
    EXPECT_EQ(detail.score.prize, Prize::Fifth);
    EXPECT_EQ(ScoreSetDetail({1, 2, 4, 5, 6, 8}, History().row(2)).bonusAt, -1);
}

TEST(BatchScoreTest, TotalsAddScoredBatchesAndCountTheWaitingOnes)
{
    ScoreTotals totals;
    totals.add(ScoreBatch(kSets, History(), 2));
    totals.add(ScoreBatch(std::vector<PredictionSet>(kSets.begin(), kSets.begin() + 5), History(), 2));
    totals.add(ScoreBatch(kSets, History(), 4));
    EXPECT_EQ(totals.batches, 3);
    EXPECT_EQ(totals.pendingBatches, 1);
    EXPECT_EQ(totals.pendingSets, 8);
    EXPECT_EQ(totals.scored.sets, 13);
    EXPECT_EQ(totals.scored.costYen(), 2600);
    EXPECT_EQ(totals.scored.of(Prize::First), 2);
    EXPECT_EQ(totals.scored.of(Prize::Fifth), 3);
    EXPECT_EQ(totals.scored.fifthPrizeYen(), 3000);
}

TEST(BatchScoreTest, SummaryNamesTheTiersWonBestFirst)
{
    EXPECT_EQ(TierSummary(ScoreBatch(kSets, History(), 2)), "1等 1, 2等 1, 3等 1, 4等 1, 5等 2");
    EXPECT_EQ(TierSummary(ScoreBatch(std::vector<PredictionSet>{kSets[6]}, History(), 2)), "当選なし");
    EXPECT_EQ(ScoreBatch(std::vector<PredictionSet>{kSets[6]}, History(), 2).tally.best(), Prize::None);
}

} // namespace
} // namespace zentrix
