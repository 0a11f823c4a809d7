// The set filters: fresh and repeated numbers, consecutive pairs, carries, parity, the contradiction.
#include "generator/SetFilter.h"

#include "common/ReferenceRules.h"
#include "generator/CandidateOrder.h"
#include "generator/RandomSource.h"
#include "support/HistoryFixtures.h"

#include <gtest/gtest.h>

namespace zentrix {
namespace {

using reference::CarryRulePasses;
using reference::CheckSet;
using reference::ConsecutivePairs;
using reference::ConsecutiveRulePasses;
using reference::ParityRulePasses;
using reference::Rules;
using test::Draw;

const DrawRow kLatest = MakeDrawRow(Draw({1, 2, 3, 4, 5, 6}, 7));
const DrawRow kPrevious = MakeDrawRow(Draw({6, 7, 20, 21, 22, 23}, 24));

std::vector<std::int16_t> List(std::initializer_list<std::int16_t> values)
{
    return values;
}

TEST(CarryListsTest, RepeatedNumbersAreThoseOfThePreviousDrawBonusIncluded)
{
    const CarryLists lists = BuildCarryLists(kLatest, kPrevious);
    EXPECT_EQ(lists.RepeatedNumbers, List({6, 7}));
    EXPECT_EQ(lists.FreshNumbers, List({1, 2, 3, 4, 5}));
}

TEST(CarryListsTest, TakesTheLastTwoDrawsOfTheTableAndNeedsTwo)
{
    DrawTable table;
    table.rows = {MakeDrawRow(Draw({30, 31, 32, 33, 34, 35}, 36)), kPrevious, kLatest};
    EXPECT_EQ(BuildCarryLists(table).FreshNumbers, List({1, 2, 3, 4, 5}));
    table.rows.resize(1);
    EXPECT_TRUE(BuildCarryLists(table).FreshNumbers.empty());
    EXPECT_TRUE(BuildCarryLists(table).RepeatedNumbers.empty());
}

TEST(CarryListsTest, AValueMatchedTwiceIsRepeatedTwice)
{
    const CarryLists lists = BuildCarryLists(MakeDrawRow(Draw({9, 10, 11, 12, 13, 14}, 15)),
                                             MakeDrawRow(Draw({9, 9, 1, 2, 3, 4}, 5)));
    EXPECT_EQ(lists.RepeatedNumbers, List({9, 9}));
    EXPECT_EQ(lists.FreshNumbers.size(), 6u);
}

TEST(ConsecutiveRuleTest, OnWantsExactlyOnePairOffWantsNone)
{
    EXPECT_TRUE(ConsecutiveRulePasses({1, 2, 10, 20, 30, 40}, true));
    EXPECT_FALSE(ConsecutiveRulePasses({1, 2, 3, 10, 20, 30}, true));
    EXPECT_FALSE(ConsecutiveRulePasses({1, 2, 10, 11, 20, 30}, true));
    EXPECT_FALSE(ConsecutiveRulePasses({1, 10, 20, 30, 40, 43}, true));
    EXPECT_TRUE(ConsecutiveRulePasses({1, 10, 20, 30, 40, 43}, false));
    EXPECT_FALSE(ConsecutiveRulePasses({1, 10, 20, 30, 42, 43}, false));
    EXPECT_EQ(ConsecutivePairs({1, 2, 3, 4, 5, 6}), 5);
}

TEST(CarryRuleTest, FreshNumbersAreCountedAndRepeatedOnesNeverCarried)
{
    struct Case
    {
        PredictionSet set;
        int carry;
        bool passes;
    };
    const std::vector<Case> cases = {
        {{1, 10, 20, 30, 40, 43}, 1, true},
        {{1, 2, 20, 30, 40, 43}, 1, false},   // two fresh numbers
        {{1, 6, 20, 30, 40, 43}, 1, false},   // 6 is repeated
        {{10, 20, 30, 40, 41, 43}, 1, false}, // no fresh number
        {{1, 2, 20, 30, 40, 43}, 2, true},
        {{1, 2, 3, 30, 40, 43}, 2, false},
        {{1, 2, 7, 30, 40, 43}, 2, false},
        // Any number of the latest draw fails a zero carry, the bonus number included.
        {{10, 20, 30, 40, 41, 43}, 0, true},
        {{7, 20, 30, 40, 41, 43}, 0, false},
        {{6, 20, 30, 40, 41, 43}, 0, false},
        // A carry setting other than 0 or 1 is two carries, as the option group gives it.
        {{1, 2, 20, 30, 40, 43}, 5, true},
    };
    const CarryLists lists = BuildCarryLists(kLatest, kPrevious);
    for (std::size_t i = 0; i < cases.size(); ++i)
        EXPECT_EQ(CarryRulePasses(cases[i].set, lists, kLatest, cases[i].carry), cases[i].passes)
            << "case " << i;

    // A hand-made file may repeat a number inside a draw: each entry is a match of its own.
    const DrawRow twice = MakeDrawRow(Draw({8, 8, 12, 13, 14, 15}, 16));
    const CarryLists twiceLists = BuildCarryLists(twice, kPrevious);
    EXPECT_TRUE(CarryRulePasses({8, 20, 30, 40, 41, 43}, twiceLists, twice, 2));
    EXPECT_FALSE(CarryRulePasses({8, 20, 30, 40, 41, 43}, twiceLists, twice, 1));
}

TEST(ParityRuleTest, EvenCountIsSevenMinusTheLevel)
{
    const PredictionSet threeEven{2, 4, 6, 7, 9, 11};
    for (int level = 1; level <= 7; ++level)
        EXPECT_EQ(ParityRulePasses(threeEven, Rules(true, 1, true, level)), level == 4) << level;
    EXPECT_TRUE(ParityRulePasses(threeEven, Rules(true, 1, false, 1)));
    // Outside 1..6 counts as 7: no even number.
    EXPECT_TRUE(ParityRulePasses({1, 3, 5, 7, 9, 11}, Rules(true, 1, true, 0)));
    EXPECT_TRUE(ParityRulePasses({1, 3, 5, 7, 9, 11}, Rules(true, 1, true, 9)));
    EXPECT_FALSE(ParityRulePasses(threeEven, Rules(true, 1, true, 9)));
}

TEST(CheckSetTest, SingleParityLevelsDropTheConsecutiveRequirement)
{
    const CarryLists lists = BuildCarryLists(kLatest, kPrevious);
    // Level 1 with consecutiveOn: no pair, yet it passes.
    EXPECT_EQ(CheckSet({2, 4, 10, 12, 20, 30}, lists, kLatest, Rules(true, 2, true, 1)), SetVerdict::Pass);
    EXPECT_EQ(CheckSet({1, 3, 11, 13, 21, 31}, lists, kLatest, Rules(true, 2, true, 7)), SetVerdict::Pass);
    // Level 2 keeps it: the same kind of set without a pair fails, one with a pair passes.
    EXPECT_EQ(CheckSet({2, 4, 10, 12, 20, 31}, lists, kLatest, Rules(true, 2, true, 2)), SetVerdict::Fail);
    EXPECT_EQ(CheckSet({2, 4, 10, 12, 30, 31}, lists, kLatest, Rules(true, 2, true, 2)), SetVerdict::Pass);
    // Without parityOn level 1 means nothing.
    EXPECT_EQ(CheckSet({2, 4, 10, 12, 20, 30}, lists, kLatest, Rules(true, 2, false, 1)), SetVerdict::Fail);
}

TEST(CheckSetTest, AllThreeMarksMustPass)
{
    const CarryLists lists = BuildCarryLists(kLatest, kPrevious);
    const GenerationSettings rules = Rules(true, 1, true, 4);
    EXPECT_EQ(CheckSet({1, 10, 11, 20, 30, 41}, lists, kLatest, rules), SetVerdict::Pass);
    EXPECT_EQ(CheckSet({1, 10, 13, 20, 30, 41}, lists, kLatest, rules), SetVerdict::Fail); // no pair
    EXPECT_EQ(CheckSet({1, 10, 11, 20, 31, 41}, lists, kLatest, rules), SetVerdict::Fail); // two even
    EXPECT_EQ(CheckSet({6, 10, 11, 21, 31, 40}, lists, kLatest, rules), SetVerdict::Fail); // repeated 6
}

TEST(ContradictionTest, FiresOnlyWithParityOnTwoCarriesAndTooFewFreshOfTheParity)
{
    // Fresh 1..5: two even, three odd. 7 repeated, fresh 2, 3, 5, 9, 11, 13: one even. Nothing
    // repeated, fresh 2, 4, 8, 10, 12, 14, 1: one odd.
    const DrawRow balanced = kLatest;
    const DrawRow oneEven = MakeDrawRow(Draw({2, 3, 5, 7, 9, 11}, 13));
    const DrawRow oneOdd = MakeDrawRow(Draw({2, 4, 8, 10, 12, 14}, 1));
    struct Case
    {
        DrawRow latest;
        GenerationSettings rules;
        bool contradicts;
    };
    const std::vector<Case> cases = {
        {balanced, Rules(true, 2, true, 1), false},
        {balanced, Rules(true, 2, true, 7), false},
        {oneEven, Rules(true, 2, true, 1), true},
        {oneEven, Rules(true, 2, true, 7), false},
        {oneEven, Rules(true, 1, true, 1), false},
        {oneEven, Rules(true, 0, true, 1), false},
        {oneEven, Rules(true, 2, false, 1), false},
        {oneEven, Rules(true, 2, true, 2), false},
        {oneOdd, Rules(true, 2, true, 7), true},
        {oneOdd, Rules(true, 2, true, 1), false},
        // The check names level 7 itself; levels counted as 7 by the parity rule do not fire it.
        {oneOdd, Rules(true, 2, true, 8), false},
    };
    for (std::size_t i = 0; i < cases.size(); ++i) {
        const Case& c = cases[i];
        const CarryLists lists = BuildCarryLists(c.latest, kPrevious);
        EXPECT_EQ(SettingsContradict(lists, c.rules), c.contradicts) << "case " << i;
        // Whatever the candidate, the verdict is the contradiction.
        if (c.contradicts) {
            for (const PredictionSet& set :
                 {PredictionSet{2, 4, 6, 8, 10, 12}, PredictionSet{1, 20, 30, 31, 40, 43}})
                EXPECT_EQ(CheckSet(set, lists, c.latest, c.rules), SetVerdict::Contradiction) << "case " << i;
        }
    }
}

// Each level asks for its own split: 6 even at level 1 down to none at level 7 (and beyond).
TEST(RulePlanTest, EachParityLevelWantsItsOwnNumberOfEvens)
{
    const DrawRow latest = MakeDrawRow(Draw({3, 7, 11, 15, 19, 23}, 27));
    const CarryLists lists = BuildCarryLists(latest, kPrevious);
    // No two numbers of these lists are neighbours, and none is in the latest draw.
    const std::array<int, 6> evens{26, 28, 30, 32, 34, 36};
    const std::array<int, 6> odds{1, 5, 9, 13, 17, 21};
    for (int level = 1; level <= 9; ++level) {
        const RulePlan plan(lists, latest, Rules(false, 0, true, level));
        const int wanted = level <= 6 ? 7 - level : 0;
        for (int evenCount = 0; evenCount <= 6; ++evenCount) {
            NumberMask set = 0;
            for (int i = 0; i < 6; ++i)
                set |= NumberBit(i < evenCount ? evens[static_cast<std::size_t>(i)]
                                               : odds[static_cast<std::size_t>(i)]);
            EXPECT_EQ(plan.passes(set), evenCount == wanted)
                << "level " << level << ", " << evenCount << " even";
        }
        EXPECT_EQ(IsSingleParityLevel(level), level == 1 || level >= 7) << level;
    }
}

// The attempt loop judges sets through RulePlan; it must agree with the literal rules on every
// kind of set.
TEST(RulePlanTest, AgreesWithTheLiteralRulesForEverySetting)
{
    const std::vector<std::pair<DrawRow, DrawRow>> draws = {
        {kLatest, kPrevious},
        {MakeDrawRow(Draw({7, 12, 20, 23, 27, 29}, 10)), MakeDrawRow(Draw({7, 10, 17, 26, 35, 42}, 33))},
        {MakeDrawRow(Draw({8, 8, 12, 13, 14, 15}, 16)), kPrevious},
        {MakeDrawRow(Draw({2, 3, 5, 7, 9, 11}, 13)), kPrevious},
        {MakeDrawRow(Draw({44, 0, -1, 9, 10, 11}, 12)), MakeDrawRow(Draw({9, 9, 1, 2, 3, 4}, 5))},
    };
    RandomSource random(5);
    std::vector<PredictionSet> sets;
    for (int i = 0; i < 3000; ++i) {
        // Sets crowded near the latest draws' numbers, so that every rule both passes and fails.
        NumberMask mask = 0;
        while (MaskSize(mask) < 6)
            mask |= NumberBit(static_cast<int>(1 + random.next() % (i % 2 == 0 ? 16 : 43)));
        sets.push_back(SetFromMask(mask));
    }
    int passed = 0;
    for (const auto& [latest, previous] : draws) {
        const CarryLists lists = BuildCarryLists(latest, previous);
        for (const bool consecutive : {false, true})
            for (const int carry : {0, 1, 2})
                for (const int parity : {0, 1, 2, 3, 4, 5, 6, 7, 8}) {
                    const GenerationSettings settings =
                        Rules(consecutive, carry, parity != 0, parity == 0 ? 4 : parity);
                    const RulePlan rules(lists, latest, settings);
                    EXPECT_EQ(rules.contradiction(), SettingsContradict(lists, settings));
                    for (const PredictionSet& set : sets) {
                        const bool expected = CheckSet(set, lists, latest, settings) == SetVerdict::Pass;
                        ASSERT_EQ(rules.verdict(MaskFromSet(set)), CheckSet(set, lists, latest, settings))
                            << "carry " << carry << " parity " << parity << " consecutive " << consecutive;
                        passed += expected ? 1 : 0;
                    }
                }
    }
    EXPECT_GT(passed, 1000);
}

} // namespace
} // namespace zentrix
