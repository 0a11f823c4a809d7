// AnalysisFixtures: draw tables written out by hand, and the four-draw history the statistics and
// their views are worked out on.
#pragma once

#include "generator/DrawTable.h"
#include "support/HistoryFixtures.h"

#include <initializer_list>

namespace zentrix::analysis::test {

using ::zentrix::test::TableOf;

/// Rows of six numbers and a bonus, draw 1 first.
inline DrawTable Table(std::initializer_list<DrawRow> rows)
{
    DrawTable table;
    table.rows.assign(rows.begin(), rows.end());
    return table;
}

// d1: a run of six; d2 repeats 2 and 3; d3 repeats 3 and holds 11-12-13; d4 repeats 33 and d3's
// bonus 2.
inline const DrawTable kFour = Table({
    {1, 2, 3, 4, 5, 6, 7},
    {40, 2, 30, 3, 20, 10, 1},
    {3, 11, 12, 13, 33, 43, 2},
    {2, 9, 15, 21, 27, 33, 3},
});

} // namespace zentrix::analysis::test
