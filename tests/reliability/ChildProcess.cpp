// ChildProcess: fork, report back through a pipe, wait.
#include "ChildProcess.h"

#include <cerrno>
#include <csignal>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace zentrix::test {

ChildOutcome RunInChild(const std::function<std::string()>& body)
{
    ChildOutcome outcome;
    int channel[2];
    if (::pipe(channel) != 0) {
        outcome.report = "no pipe";
        return outcome;
    }
    const pid_t pid = ::fork();
    if (pid < 0) {
        outcome.report = "no fork";
        return outcome;
    }
    if (pid == 0) {
        ::close(channel[0]);
        const std::string report = body();
        std::size_t done = 0;
        while (done < report.size()) {
            const ssize_t n = ::write(channel[1], report.data() + done, report.size() - done);
            if (n <= 0)
                break;
            done += static_cast<std::size_t>(n);
        }
        ::_exit(0);
    }
    ::close(channel[1]);
    char buffer[512];
    ssize_t n;
    while ((n = ::read(channel[0], buffer, sizeof buffer)) != 0) {
        if (n < 0)
            break;
        outcome.report.append(buffer, static_cast<std::size_t>(n));
    }
    ::close(channel[0]);
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    outcome.exited = WIFEXITED(status);
    outcome.exitCode = outcome.exited ? WEXITSTATUS(status) : -1;
    outcome.signal = WIFSIGNALED(status) ? WTERMSIG(status) : 0;
    return outcome;
}

bool LimitFileSize(long long bytes)
{
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit limit{};
    if (::getrlimit(RLIMIT_FSIZE, &limit) != 0)
        return false;
    limit.rlim_cur = static_cast<rlim_t>(bytes);
    return ::setrlimit(RLIMIT_FSIZE, &limit) == 0;
}

void RecordedEditorView::enter(const std::string& draw, const std::vector<std::string>& numbers,
                               const std::string& bonus)
{
    setFieldText(EditorField::Text1, draw);
    for (int i = 0; i < 6; ++i)
        setFieldText(Text2Field(i), numbers.at(static_cast<std::size_t>(i)));
    setFieldText(EditorField::Text8, bonus);
}

} // namespace zentrix::test
