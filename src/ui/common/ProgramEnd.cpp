// ProgramEnd: closes the history and leaves without unwinding the event loop.
#include "ui/common/ProgramEnd.h"

#include "store/HistoryFile.h"

#include <cstdio>
#include <cstdlib>

namespace zentrix::ui {
namespace {

std::function<void()>& hook()
{
    static std::function<void()> endHook;
    return endHook;
}

} // namespace

void SetProgramEndHook(std::function<void()> endHook)
{
    hook() = std::move(endHook);
}

void EndProgram(HistoryFile& history)
{
    history.CloseHistory();
    if (hook()) {
        hook()();
        std::abort(); // the hook must not return
    }
    std::fflush(nullptr);
    // _Exit rather than exit: no window, close handler or static destructor runs after this point.
    std::_Exit(EXIT_SUCCESS);
}

} // namespace zentrix::ui
