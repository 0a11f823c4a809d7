// ChildProcess: fork, report back through a pipe, wait.
#include "support/ChildProcess.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace zentrix::test {

ChildProcess::ChildProcess(const std::function<int(int channel)>& body)
{
    int channel[2];
    if (::pipe2(channel, O_CLOEXEC) != 0) // an exec'd program does not keep the channel open
        return;
    m_pid = ::fork();
    if (m_pid == 0) {
        ::close(channel[0]);
        ::_exit(body(channel[1]));
    }
    ::close(channel[1]);
    if (m_pid < 0)
        ::close(channel[0]);
    else
        m_channel = channel[0];
}

ChildProcess::~ChildProcess()
{
    if (started() && !m_reaped)
        kill(SIGKILL);
    if (m_channel >= 0)
        ::close(m_channel);
}

bool ChildProcess::running() const
{
    siginfo_t info{};
    return started() && !m_reaped &&
           ::waitid(P_PID, static_cast<id_t>(m_pid), &info, WEXITED | WNOHANG | WNOWAIT) == 0 &&
           info.si_pid == 0;
}

std::string ChildProcess::read(std::size_t bytes)
{
    std::string text;
    char buffer[4096];
    while (m_channel >= 0 && text.size() < bytes) {
        const ssize_t n = ::read(m_channel, buffer, std::min(sizeof buffer, bytes - text.size()));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        text.append(buffer, static_cast<std::size_t>(n));
    }
    return text;
}

ChildOutcome ChildProcess::kill(int signal)
{
    if (started() && !m_reaped)
        ::kill(m_pid, signal);
    return wait();
}

ChildOutcome ChildProcess::wait()
{
    ChildOutcome outcome;
    if (!started()) {
        outcome.report = "no child";
        return outcome;
    }
    outcome.report = read(std::string::npos);
    if (m_reaped)
        return outcome;
    int status = 0;
    while (::waitpid(m_pid, &status, 0) < 0 && errno == EINTR) {
    }
    m_reaped = true;
    outcome.exited = WIFEXITED(status);
    outcome.exitCode = outcome.exited ? WEXITSTATUS(status) : -1;
    outcome.signal = WIFSIGNALED(status) ? WTERMSIG(status) : 0;
    return outcome;
}

bool SendAll(int fd, const std::string& text)
{
    std::size_t done = 0;
    while (done < text.size()) {
        const ssize_t n = ::write(fd, text.data() + done, text.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += static_cast<std::size_t>(n);
    }
    return true;
}

ChildOutcome RunInChild(const std::function<std::string()>& body)
{
    ChildProcess child([&](int channel) {
        SendAll(channel, body());
        return 0;
    });
    return child.wait();
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

bool DropPrivileges()
{
    return ::geteuid() != 0 || (::setgid(65534) == 0 && ::setuid(65534) == 0);
}

} // namespace zentrix::test
