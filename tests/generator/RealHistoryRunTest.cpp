// Runs on the real LOTO6 history: every combination of the settings ends in valid sets or in a
// clean outcome decided before anything is written.
#include "GeneratorFixtures.h"
#include "common/ReferenceRules.h"
#include "generator/RandomSource.h"
#include "generator/RunMessages.h"
#include "generator/SetFilter.h"

#include <gtest/gtest.h>
#include <map>

namespace zentrix {
namespace {

using test::OpenedHistory;
using test::RunRecorder;

TEST(RealHistoryRunTest, EveryCombinationEndsCleanly)
{
    ZENTRIX_REAL_HISTORY_OR_SKIP(draws);
    ASSERT_GT(draws.size(), 2000u);
    OpenedHistory file(draws);
    ASSERT_TRUE(file.opened());
    const DrawRow latest = MakeDrawRow(draws.back());
    const CarryLists lists = BuildCarryLists(latest, MakeDrawRow(draws[draws.size() - 2]));

    std::map<RunOutcome, int> outcomes;
    std::uint64_t seed = 1;
    for (const int basis : {0, 1})
        for (const int level : {1, 2, 3})
            for (const bool weighting : {true, false})
                for (const int parity : {0, 1, 2, 3, 4, 5, 6, 7}) // 0: parity off
                    for (const int carry : {0, 1, 2})
                        for (const bool consecutive : {true, false}) {
                            GenerationSettings settings;
                            settings.setCount = 3;
                            settings.weightBasis = static_cast<WeightBasis>(basis);
                            settings.totalLevel = level;
                            settings.timeAxisLevel = level;
                            settings.weightingOn = weighting;
                            settings.parityOn = parity != 0;
                            settings.parityLevel = parity != 0 ? parity : 4;
                            settings.carryCount = carry;
                            settings.consecutiveOn = consecutive;
                            RandomSource random(seed++);
                            RunRecorder recorder;
                            const RunResult result = GenerateSets(settings, file.history(), random, recorder);
                            ++outcomes[result.outcome];
                            SCOPED_TRACE(testing::Message()
                                         << "basis " << basis << " level " << level << " weighting "
                                         << weighting << " parity " << parity << " carry " << carry
                                         << " consecutive " << consecutive);
                            if (result.outcome != RunOutcome::Completed) {
                                EXPECT_TRUE(recorder.sets.empty());
                                EXPECT_FALSE(DescribeRunOutcome(result, "Loto6data.dt").empty());
                                ASSERT_NE(result.outcome, RunOutcome::ReadFailed);
                                continue;
                            }
                            ASSERT_EQ(recorder.sets.size(), 3u);
                            for (const PredictionSet& set : recorder.sets)
                                EXPECT_EQ(reference::CheckSet(set, lists, latest, settings),
                                          SetVerdict::Pass);
                        }
    // Most settings can pass on a real history; print the tally for whoever reads the log.
    for (const auto& [outcome, count] : outcomes)
        std::cout << "outcome " << static_cast<int>(outcome) << ": " << count << " runs\n";
    EXPECT_GT(outcomes[RunOutcome::Completed], 400);
}

TEST(RealHistoryRunTest, TheRarestEarlySettingAnswersWithAHundredSets)
{
    // Draws 1..159 on the time axis at level 2, five even numbers, two carries and one pair: one
    // attempt in about six million passes, which the attempt loop alone could not reach in time.
    ZENTRIX_REAL_HISTORY_OR_SKIP(draws);
    const std::vector<DrawRecord> early(draws.begin(), draws.begin() + 159);
    OpenedHistory file(early);
    GenerationSettings settings;
    settings.setCount = 100;
    settings.weightBasis = WeightBasis::TimeAxis;
    settings.timeAxisLevel = 2;
    settings.parityLevel = 2;
    settings.carryCount = 2;
    RandomSource random(159);
    RunRecorder recorder;
    const RunResult result = GenerateSets(settings, file.history(), random, recorder);
    ASSERT_EQ(result.outcome, RunOutcome::Completed);
    EXPECT_TRUE(result.direct);
    EXPECT_LT(result.passChanceFloor, 1e-6);
    ASSERT_EQ(recorder.sets.size(), 100u);
    const DrawRow latest = MakeDrawRow(early.back());
    const CarryLists lists = BuildCarryLists(latest, MakeDrawRow(early[early.size() - 2]));
    for (const PredictionSet& set : recorder.sets)
        EXPECT_EQ(reference::CheckSet(set, lists, latest, settings), SetVerdict::Pass);
}

} // namespace
} // namespace zentrix
