// ChildProcess: a piece of a test run in a forked child, so that it can change process-wide
// limits, drop its privileges, hold a lock as another program would, or be killed, without
// taking the test program with it.
#pragma once

#include <functional>
#include <string>
#include <sys/types.h>

namespace zentrix::test {

/// How a child ended and what it said.
struct ChildOutcome
{
    bool exited = false; ///< ended through _exit
    int exitCode = -1;
    int signal = 0;     ///< the signal that ended it, 0 when it exited
    std::string report; ///< what it wrote to its channel
};

/**
 * A forked child running `body(channel)`, where `channel` is the write end of a pipe to the
 * parent; the child leaves with _exit(what body returned), so no destructor or leak check of the
 * parent's objects runs twice. A child still running when the object goes is killed and reaped.
 */
class ChildProcess
{
public:
    explicit ChildProcess(const std::function<int(int channel)>& body);
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    bool started() const { return m_pid > 0; }
    /// Whether the child is still running (it is not reaped when it has ended).
    bool running() const;
    /// Reads from the channel until `bytes` have come or the child has closed it.
    std::string read(std::size_t bytes);
    /// Sends `signal` and waits for the child to end.
    ChildOutcome kill(int signal);
    /// Waits for the child to end; its report is everything left in the channel.
    ChildOutcome wait();

private:
    pid_t m_pid = -1;
    int m_channel = -1;
    bool m_reaped = false;
};

/// Writes all of `text` to `fd`; false when it cannot.
bool SendAll(int fd, const std::string& text);

/// Runs `body` in a child and waits for it; the report is what the body returned (empty when
/// every check in it held).
ChildOutcome RunInChild(const std::function<std::string()>& body);

/// Lowers the file-size limit of the calling process to `bytes` and ignores SIGXFSZ, so a write
/// beyond it fails with EFBIG instead of ending the process. Returns false when it cannot.
bool LimitFileSize(long long bytes);

/// Makes the calling process (a child) an unprivileged user when it runs as root, who ignores file
/// permissions. Returns false when it cannot.
bool DropPrivileges();

} // namespace zentrix::test
