// RunMessages: what the user is told when a run cannot produce its sets.
#pragma once

#include "generator/DrawTable.h"
#include "generator/GenerationRun.h"

#include <string>

namespace zentrix {

/// The outcome as a Japanese message (UTF-8) for the window and the command line; empty for
/// Completed. `dataFileName` names the history file in messages about it.
std::string DescribeRunOutcome(const RunResult& result, const std::string& dataFileName);

/// The first draw of `table` with a number or bonus outside 1..43, which no lottery draw has: the
/// bytes are those of a damaged or foreign file. 0 when every draw is in range.
RecordNo FirstDamagedDraw(const DrawTable& table);

/// Weights of zero or no passing set (NoPassingSet, TooSlow) may be all that a damaged file gives;
/// then the file, not the settings, is what to name. For such an outcome, reads draws 1..Latest
/// of `history` again and returns the message naming `dataFileName` and its first damaged draw;
/// empty for any other outcome, for a history without such a draw, or when it cannot be read.
std::string DescribeDamagedHistory(const RunResult& result, HistoryFile& history,
                                   const std::string& dataFileName);

} // namespace zentrix
