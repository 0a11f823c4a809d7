// The generation run: candidate ordering, every outcome, what the observer sees, reproducibility.
#include "GeneratorFixtures.h"
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
using test::ExpectPassingSets;
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

TEST(OrderCandidateTest, SwapsReordersAndReplacesTheFirstOfTwoEqualNumbers)
{
    struct Case
    {
        std::vector<std::int16_t> replacements;
        PredictionSet ordered;
    };
    // The second replacement stream is itself a duplicate twice over before 43 fits.
    for (const Case& c : {Case{{20}, {5, 7, 12, 20, 33, 40}}, Case{{40, 5, 43}, {5, 7, 12, 33, 40, 43}}}) {
        PredictionSet candidate{12, 5, 12, 40, 33, 7};
        std::size_t asked = 0;
        ASSERT_TRUE(OrderCandidate(candidate, [&] { return c.replacements[asked++]; }));
        EXPECT_EQ(asked, c.replacements.size());
        EXPECT_EQ(candidate, c.ordered);
    }
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

TEST(GenerateSetsTest, KeepsTheWantedSetsUpToOneHundredAndReportsThemInOrder)
{
    const std::vector<DrawRecord> draws = SmallHistory();
    OpenedHistory file(draws);
    for (const auto& [asked, kept] : {std::pair{1, 1}, {30, 30}, {250, kMaxSetCount}}) {
        SCOPED_TRACE(asked);
        GenerationSettings settings;
        settings.setCount = asked;
        RunRecorder recorder;
        const RunResult result = RunWith(file, settings, recorder);
        ASSERT_EQ(result.outcome, RunOutcome::Completed);
        EXPECT_EQ(result.setsWritten, kept);
        EXPECT_GE(result.attempts, kept);
        EXPECT_EQ(recorder.calls, ExpectedCalls(kept));
        ExpectPassingSets(recorder.sets, draws, settings);
        EXPECT_EQ(DescribeRunOutcome(result, "Loto6data.dt"), "");
    }
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

// `count` copies of the draw that holds the weight, then the two latest draws.
std::vector<DrawRecord> WeightOn(int count, const DrawRecord& heavy, const DrawRecord& previous,
                                 const DrawRecord& latest)
{
    std::vector<DrawRecord> draws(static_cast<std::size_t>(count), heavy);
    draws.push_back(previous);
    draws.push_back(latest);
    return draws;
}

// A hundred sets whose only filters are no carry and the consecutive rule.
GenerationSettings HundredWithoutParity(bool weightingOn, bool consecutiveOn)
{
    GenerationSettings settings;
    settings.setCount = 100;
    settings.weightingOn = weightingOn;
    settings.carryCount = 0;
    settings.parityOn = false;
    settings.consecutiveOn = consecutiveOn;
    return settings;
}

// Kept numbers of one run for which `counted` holds.
template <typename Counted>
long CountKept(OpenedHistory& file, const GenerationSettings& settings, std::uint64_t seed, Counted counted)
{
    RunRecorder recorder;
    EXPECT_EQ(RunWith(file, settings, recorder, seed).outcome, RunOutcome::Completed);
    long count = 0;
    for (const PredictionSet& set : recorder.sets)
        count += std::count_if(set.begin(), set.end(), counted);
    return count;
}

TEST(GenerateSetsTest, FrequentNumbersComeOutMoreOftenWithWeightingOn)
{
    // Numbers 1..7 in every draw but the last two, numbers 30..36 in no draw but those.
    OpenedHistory file(WeightOn(50, Draw({1, 2, 3, 4, 5, 6}, 7), Draw({8, 9, 10, 11, 12, 13}, 14),
                                Draw({30, 32, 34, 36, 38, 40}, 42)));
    const auto low = [](std::int16_t n) { return n <= 7; };
    // 1..7 hold about 96% of the weight, so each set takes as many as one pair allows (four);
    // uniform draws give a set about one.
    EXPECT_GE(CountKept(file, HundredWithoutParity(true, true), 8, low), 350);
    EXPECT_LT(CountKept(file, HundredWithoutParity(false, true), 8, low), 200);
}

TEST(GenerateSetsTest, WithWeightingOffDuplicatesAreStillReplacedThroughTheWeights)
{
    // Almost all weight lies on 30, 32, ..., 42 (no two of them consecutive); the latest draw's
    // 8..14 are excluded by carry 0. Uniform sets hold about 1.2 of the seven per set; the
    // replacements of duplicates (about a third of the candidates) add weighted numbers on top.
    OpenedHistory file(WeightOn(100, Draw({30, 32, 34, 36, 38, 40}, 42), Draw({1, 2, 3, 4, 5, 6}, 7),
                                Draw({8, 9, 10, 11, 12, 13}, 14)));
    long heavy = 0;
    for (std::uint64_t seed = 1; seed <= 5; ++seed)
        heavy += CountKept(file, HundredWithoutParity(false, false), seed,
                           [](std::int16_t n) { return n >= 30 && n % 2 == 0; });
    // Uniform replacements give about 620 (standard deviation about 25), weighted ones about 800.
    EXPECT_GT(heavy, 710);
}

std::vector<DrawRecord> WithLatest(std::vector<DrawRecord> draws, const DrawRecord& latest)
{
    draws.back() = latest;
    return draws;
}

// Level 3 gives the most frequent numbers weight 0, and here they are the fresh ones.
std::vector<DrawRecord> FreshNumbersWithoutWeight()
{
    std::vector<DrawRecord> draws(30, Draw({1, 2, 3, 4, 5, 30}, 31));
    draws.push_back(Draw({10, 11, 12, 13, 14, 15}, 16));
    draws.push_back(Draw({1, 2, 3, 4, 5, 30}, 31));
    return draws;
}

GenerationSettings Carry(int carry, int parityLevel, int totalLevel = 1)
{
    GenerationSettings settings;
    settings.carryCount = carry;
    settings.parityLevel = parityLevel;
    settings.totalLevel = totalLevel;
    return settings;
}

// Runs that end before their first attempt: each writes nothing past the progress range.
struct StopCase
{
    const char* name;
    std::vector<DrawRecord> draws;
    GenerationSettings settings;
    RunOutcome outcome;
    Infeasibility reason;
    std::vector<std::string> messageParts;
    bool weightingOffCompletes = false; ///< the uniform first draws reach what the weights cannot
};

TEST(GenerateSetsTest, RunsThatCannotKeepASetStopBeforeTheFirstAttempt)
{
    using enum RunOutcome;
    using enum Infeasibility;
    const std::string contradiction(kContradictionMessage);
    const std::vector<DrawRecord> noCells(5, Draw({44, 0, -1, 0, 50, 0}, 0)); // all statistics equal
    const std::vector<DrawRecord> zeros(3, Draw({-1, 0, 0, 0, 0, 0}, 0));
    // clang-format off
    const std::vector<StopCase> cases = {
        {"no draws", {}, Carry(1, 4), TooFewDraws, None, {"2回分以上"}},
        {"one draw", {Draw({1, 2, 3, 4, 5, 6}, 7)}, Carry(1, 4), TooFewDraws, None, {"2回分以上"}},
        // Fresh 2, 3, 5, 9, 11, 13 hold one even number: two carries cannot make six even.
        {"contradiction", WithLatest(SmallHistory(), Draw({2, 3, 5, 7, 9, 11}, 13)), Carry(2, 1),
         Contradiction, None, {contradiction}},
        // It comes before every other verdict on the settings, even a table with nothing to draw.
        {"contradiction first", WithLatest(zeros, Draw({-1, 0, 0, 0, 0, 0}, 1)), Carry(2, 7), Contradiction,
         None, {contradiction}},
        {"no band", noCells, Carry(0, 4), NoPassingSet, NoDrawableNumber, {"重み"}, true},
        {"five numbers with weight", std::vector<DrawRecord>(10, Draw({1, 2, 3, 4, 5, 1}, 2)), Carry(0, 4),
         NoPassingSet, FewerThanSixDrawable, {"5個"}},
        // One carry at level 1 (six even) while every fresh number is odd: no contradiction, no set.
        {"no set passes", WithLatest(SmallHistory(), Draw({1, 3, 5, 9, 11, 13}, 15)), Carry(1, 1),
         NoPassingSet, NoSetPasses, {"1、3、5、9、11、13、15", "偶数0個・奇数7個"}},
        {"weightless fresh numbers", FreshNumbersWithoutWeight(), Carry(1, 4, 3), NoPassingSet,
         NoDrawableSetPasses, {}, true},
    };
    // clang-format on
    for (const StopCase& c : cases) {
        SCOPED_TRACE(c.name);
        OpenedHistory file(c.draws);
        GenerationSettings settings = c.settings;
        RunRecorder recorder;
        const RunResult result = RunWith(file, settings, recorder);
        EXPECT_EQ(result.outcome, c.outcome);
        EXPECT_EQ(result.feasibility.reason, c.reason);
        EXPECT_EQ(result.attempts, 0);
        EXPECT_EQ(result.setsWritten, 0);
        EXPECT_EQ(recorder.calls, kNothingWritten5);
        const std::string message = DescribeRunOutcome(result, "Loto6data.dt");
        EXPECT_FALSE(message.empty());
        for (const std::string& part : c.messageParts)
            EXPECT_NE(message.find(part), std::string::npos) << message;
        if (c.outcome == TooFewDraws) {
            EXPECT_EQ(result.storedDraws, static_cast<RecordNo>(c.draws.size()));
        }
        if (c.reason == NoDrawableSetPasses) {
            EXPECT_GT(result.feasibility.passingSets, 0);
        }
        if (c.weightingOffCompletes) {
            settings.weightingOn = false;
            RunRecorder uniform;
            ASSERT_EQ(RunWith(file, settings, uniform).outcome, Completed);
            ExpectPassingSets(uniform.sets, c.draws, settings);
        }
    }
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

    // A closed history is a read failure too, not an empty one.
    history.CloseHistory();
    plan->failReads = false;
    RunRecorder closed;
    const RunResult notOpen = GenerateSets(GenerationSettings{}, history, random, closed);
    EXPECT_EQ(notOpen.outcome, RunOutcome::ReadFailed);
    EXPECT_EQ(notOpen.store.error, StoreError::NotOpen);
    EXPECT_EQ(closed.calls, kNothingWritten5);
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
    ExpectPassingSets(recorder.sets, SmallHistory(), settings);

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
