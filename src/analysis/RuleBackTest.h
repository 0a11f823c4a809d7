// RuleBackTest: how the set rules would have judged the draws that really came out.
#pragma once

#include "generator/DrawTable.h"
#include "generator/GenerationSettings.h"

#include <cstdint>

namespace zentrix::analysis {

struct BackTestResult
{
    std::int64_t checked = 0;      ///< draws 3..Latest: each has two draws before it
    std::int64_t passed = 0;       ///< draws whose six numbers pass the rules against the two before
    std::int64_t contradicted = 0; ///< draws whose two predecessors make the settings contradict
    std::int64_t unusable = 0;     ///< draws whose numbers are not six distinct numbers 1..43
};

/**
 * Every draw d from 3 to Latest is judged as a candidate set of the run made just before it: the
 * carry lists come from draws d-1 and d-2, the carry rule looks at draw d-1. A draw where the
 * settings contradict (carry 2 against the parity level) counts as not passed, since such a run
 * keeps no set.
 */
BackTestResult BackTestRules(const DrawTable& table, const GenerationSettings& settings);

} // namespace zentrix::analysis
