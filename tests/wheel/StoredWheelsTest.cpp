// StoredWheels: the text form, the proof before use, and the builder's choice between a stored
// design and a fresh one.
#include "wheel/StoredWheels.h"

#include "WheelTestSupport.h"
#include "wheel/WheelBuilder.h"

#include <fstream>
#include <gtest/gtest.h>
#include <set>
#include <sstream>
#include <tuple>

namespace zentrix::wheel {
namespace {

using test::Range;
using test::Request;

/// Every six-point block on `v` points: a design with any guarantee, and a large one.
StoredDesign EveryBlock(int v, int t, int m)
{
    StoredDesign design{v, t, m, 7, 1.5, {}};
    const PointMask last = FirstCombination(6) << (v - 6);
    for (PointMask b = FirstCombination(6);; b = NextCombination(b)) {
        design.blocks.push_back(b);
        if (b == last)
            break;
    }
    return design;
}

/// A searched design for "t if t" on `v` points, stopping at `size` blocks.
StoredDesign Searched(int v, int t, std::uint64_t size)
{
    SearchLimits limits;
    limits.seed = 3;
    limits.stopAtSize = size;
    limits.time = std::chrono::minutes(10);
    const SearchOutcome outcome = FindCover(CoverProblem{v, 6, t, t}, limits);
    return StoredDesign{v, t, t, 3, 0.5, outcome.blocks};
}

/// A search that can do no better than its greedy start.
WheelOptions TinySearch(const StoredWheels* stored)
{
    WheelOptions options;
    options.limits.seed = 1;
    options.limits.maxMoves = 10;
    options.limits.time = std::chrono::minutes(10);
    options.stopAtBestKnown = false;
    options.stored = stored;
    return options;
}

TEST(StoredWheelsTest, TheTextFormReadsBackWhatItWrote)
{
    const std::vector<StoredDesign> designs{EveryBlock(8, 3, 4), Searched(10, 3, 10)};
    const std::string text = FormatStoredDesigns(designs, {"first line", ""});
    EXPECT_EQ(text.rfind("# first line\n#\ndesign v=8 t=3 m=4 size=28 seed=7 seconds=1.5\n0 1 2 3 4 5\n", 0),
              0u);
    const StoredParse parse = ParseStoredDesigns(text);
    EXPECT_EQ(parse.error, "");
    ASSERT_EQ(parse.designs.size(), 2u);
    for (std::size_t i = 0; i < 2; ++i) {
        EXPECT_EQ(parse.designs[i].points, designs[i].points);
        EXPECT_EQ(parse.designs[i].strength, designs[i].strength);
        EXPECT_EQ(parse.designs[i].served, designs[i].served);
        EXPECT_EQ(parse.designs[i].seed, designs[i].seed);
        EXPECT_DOUBLE_EQ(parse.designs[i].seconds, designs[i].seconds);
        EXPECT_EQ(parse.designs[i].blocks, designs[i].blocks);
    }
    // Blank lines, comments and stray spaces between and inside designs are fine; seed and
    // seconds may be left out.
    const StoredParse loose =
        ParseStoredDesigns("\n# c\ndesign  v=7 t=3 m=3 size=2\r\n 0 1 2 3 4 5 \n\n0\t1 2 3 4 6\n");
    EXPECT_EQ(loose.error, "");
    ASSERT_EQ(loose.designs.size(), 1u);
    EXPECT_EQ(loose.designs[0].blocks, (std::vector<PointMask>{0x3f, 0x5f}));
}

TEST(StoredWheelsTest, FaultyTextNamesTheFirstBadLineAndKeepsTheDesignsBeforeIt)
{
    const std::string good = "design v=7 t=3 m=3 size=1\n0 1 2 3 4 5\n";
    const std::vector<std::pair<std::string, std::string>> cases{
        {"0 1 2 3 4 5\n", "line 3: expected a design line"},
        {"design v=7 t=3 m=3 size=1\n0 1 2 3 4 7\n", "line 4: expected six distinct points below 7"},
        {"design v=7 t=3 m=3 size=1\n0 1 2 3 4 4\n", "line 4: expected six distinct points below 7"},
        {"design v=7 t=3 m=3 size=1\n0 1 2 3 4\n", "line 4: expected six distinct points below 7"},
        {"design v=7 t=3 m=3 size=1\n0 1 2 3 4 x\n", "line 4: expected six distinct points below 7"},
        {"design v=7 t=3 m=3 size=1\n0 1 2 3 4 -1\n", "line 4: expected six distinct points below 7"},
        {"design v=7 t=3 m=3 size=2\n0 1 2 3 4 5\n", "line 5: the last design ends early"},
        {"design v=7 t=3 m=3\n", "line 3: v, t, m and size are required"},
        {"design v=7 t=3 m=3 size=0\n", "line 3: size out of range"},
        {"design v=31 t=3 m=3 size=1\n", "line 3: v out of range"},
        {"design v=9 t=4 m=3 size=1\n", "line 3: t and m out of range"},
        {"design v=9 t=3 m=3 size=1 colour=red\n", "line 3: unknown key"},
        {"design v=9 t=3 m=3 size=1 seed=-4\n", "line 3: bad number"},
        {"design v=9 t=3 m=3 size 1\n", "line 3: expected key=value"},
    };
    for (const auto& [tail, error] : cases) {
        const StoredParse parse = ParseStoredDesigns(good + tail);
        EXPECT_EQ(parse.error, error) << tail;
        ASSERT_EQ(parse.designs.size(), 1u) << tail;
        EXPECT_EQ(parse.designs[0].blocks, std::vector<PointMask>{0x3f});
    }
}

TEST(StoredWheelsTest, TheProofRejectsDesignsThatBreakTheGuaranteeOrTheForm)
{
    EXPECT_TRUE(ProveStoredDesign(EveryBlock(9, 4, 6)));
    EXPECT_TRUE(ProveStoredDesign(Searched(9, 3, 7)));

    StoredDesign missing = Searched(9, 3, 7);
    missing.blocks.pop_back(); // C(9,6,3) = 7: no six blocks cover every triple
    EXPECT_FALSE(ProveStoredDesign(missing));

    StoredDesign offPicks = EveryBlock(9, 3, 3);
    offPicks.blocks.push_back(PointMask{0x1f} | PointMask{1} << 9); // point 9 of a 9-point design
    EXPECT_FALSE(ProveStoredDesign(offPicks));
    StoredDesign shortBlock = EveryBlock(9, 3, 3);
    shortBlock.blocks[0] = 0x1f;
    EXPECT_FALSE(ProveStoredDesign(shortBlock));
    StoredDesign badGuarantee = EveryBlock(9, 2, 3); // "2 if 3" is no wheel this program makes
    EXPECT_FALSE(ProveStoredDesign(badGuarantee));
    EXPECT_FALSE(ProveStoredDesign(StoredDesign{9, 3, 3, 0, 0, {}}));
}

TEST(StoredWheelsTest, ABrokenStoredDesignIsNeverShown)
{
    StoredDesign broken = Searched(9, 3, 7);
    broken.blocks.pop_back();
    const StoredWheels onlyBroken({broken});
    EXPECT_FALSE(onlyBroken.find(CoverProblem{9, 6, 3, 3}));
    EXPECT_FALSE(onlyBroken.find(CoverProblem{9, 6, 3, 3})); // the failed proof is remembered

    const WheelRequest request = Request(Range(1, 9), 3, 3);
    const WheelResult result = BuildWheel(request, TinySearch(&onlyBroken));
    ASSERT_EQ(result.status, WheelResult::Status::Built);
    EXPECT_FALSE(result.fromTable);
    EXPECT_TRUE(reference::ServesEveryDraw(request, result.tickets));

    // A broken small design does not hide a sound larger one for the same problem.
    const StoredDesign sound = EveryBlock(9, 3, 3);
    const StoredWheels both({broken, sound});
    const auto found = both.find(CoverProblem{9, 6, 3, 3});
    ASSERT_TRUE(found);
    EXPECT_EQ(found->blocks, sound.blocks);
}

TEST(StoredWheelsTest, LookUpMatchesTheWholeProblem)
{
    const StoredWheels table({EveryBlock(9, 3, 4), EveryBlock(10, 3, 3)});
    EXPECT_TRUE(table.find(CoverProblem{9, 6, 3, 4}));
    EXPECT_TRUE(table.find(CoverProblem{10, 6, 3, 3}));
    EXPECT_FALSE(table.find(CoverProblem{9, 6, 3, 3}));
    EXPECT_FALSE(table.find(CoverProblem{10, 6, 3, 4}));
    EXPECT_FALSE(table.find(CoverProblem{9, 5, 3, 4})); // blocks of five: a request with a key number
}

TEST(StoredWheelsTest, TheBuilderTakesTheStoredDesignWhenItIsSmaller)
{
    // At the published size: returned at once, without a search.
    const StoredWheels published({Searched(12, 3, 15)});
    const WheelRequest request = Request(Range(1, 12), 3, 3);
    WheelOptions atOnce = TinySearch(&published);
    atOnce.stopAtBestKnown = true;
    const WheelResult quick = BuildWheel(request, atOnce);
    ASSERT_EQ(quick.status, WheelResult::Status::Built);
    EXPECT_TRUE(quick.fromTable);
    EXPECT_EQ(quick.tickets.size(), 15u);
    EXPECT_EQ(quick.moves, 0u);

    // Above the stopping size (here the lower bound), the search runs and loses to it.
    const WheelResult searched = BuildWheel(request, TinySearch(&published));
    ASSERT_EQ(searched.status, WheelResult::Status::Built);
    EXPECT_TRUE(searched.fromTable);
    EXPECT_GT(searched.moves, 0u);
    EXPECT_GT(searched.greedySize, 15u);
    EXPECT_EQ(searched.tickets.size(), 15u);
    EXPECT_TRUE(reference::ServesEveryDraw(request, searched.tickets));
}

TEST(StoredWheelsTest, ASmallerFreshDesignWins)
{
    const StoredWheels huge({EveryBlock(10, 3, 3)}); // 210 blocks
    const WheelRequest request = Request(Range(1, 10), 3, 3);
    const WheelResult result = BuildWheel(request, TinySearch(&huge));
    ASSERT_EQ(result.status, WheelResult::Status::Built);
    EXPECT_FALSE(result.fromTable);
    EXPECT_LT(result.tickets.size(), 210u);
    EXPECT_TRUE(reference::ServesEveryDraw(request, result.tickets));
}

TEST(StoredWheelsTest, TheBuiltInTableIsTheRepositoryFileAndEveryDesignInItIsSound)
{
    std::ifstream file(ZENTRIX_WHEEL_TABLE_FILE, std::ios::binary);
    ASSERT_TRUE(file) << ZENTRIX_WHEEL_TABLE_FILE;
    std::ostringstream text;
    text << file.rdbuf();
    EXPECT_EQ(BuiltInWheelText(), text.str()); // a stale build would miss the newest designs

    const StoredParse parse = ParseStoredDesigns(BuiltInWheelText());
    EXPECT_EQ(parse.error, "");
    EXPECT_EQ(StoredWheels::BuiltIn().size(), parse.designs.size());
    std::set<std::tuple<int, int, int>> cells;
    for (const StoredDesign& d : parse.designs) {
        EXPECT_TRUE(cells.insert({d.points, d.strength, d.served}).second) << "two designs for one cell";
        EXPECT_TRUE(ProveStoredDesign(d)) << d.points << " " << d.strength << " if " << d.served;
        const CoverProblem problem{d.points, 6, d.strength, d.served};
        EXPECT_GE(d.blocks.size(), LowerBound(Request(Range(1, d.points), d.strength, d.served)));
        const auto found = StoredWheels::BuiltIn().find(problem);
        ASSERT_TRUE(found);
        EXPECT_EQ(found->blocks, d.blocks);
    }
}

} // namespace
} // namespace zentrix::wheel
