// NumberList: the lists of numbers and the guarantees the wheel command takes.
#include "NumberList.h"

#include <gtest/gtest.h>

namespace zentrix::cli {
namespace {

TEST(NumberListTest, ListsAndRanges)
{
    EXPECT_EQ(ParseNumberList("1,5,7-9"), (std::vector<int>{1, 5, 7, 8, 9}));
    EXPECT_EQ(ParseNumberList(" 4 - 4 , 2 "), (std::vector<int>{4, 2}));
    for (const char* bad :
         {"", " ", "1,", ",1", "1-", "-1", "5-3", "1;2", "1 2", "1-2-3", "0x10", "1234", "+3"})
        EXPECT_FALSE(ParseNumberList(bad)) << bad;
    EXPECT_EQ(ParseGuaranteeText("3/4"), (std::pair{3, 4}));
    EXPECT_EQ(ParseGuaranteeText(" 5 / 6 "), (std::pair{5, 6}));
    for (const char* bad : {"3", "3/", "/3", "3/4/5", "a/b", "3-4"})
        EXPECT_FALSE(ParseGuaranteeText(bad)) << bad;
}

} // namespace
} // namespace zentrix::cli
