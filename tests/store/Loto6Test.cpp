// The game's facts and the printed form of a run.
#include "store/Loto6.h"

#include <gtest/gtest.h>

namespace zentrix {
namespace {

using Six = std::array<std::int16_t, 6>;

TEST(Loto6Test, ADrawIsSixDistinctNumbersAndABonusNotAmongThem)
{
    EXPECT_TRUE(IsValidDraw(Six{1, 2, 3, 41, 42, 43}, 20));
    EXPECT_TRUE(IsValidDraw(Six{43, 7, 1, 20, 9, 30}, 2)); // any order
    EXPECT_FALSE(IsValidDraw(Six{1, 2, 3, 4, 5, 5}, 20));  // a number twice
    EXPECT_FALSE(IsValidDraw(Six{1, 2, 3, 4, 5, 6}, 6));   // the bonus among them
    EXPECT_FALSE(IsValidDraw(Six{0, 2, 3, 4, 5, 6}, 7));
    EXPECT_FALSE(IsValidDraw(Six{1, 2, 3, 4, 5, 44}, 7));
    EXPECT_FALSE(IsValidDraw(Six{1, 2, 3, 4, 5, 6}, 44));
    EXPECT_FALSE(IsValidDraw(Six{1, 2, 3, 4, 5, 6}, 0));
    EXPECT_TRUE(AreSixDistinctNumbers(Six{43, 42, 41, 40, 39, 1}));
    EXPECT_FALSE(AreSixDistinctNumbers(Six{-1, 2, 3, 4, 5, 6}));
}

TEST(Loto6Test, PrintedLinesCarryTheRowLabelAndTwoDigitNumbers)
{
    EXPECT_EQ(PrintedLine(1, Six{3, 11, 17, 25, 38, 42}), "001→03 , 11 , 17 , 25 , 38 , 42");
    EXPECT_EQ(PrintedLine(100, Six{1, 2, 9, 10, 11, 43}), "100→01 , 02 , 09 , 10 , 11 , 43");
    EXPECT_EQ(RowLabel(42), "042→");
    EXPECT_EQ(NumberText(7), "07");
    EXPECT_EQ(NumberText(43), "43");
}

} // namespace
} // namespace zentrix
