// AnalysisFixtures: draw tables written out by hand, and the real history as a table.
#pragma once

#include "generator/DrawTable.h"
#include "support/HistoryFixtures.h"

#include <initializer_list>
#include <vector>

namespace zentrix::analysis::test {

/// Rows of six numbers and a bonus, draw 1 first.
inline DrawTable Table(std::initializer_list<DrawRow> rows)
{
    DrawTable table;
    table.rows.assign(rows.begin(), rows.end());
    return table;
}

inline DrawTable Table(const std::vector<DrawRecord>& records)
{
    DrawTable table;
    for (const DrawRecord& record : records)
        table.rows.push_back(MakeDrawRow(record));
    return table;
}

} // namespace zentrix::analysis::test
