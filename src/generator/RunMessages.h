// RunMessages: what the user is told when a run cannot produce its sets.
#pragma once

#include "generator/GenerationRun.h"

#include <string>

namespace zentrix {

/// The outcome as a Japanese message (UTF-8) for the window and the command line; empty for
/// Completed. `dataFileName` names the history file in messages about it.
std::string DescribeRunOutcome(const RunResult& result, const std::string& dataFileName);

} // namespace zentrix
