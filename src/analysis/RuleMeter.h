// RuleMeter: what the consecutive, carry and parity rules keep with given settings, against the
// latest draws, and how the real draws would have fared under them.
#pragma once

#include "analysis/RuleBackTest.h"
#include "generator/DrawTable.h"
#include "generator/GenerationSettings.h"

#include <cstdint>
#include <string>
#include <vector>

namespace zentrix::analysis {

struct RuleMeterReading
{
    RecordNo latest = 0;          ///< the draw the carry rule looks at
    bool enoughDraws = false;     ///< at least two draws: the rules need the latest two
    bool contradiction = false;   ///< carry 2 against the parity level: a run would stop
    std::int64_t passingSets = 0; ///< of all 6,096,454 sets, exactly
    BackTestResult backTest;      ///< draws 3..latest judged against the two before each

    /// The chance that one set chosen uniformly from all sets passes: passingSets / 6,096,454.
    double passShare() const;
    /// The share of the judged draws that passed, 0 with none judged.
    double backTestShare() const;
};

/// Counts with the generator's exact count and back-test; takes well under a millisecond.
RuleMeterReading ReadRuleMeter(const DrawTable& table, const GenerationSettings& settings);

/// The one sentence on what a filter can do for the odds.
inline constexpr const char* kFilterOddsNote =
    "どの6個の組み合わせも当選する確率は同じ 1/6,096,454 なので、条件で絞っても1組あたりの当選確率は"
    "変わらず、変わるのは選ばれる組の顔ぶれだけです。";

/// The reading as the lines the window and the command line show.
std::vector<std::string> DescribeRuleMeter(const RuleMeterReading& reading);

} // namespace zentrix::analysis
