// ProgramEndCheck: the ways out of the program, tested as death tests of the real EndProgram.
#pragma once

#include "store/HistoryFile.h"
#include "ui/common/ProgramEnd.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>

namespace zentrix::test {

/// The exit status of a child whose program ended with the data file closed and its lock released.
inline constexpr int kEndedWithFileClosed = 42;

/**
 * For the statement of an EXPECT_EXIT (in the child process): when the program ends, right after
 * EndProgram has closed `history`, checks that the file is closed, that another program could open
 * it now, and `alsoCheck` (an empty string when all is well, else what is wrong); removes `scratch`,
 * the child's own temporary folder that no destructor will remove now; and leaves the process with
 * kEndedWithFileClosed, or with 1 after printing what was wrong. Nothing unwinds through Qt.
 */
inline void CheckFileClosedAtProgramEnd(const HistoryFile& history, std::filesystem::path scratch,
                                        std::function<std::string()> alsoCheck = {})
{
    ui::SetProgramEndHook([&history, scratch = std::move(scratch), alsoCheck = std::move(alsoCheck)] {
        std::string wrong;
        if (history.IsOpen()) {
            wrong = "the data file is still open";
        } else {
            HistoryFile other(history.Path());
            if (!other.OpenHistory())
                wrong = "another program still cannot open the data file";
        }
        if (wrong.empty() && alsoCheck)
            wrong = alsoCheck();
        std::error_code ec;
        std::filesystem::remove_all(scratch, ec);
        if (!wrong.empty())
            std::fprintf(stderr, "at the program's end: %s\n", wrong.c_str());
        std::fflush(nullptr);
        std::_Exit(wrong.empty() ? kEndedWithFileClosed : 1);
    });
}

} // namespace zentrix::test
