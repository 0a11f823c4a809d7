// ProgramEnd: leaving the program at once from inside a handler, with the data file closed.
#pragma once

#include <functional>

namespace zentrix {
class HistoryFile;
}

namespace zentrix::ui {

/// Closes the history file, then ends the process at once: no further handler of any window runs
/// and nothing asks a question. Every change was already written when it was made.
[[noreturn]] void EndProgram(HistoryFile& history);

/// Test seam: while set, EndProgram closes the file and then calls the hook, which must not
/// return normally (tests throw from it and catch the exception around the action).
void SetProgramEndHook(std::function<void()> hook);

} // namespace zentrix::ui
