// The generation run: candidate ordering, every outcome, what the observer sees, reproducibility.
#include "RunRecorder.h"
#include "common/ReferenceRules.h"
#include "generator/CandidateOrder.h"
#include "generator/RandomSource.h"
#include "generator/RunMessages.h"
#include "generator/SetFilter.h"
#include "support/FailingDevice.h"

#include <algorithm>
#include <gtest/gtest.h>

namespace zentrix {
namespace {

using test::Draw;
using test::OpenedHistory;
using test::RunRecorder;

std::vector<std::string> ExpectedCalls(int sets)
{
    std::vector<std::string> calls = {"max " + std::to_string(sets), "min 0"};
    for (int row = 1; row <= sets; ++row) {
        calls.push_back("write " + std::to_string(row));
        calls.push_back("step");
    }
    calls.push_back("completed");
    return calls;
}

const std::vector<std::string> kNothingWritten5 = {"max 5", "min 0"};

void ExpectValidSets(const std::vector<PredictionSet>& sets, const std::vector<DrawRecord>& draws,
                     const GenerationSettings& settings)
{
    const CarryLists lists = BuildCarryLists(MakeDrawRow(draws.back()), MakeDrawRow(draws[draws.size() - 2]));
    for (const PredictionSet& set : sets) {
        EXPECT_TRUE(std::all_of(set.begin(), set.end(), [](std::int16_t n) { return IsLotoNumber(n); }));
        EXPECT_TRUE(std::adjacent_find(set.begin(), set.end(), std::greater_equal<>()) == set.end())
            << "not ascending and distinct";
        EXPECT_EQ(reference::CheckSet(set, lists, MakeDrawRow(draws.back()), settings), SetVerdict::Pass);
    }
}

TEST(OrderCandidateTest, SwapsReordersAndReplacesTheFirstOfTwoEqualNumbers)
{
    PredictionSet candidate{12, 5, 12, 40, 33, 7};
    std::vector<std::int16_t> replacements = {20};
    int asked = 0;
    ASSERT_TRUE(OrderCandidate(candidate, [&] { return replacements[static_cast<std::size_t>(asked++)]; }));
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(candidate, (PredictionSet{5, 7, 12, 20, 33, 40}));
}

TEST(OrderCandidateTest, AReplacementThatIsAgainADuplicateIsReplacedAgain)
{
    PredictionSet candidate{12, 5, 12, 40, 33, 7};
    std::vector<std::int16_t> replacements = {40, 5, 43};
    std::size_t asked = 0;
    ASSERT_TRUE(OrderCandidate(candidate, [&] { return replacements[asked++]; }));
    EXPECT_EQ(asked, 3u);
    EXPECT_EQ(candidate, (PredictionSet{5, 7, 12, 33, 40, 43}));
}

TEST(OrderCandidateTest, GivesUpWhenReplacementsNeverEnd)
{
    PredictionSet candidate{9, 9, 9, 9, 9, 9};
    int asked = 0;
    EXPECT_FALSE(OrderCandidate(
        candidate,
        [&] {
            ++asked;
            return std::int16_t{9};
        },
        50));
    EXPECT_EQ(asked, 50);
}

TEST(DistinctNumbersTest, EndsWhereTheOrderingScanEndsAfterAsManyReplacements)
{
    // Small ranges make duplicates and repeated replacements common.
    RandomSource random(12);
    for (int trial = 0; trial < 20'000; ++trial) {
        const int range = 6 + trial % 10;
        PredictionSet drawn{};
        for (std::int16_t& n : drawn)
            n = static_cast<std::int16_t>(1 + random.next() % static_cast<std::uint64_t>(range));
        std::vector<std::int16_t> stream(200);
        for (std::int16_t& n : stream)
            n = static_cast<std::int16_t>(1 + random.next() % static_cast<std::uint64_t>(range + 2));

        PredictionSet scanned = drawn;
        std::size_t scanUsed = 0;
        const bool scanDone = OrderCandidate(
            scanned, [&] { return stream[scanUsed++]; }, 150);
        std::size_t maskUsed = 0;
        const NumberMask mask = DistinctNumbers(
            drawn, [&] { return stream[maskUsed++]; }, 150);
        ASSERT_EQ(scanDone, mask != 0);
        ASSERT_EQ(scanUsed, maskUsed);
        if (scanDone) {
            ASSERT_EQ(SetFromMask(mask), scanned);
        }
    }
}

TEST(DistinctNumbersTest, AValueOutsideTheRangeIsReplacedNeverKept)
{
    std::vector<std::int16_t> stream = {0, 44, 9};
    std::size_t used = 0;
    const NumberMask set = DistinctNumbers({1, 0, 2, 3, 4, 5}, [&] { return stream[used++]; });
    EXPECT_EQ(used, 3u);
    EXPECT_EQ(SetFromMask(set), (PredictionSet{1, 2, 3, 4, 5, 9}));
}

TEST(DistinctNumbersTest, MaskAndSetConvert)
{
    const PredictionSet set{1, 9, 20, 21, 40, 43};
    EXPECT_EQ(MaskFromSet(set),
              NumberBit(1) | NumberBit(9) | NumberBit(20) | NumberBit(21) | NumberBit(40) | NumberBit(43));
    EXPECT_EQ(SetFromMask(MaskFromSet(set)), set);
}

// A history whose last two draws give fresh numbers 1..5 and repeated numbers 6 and 7.
std::vector<DrawRecord> SmallHistory()
{
    std::vector<DrawRecord> draws = test::SyntheticHistory(60, 4);
    draws.push_back(Draw({6, 7, 20, 21, 22, 23}, 24));
    draws.push_back(Draw({1, 2, 3, 4, 5, 6}, 7));
    return draws;
}

RunResult RunWith(OpenedHistory& file, const GenerationSettings& settings, RunRecorder& recorder,
                  std::uint64_t seed = 1, const RunLimits& limits = {})
{
    RandomSource random(seed);
    return GenerateSets(settings, file.history(), random, recorder, limits);
}

TEST(GenerateSetsTest, KeepsTheWantedSetsAndReportsThemInOrder)
{
    const std::vector<DrawRecord> draws = SmallHistory();
    OpenedHistory file(draws);
    GenerationSettings settings;
    settings.setCount = 30;
    RunRecorder recorder;
    const RunResult result = RunWith(file, settings, recorder);
    ASSERT_EQ(result.outcome, RunOutcome::Completed);
    EXPECT_EQ(result.setsWritten, 30);
    EXPECT_EQ(recorder.calls, ExpectedCalls(30));
    ASSERT_EQ(recorder.sets.size(), 30u);
    ExpectValidSets(recorder.sets, draws, settings);
    EXPECT_GE(result.attempts, 30);
    EXPECT_EQ(DescribeRunOutcome(result, "Loto6data.dt"), "");
}

TEST(GenerateSetsTest, OneSetAndTheCapOfOneHundred)
{
    OpenedHistory file(SmallHistory());
    GenerationSettings settings;
    settings.setCount = 1;
    RunRecorder one;
    EXPECT_EQ(RunWith(file, settings, one).outcome, RunOutcome::Completed);
    EXPECT_EQ(one.calls, ExpectedCalls(1));

    settings.setCount = 250;
    RunRecorder capped;
    EXPECT_EQ(RunWith(file, settings, capped).setsWritten, kMaxSetCount);
    EXPECT_EQ(capped.calls, ExpectedCalls(kMaxSetCount));
}

TEST(GenerateSetsTest, TheSameSeedGivesTheSameSets)
{
    OpenedHistory file(SmallHistory());
    GenerationSettings settings;
    settings.setCount = 20;
    RunRecorder a, b, c;
    RunWith(file, settings, a, 99);
    RunWith(file, settings, b, 99);
    RunWith(file, settings, c, 100);
    EXPECT_EQ(a.sets, b.sets);
    EXPECT_NE(a.sets, c.sets);
}

TEST(GenerateSetsTest, ANumberOfWeightZeroIsNeverDrawnWithWeightingOn)
{
    // Level 3 on the total basis: the most frequent number (40, in all draws but the last two) has
    // weight 0.
    std::vector<DrawRecord> draws;
    for (int d = 0; d < 38; ++d)
        draws.push_back(Draw({1 + d % 9, 10 + d % 8, 18 + d % 7, 25 + d % 6, 31 + d % 5, 40}, 36 + d % 3));
    draws.push_back(Draw({1, 2, 3, 4, 5, 6}, 7));
    draws.push_back(Draw({8, 9, 10, 11, 12, 13}, 14));
    OpenedHistory file(draws);
    GenerationSettings settings;
    settings.setCount = 100;
    settings.totalLevel = 3;
    settings.carryCount = 0;
    settings.parityOn = false;
    RunRecorder recorder;
    ASSERT_EQ(RunWith(file, settings, recorder, 5).outcome, RunOutcome::Completed);
    for (const PredictionSet& set : recorder.sets)
        EXPECT_EQ(std::count(set.begin(), set.end(), 40), 0);

    // With weighting off the same number comes out of the uniform first draws.
    settings.weightingOn = false;
    settings.weightBasis = WeightBasis::TimeAxis;
    settings.timeAxisLevel = 3;
    RunRecorder uniform;
    ASSERT_EQ(RunWith(file, settings, uniform, 5).outcome, RunOutcome::Completed);
    EXPECT_TRUE(std::any_of(uniform.sets.begin(), uniform.sets.end(), [](const PredictionSet& set) {
        return std::count(set.begin(), set.end(), 40) > 0;
    }));
}

TEST(GenerateSetsTest, FrequentNumbersComeOutMoreOftenWithWeightingOn)
{
    // Numbers 1..7 in every draw but the last two, numbers 30..36 in no draw but those.
    std::vector<DrawRecord> draws(50, Draw({1, 2, 3, 4, 5, 6}, 7));
    draws.push_back(Draw({8, 9, 10, 11, 12, 13}, 14));
    draws.push_back(Draw({30, 32, 34, 36, 38, 40}, 42));
    OpenedHistory file(draws);
    GenerationSettings settings;
    settings.setCount = 100;
    settings.carryCount = 0;
    settings.parityOn = false;
    settings.consecutiveOn = true;
    RunRecorder weighted;
    ASSERT_EQ(RunWith(file, settings, weighted, 8).outcome, RunOutcome::Completed);
    const auto countLow = [](const std::vector<PredictionSet>& sets) {
        long count = 0;
        for (const PredictionSet& set : sets)
            count += std::count_if(set.begin(), set.end(), [](std::int16_t n) { return n <= 7; });
        return count;
    };
    // 1..7 hold about 96% of the weight, so each set takes as many as one pair allows (four);
    // uniform draws give a set about one.
    EXPECT_GE(countLow(weighted.sets), 350);
    settings.weightingOn = false;
    RunRecorder uniform;
    ASSERT_EQ(RunWith(file, settings, uniform, 8).outcome, RunOutcome::Completed);
    EXPECT_LT(countLow(uniform.sets), 200);
}

TEST(GenerateSetsTest, WithWeightingOffDuplicatesAreStillReplacedThroughTheWeights)
{
    // Almost all weight lies on 30, 32, ..., 42 (no two of them consecutive); the latest draw's
    // 8..14 are excluded by carry 0. Uniform sets hold about 1.2 of the seven per set; the
    // replacements of duplicates (about a third of the candidates) add weighted numbers on top.
    std::vector<DrawRecord> draws(100, Draw({30, 32, 34, 36, 38, 40}, 42));
    draws.push_back(Draw({1, 2, 3, 4, 5, 6}, 7));
    draws.push_back(Draw({8, 9, 10, 11, 12, 13}, 14));
    OpenedHistory file(draws);
    GenerationSettings settings;
    settings.setCount = 100;
    settings.weightingOn = false;
    settings.carryCount = 0;
    settings.parityOn = false;
    settings.consecutiveOn = false;
    long heavy = 0;
    for (std::uint64_t seed = 1; seed <= 5; ++seed) {
        RunRecorder recorder;
        ASSERT_EQ(RunWith(file, settings, recorder, seed).outcome, RunOutcome::Completed);
        for (const PredictionSet& set : recorder.sets)
            heavy +=
                std::count_if(set.begin(), set.end(), [](std::int16_t n) { return n >= 30 && n % 2 == 0; });
    }
    // Uniform replacements give about 620 (standard deviation about 25), weighted ones about 800.
    EXPECT_GT(heavy, 710);
}

TEST(GenerateSetsTest, FewerThanTwoDrawsDoNotStartARun)
{
    for (const std::vector<DrawRecord>& draws : {std::vector<DrawRecord>{}, {Draw({1, 2, 3, 4, 5, 6}, 7)}}) {
        OpenedHistory file(draws);
        RunRecorder recorder;
        const RunResult result = RunWith(file, GenerationSettings{}, recorder);
        EXPECT_EQ(result.outcome, RunOutcome::TooFewDraws);
        EXPECT_EQ(result.storedDraws, static_cast<RecordNo>(draws.size()));
        EXPECT_EQ(recorder.calls, kNothingWritten5);
        EXPECT_NE(DescribeRunOutcome(result, "Loto6data.dt").find("2回分以上"), std::string::npos);
    }
}

TEST(GenerateSetsTest, ContradictionStopsBeforeAnySetIsWritten)
{
    std::vector<DrawRecord> draws = SmallHistory();
    draws.back() = Draw({2, 3, 5, 7, 9, 11}, 13); // fresh numbers hold one even number
    OpenedHistory file(draws);
    GenerationSettings settings;
    settings.carryCount = 2;
    settings.parityLevel = 1;
    RunRecorder recorder;
    const RunResult result = RunWith(file, settings, recorder);
    EXPECT_EQ(result.outcome, RunOutcome::Contradiction);
    EXPECT_EQ(result.setsWritten, 0);
    EXPECT_EQ(recorder.calls, kNothingWritten5);
    EXPECT_EQ(DescribeRunOutcome(result, "x"), kContradictionMessage);

    // It comes before every other verdict on the settings, even a table with nothing to draw.
    std::vector<DrawRecord> zeros(3, Draw({-1, 0, 0, 0, 0, 0}, 0));
    zeros.back() = Draw({-1, 0, 0, 0, 0, 0}, 1); // one odd fresh number
    OpenedHistory empty(zeros);
    settings.parityLevel = 7;
    RunRecorder other;
    EXPECT_EQ(RunWith(empty, settings, other).outcome, RunOutcome::Contradiction);
}

TEST(GenerateSetsTest, ATableWithoutWeightsStopsWithWeightingOnAndDrawsUniformlyWithItOff)
{
    // Every cell outside 1..43: all statistics equal, the table has no band.
    std::vector<DrawRecord> draws(5, Draw({44, 0, -1, 0, 50, 0}, 0));
    OpenedHistory file(draws);
    GenerationSettings settings;
    settings.carryCount = 0;
    RunRecorder on;
    const RunResult result = RunWith(file, settings, on);
    EXPECT_EQ(result.outcome, RunOutcome::NoPassingSet);
    EXPECT_EQ(result.feasibility.reason, Infeasibility::NoDrawableNumber);
    EXPECT_EQ(on.calls, kNothingWritten5);
    EXPECT_NE(DescribeRunOutcome(result, "f").find("重み"), std::string::npos);

    settings.weightingOn = false;
    settings.setCount = 50;
    RunRecorder off;
    EXPECT_EQ(RunWith(file, settings, off).outcome, RunOutcome::Completed);
    ExpectValidSets(off.sets, draws, settings);
}

TEST(GenerateSetsTest, FewerThanSixWeightedNumbersCannotFinishACandidate)
{
    std::vector<DrawRecord> draws(10, Draw({1, 2, 3, 4, 5, 1}, 2));
    OpenedHistory file(draws);
    GenerationSettings settings;
    settings.carryCount = 0;
    RunRecorder recorder;
    const RunResult result = RunWith(file, settings, recorder);
    EXPECT_EQ(result.outcome, RunOutcome::NoPassingSet);
    EXPECT_EQ(result.feasibility.reason, Infeasibility::FewerThanSixDrawable);
    EXPECT_NE(DescribeRunOutcome(result, "f").find("5個"), std::string::npos);
}

TEST(GenerateSetsTest, SettingsNoSetPassesStopBeforeTheFirstAttempt)
{
    // One carry at level 1 (six even) while every fresh number is odd: no contradiction, no set.
    std::vector<DrawRecord> draws = SmallHistory();
    draws.back() = Draw({1, 3, 5, 9, 11, 13}, 15);
    OpenedHistory file(draws);
    GenerationSettings settings;
    settings.parityLevel = 1;
    RunRecorder recorder;
    const RunResult result = RunWith(file, settings, recorder);
    EXPECT_EQ(result.outcome, RunOutcome::NoPassingSet);
    EXPECT_EQ(result.feasibility.reason, Infeasibility::NoSetPasses);
    EXPECT_EQ(result.attempts, 0);
    EXPECT_EQ(recorder.calls, kNothingWritten5);
    const std::string message = DescribeRunOutcome(result, "f");
    EXPECT_NE(message.find("1、3、5、9、11、13、15"), std::string::npos) << message;
    EXPECT_NE(message.find("偶数0個・奇数7個"), std::string::npos) << message;
}

TEST(GenerateSetsTest, PassingSetsThatNeedAWeightlessNumberAreUnreachable)
{
    // Level 3 of the total basis gives the most frequent numbers weight 0; here those are exactly
    // the fresh numbers of the latest draw, so no carried number can ever be drawn.
    std::vector<DrawRecord> draws(30, Draw({1, 2, 3, 4, 5, 30}, 31));
    draws.push_back(Draw({10, 11, 12, 13, 14, 15}, 16));
    draws.push_back(Draw({1, 2, 3, 4, 5, 30}, 31));
    OpenedHistory file(draws);
    GenerationSettings settings;
    settings.totalLevel = 3;
    RunRecorder recorder;
    const RunResult result = RunWith(file, settings, recorder);
    EXPECT_EQ(result.outcome, RunOutcome::NoPassingSet);
    EXPECT_EQ(result.feasibility.reason, Infeasibility::NoDrawableSetPasses);
    EXPECT_GT(result.feasibility.passingSets, 0);
    EXPECT_EQ(recorder.calls, kNothingWritten5);

    // Weighting off draws the first six numbers uniformly, so they are reachable again.
    settings.weightingOn = false;
    RunRecorder uniform;
    ASSERT_EQ(RunWith(file, settings, uniform).outcome, RunOutcome::Completed);
    ExpectValidSets(uniform.sets, draws, settings);
}

TEST(GenerateSetsTest, ReadFailureIsReportedWithTheStoreMessage)
{
    test::TempDir dir;
    test::WriteHistory(dir / "Loto6data.dt", SmallHistory());
    auto plan = std::make_shared<test::FailurePlan>();
    HistoryFile history(dir / "Loto6data.dt", std::make_unique<test::FailingDevice>(plan));
    ASSERT_TRUE(history.OpenHistory());
    plan->failReads = true;
    RandomSource random(1);
    RunRecorder recorder;
    const RunResult result = GenerateSets(GenerationSettings{}, history, random, recorder);
    EXPECT_EQ(result.outcome, RunOutcome::ReadFailed);
    EXPECT_EQ(result.store.error, StoreError::ReadFailed);
    EXPECT_EQ(recorder.calls, kNothingWritten5);
    EXPECT_EQ(DescribeRunOutcome(result, "Loto6data.dt"), DescribeStoreError(result.store, "Loto6data.dt"));
}

TEST(GenerateSetsTest, AClosedHistoryIsAReadFailureNotAnEmptyOne)
{
    OpenedHistory file(SmallHistory());
    file.history().CloseHistory();
    RunRecorder recorder;
    const RunResult result = RunWith(file, GenerationSettings{}, recorder);
    EXPECT_EQ(result.outcome, RunOutcome::ReadFailed);
    EXPECT_EQ(result.store.error, StoreError::NotOpen);
    EXPECT_EQ(recorder.calls, kNothingWritten5);
}

TEST(GenerateSetsTest, ARateThatWouldOverrunTheBudgetHandsOverBeforeTheFirstWrite)
{
    OpenedHistory file(SmallHistory());
    GenerationSettings settings;
    settings.setCount = 100;
    // Enough budget for the first sets but not, at their rate, for all hundred.
    RunRecorder probe;
    const RunResult full = RunWith(file, settings, probe, 21);
    ASSERT_EQ(full.outcome, RunOutcome::Completed);
    ASSERT_FALSE(full.direct);

    RunLimits limits;
    limits.drawBudget = full.draws / 3;
    RunRecorder recorder;
    const RunResult result = RunWith(file, settings, recorder, 21, limits);
    EXPECT_EQ(result.outcome, RunOutcome::Completed);
    EXPECT_TRUE(result.direct);
    EXPECT_EQ(recorder.calls, ExpectedCalls(100));
    EXPECT_LT(result.draws, full.draws);
    ExpectValidSets(recorder.sets, SmallHistory(), settings);

    // Without the sampler to hand over to, the run stops before writing anything.
    limits.directSetBudget = 0;
    RunRecorder stopped;
    const RunResult tooSlow = RunWith(file, settings, stopped, 21, limits);
    EXPECT_EQ(tooSlow.outcome, RunOutcome::TooSlow);
    EXPECT_EQ(stopped.calls, (std::vector<std::string>{"max 100", "min 0"}));
    EXPECT_NE(DescribeRunOutcome(tooSlow, "f").find("時間内"), std::string::npos);
}

} // namespace
} // namespace zentrix
