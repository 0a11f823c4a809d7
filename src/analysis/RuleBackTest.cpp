// RuleBackTest: the set rules on every stored draw against the two draws before it.
#include "analysis/RuleBackTest.h"

#include "generator/CandidateOrder.h"
#include "generator/SetFilter.h"

#include <algorithm>

namespace zentrix::analysis {

BackTestResult BackTestRules(const DrawTable& table, const GenerationSettings& settings)
{
    BackTestResult result;
    for (RecordNo d = 3; d <= table.Latest(); ++d) {
        ++result.checked;
        const DrawRow& row = table.row(d);
        PredictionSet set{};
        std::copy_n(row.begin(), set.size(), set.begin());
        std::sort(set.begin(), set.end());
        const bool usable =
            std::all_of(set.begin(), set.end(), [](std::int16_t v) { return IsLotoNumber(v); }) &&
            std::adjacent_find(set.begin(), set.end()) == set.end();
        if (!usable) {
            ++result.unusable;
            continue;
        }
        const DrawRow& latest = table.row(d - 1);
        const CarryLists lists = BuildCarryLists(latest, table.row(d - 2));
        switch (RulePlan(lists, latest, settings).verdict(MaskFromSet(set))) {
        case SetVerdict::Pass:
            ++result.passed;
            break;
        case SetVerdict::Contradiction:
            ++result.contradicted;
            break;
        case SetVerdict::Fail:
            break;
        }
    }
    return result;
}

} // namespace zentrix::analysis
