// Naming a damaged data file: the scan for draws that cannot be draws, and when its message replaces
// the outcome's.
#include "generator/RunMessages.h"

#include "GeneratorFixtures.h"

#include <gtest/gtest.h>

namespace zentrix {
namespace {

using test::Draw;
using test::OpenedHistory;

/// What an all-0xFF record decodes to: every field -1.
const DrawRecord kFilledWithFF = Draw({-1, -1, -1, -1, -1, -1}, -1, -1);

DrawTable TableOf(std::vector<DrawRow> rows)
{
    DrawTable table;
    table.rows = std::move(rows);
    return table;
}

RunResult ResultOf(RunOutcome outcome)
{
    RunResult result;
    result.outcome = outcome;
    return result;
}

TEST(FirstDamagedDrawTest, FindsTheFirstDrawWithANumberOrBonusOutsideTheRange)
{
    const DrawRow good{1, 2, 3, 4, 5, 43, 7};
    EXPECT_EQ(FirstDamagedDraw(DrawTable{}), 0);
    EXPECT_EQ(FirstDamagedDraw(TableOf({good, good, good})), 0) << "1 and 43 are in range";

    DrawRow bonus44 = good;
    bonus44[6] = 44;
    EXPECT_EQ(FirstDamagedDraw(TableOf({good, good, bonus44})), 3) << "the bonus counts too";

    DrawRow zeroInside = good;
    zeroInside[3] = 0;
    const DrawRow minusOne = MakeDrawRow(kFilledWithFF);
    EXPECT_EQ(FirstDamagedDraw(TableOf({good, zeroInside, good, minusOne})), 2)
        << "the first one, not the last";
    EXPECT_EQ(FirstDamagedDraw(TableOf({minusOne})), 1);
}

TEST(DescribeDamagedHistoryTest, NamesTheFileAndTheFirstDamagedRecordForRunsWithoutSets)
{
    OpenedHistory opened({Draw({1, 2, 3, 4, 5, 6}, 7), Draw({8, 9, 10, 11, 12, 13}, 14), kFilledWithFF,
                          Draw({40, 41, 42, 43, 1, 2}, 3), kFilledWithFF});
    ASSERT_TRUE(opened.opened());
    const std::string expected =
        "データファイル「my.dt」の第3回は当選番号ではない値（-1 , -1 , -1 , -1 , -1 , -1 "
        "ボーナス -1）を持っています。データファイルが壊れているか、別のファイルです。";
    for (const RunOutcome outcome : {RunOutcome::NoPassingSet, RunOutcome::TooSlow})
        EXPECT_EQ(DescribeDamagedHistory(ResultOf(outcome), opened.history(), "my.dt"), expected);

    // The other outcomes have their own, certain cause.
    for (const RunOutcome outcome :
         {RunOutcome::Completed, RunOutcome::Contradiction, RunOutcome::TooFewDraws, RunOutcome::ReadFailed})
        EXPECT_EQ(DescribeDamagedHistory(ResultOf(outcome), opened.history(), "my.dt"), "");
}

TEST(DescribeDamagedHistoryTest, SaysNothingForASoundHistory)
{
    OpenedHistory opened(test::SyntheticHistory(40, 3));
    ASSERT_TRUE(opened.opened());
    for (const RunOutcome outcome : {RunOutcome::NoPassingSet, RunOutcome::TooSlow})
        EXPECT_EQ(DescribeDamagedHistory(ResultOf(outcome), opened.history(), "Loto6data.dt"), "");
}

} // namespace
} // namespace zentrix
