// WheelRequest and WheelMessages: checks, bounds, published sizes, chances and texts.
#include "wheel/WheelRequest.h"

#include "WheelTestSupport.h"
#include "wheel/WheelMessages.h"

#include <gtest/gtest.h>

namespace zentrix::wheel {
namespace {

using test::Range;
using test::Request;

TEST(WheelRequestTest, CheckFindsEachFault)
{
    EXPECT_EQ(CheckRequest(Request(Range(1, 12), 3, 3)), RequestError::None);
    EXPECT_EQ(CheckRequest(Request(Range(37, 44), 3, 3)), RequestError::NumberOutOfRange);
    EXPECT_EQ(CheckRequest(Request(Range(1, 12), 3, 3, {0})), RequestError::NumberOutOfRange);
    EXPECT_EQ(CheckRequest(Request({1, 2, 3, 4, 5, 6, 7, 7}, 3, 3)), RequestError::DuplicateNumber);
    EXPECT_EQ(CheckRequest(Request(Range(1, 12), 4, 4, {2, 2})), RequestError::DuplicateNumber);
    EXPECT_EQ(CheckRequest(Request(Range(1, 6), 3, 3)), RequestError::TooFewPicks);
    EXPECT_EQ(CheckRequest(Request(Range(1, 30), 3, 3)), RequestError::None);
    EXPECT_EQ(CheckRequest(Request(Range(1, 31), 3, 3)), RequestError::TooManyPicks);
    for (const auto& [t, m] : std::vector<std::pair<int, int>>{{2, 2}, {4, 3}, {6, 6}, {3, 7}})
        EXPECT_EQ(CheckRequest(Request(Range(1, 12), t, m)), RequestError::BadGuarantee) << t << "/" << m;
    EXPECT_EQ(CheckRequest(Request(Range(1, 12), 5, 6)), RequestError::None);
    EXPECT_EQ(CheckRequest(Request(Range(1, 12), 3, 3, {13})), RequestError::KeyNotPicked);
    EXPECT_EQ(CheckRequest(Request(Range(1, 12), 3, 3, {1, 2, 3})), RequestError::TooManyKeys);
    EXPECT_EQ(CheckRequest(Request(Range(1, 12), 4, 4, {1, 2, 3})), RequestError::None);
}

TEST(WheelRequestTest, LowerBounds)
{
    // Schönheim: C(12,6,3) >= 14, C(20,6,3) >= 64, C(20,6,4) >= 344; the counting bound is weaker.
    EXPECT_EQ(LowerBound(Request(Range(1, 12), 3, 3)), 14u);
    EXPECT_EQ(LowerBound(Request(Range(1, 20), 3, 3)), 64u);
    EXPECT_EQ(LowerBound(Request(Range(1, 20), 4, 4)), 344u);
    EXPECT_EQ(CountingBound({12, 6, 3, 3}), 11u); // ceil(220 / 20)
    // "3 if 6" on 20: C(20,6) = 38760 draws, one ticket serves 20*364 + 15*91 + 6*14 + 1 = 8730.
    EXPECT_EQ(LowerBound(Request(Range(1, 20), 3, 6)), 5u);
    // Keys: "4 if 4" with one key on 10 picks is "3 if 3" with blocks of 5 on 9 points.
    // ceil(9/5 ceil(8/4 ceil(7/3))) = 11 beats the counting bound ceil(84 / 10) = 9.
    EXPECT_EQ(LowerBound(Request(Range(1, 10), 4, 4, {1})), 11u);
}

TEST(WheelRequestTest, PublishedSizesOnlyWhereTheTablesSpeak)
{
    EXPECT_EQ(BestKnownSize(Request(Range(1, 12), 3, 3)), 15);
    EXPECT_EQ(BestKnownSize(Request(Range(1, 20), 4, 4)), 382);
    EXPECT_EQ(BestKnownSize(Request(Range(1, 7), 4, 4)), 5);
    EXPECT_FALSE(BestKnownSize(Request(Range(1, 21), 3, 3)));
    EXPECT_FALSE(BestKnownSize(Request(Range(1, 12), 3, 4)));
    EXPECT_FALSE(BestKnownSize(Request(Range(1, 12), 5, 5)));
    EXPECT_FALSE(BestKnownSize(Request(Range(1, 12), 3, 3, {1})));
}

TEST(WheelRequestTest, ChanceOfTheGuarantee)
{
    // Twelve picks and "3 if 3": the draws with three or more of them, summed by hand.
    const double twelve = GuaranteeChance(Request(Range(1, 12), 3, 3));
    double sum = 0;
    for (int i = 3; i <= 6; ++i) {
        double ways = 1;
        for (int j = 0; j < i; ++j)
            ways = ways * (12 - j) / (j + 1);
        double rest = 1;
        for (int j = 0; j < 6 - i; ++j)
            rest = rest * (31 - j) / (j + 1);
        sum += ways * rest;
    }
    EXPECT_NEAR(twelve, sum / 6096454.0, 1e-12);
    EXPECT_NEAR(twelve, 0.2041, 0.0001);
    // A key number must be drawn too, which makes the chance smaller.
    EXPECT_LT(GuaranteeChance(Request(Range(1, 12), 3, 3, {5})), twelve);
    EXPECT_NEAR(GuaranteeChance(Request(Range(1, 12), 6, 6)), 924.0 / 6096454.0, 1e-15);
}

TEST(WheelMessagesTest, PlayersWords)
{
    EXPECT_EQ(GuaranteeLabel({3, 3}), "3個一致で5等を保証（3 if 3）");
    EXPECT_EQ(GuaranteeLabel({4, 5}), "5個一致で4等を保証（4 if 5）");
    EXPECT_EQ(GuaranteeLabel({5, 6}), "6個一致で3等を保証（5 if 6）");
    EXPECT_EQ(TicketsAndCost(15), "15枚（3,000円）");
    EXPECT_EQ(TicketsAndCost(5000), "5,000枚（1,000,000円）");
    EXPECT_EQ(GroupDigits(1234567), "1,234,567");
    EXPECT_EQ(PercentText(0.2041), "20.41%");
    for (const RequestError e :
         {RequestError::NumberOutOfRange, RequestError::DuplicateNumber, RequestError::TooFewPicks,
          RequestError::TooManyPicks, RequestError::BadGuarantee, RequestError::KeyNotPicked,
          RequestError::TooManyKeys})
        EXPECT_FALSE(RequestErrorMessage(e).empty());
}

} // namespace
} // namespace zentrix::wheel
