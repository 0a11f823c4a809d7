// ReadOnlyHistoryDevice: open(O_RDONLY), pread and a shared flock().
#include "ReadOnlyHistoryDevice.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zentrix::cli {
namespace {

class ReadOnlyHistoryDevice final : public FileDevice
{
public:
    ~ReadOnlyHistoryDevice() override { close(); }

    StoreStatus open(const std::filesystem::path& path) override
    {
        close();
        int fd;
        do {
            fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
        } while (fd < 0 && errno == EINTR);
        if (fd < 0)
            return StoreStatus::Fail(StoreError::OpenFailed, errno);
        struct stat st
        {
        };
        if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
            ::close(fd);
            return StoreStatus::Fail(StoreError::NotRegularFile);
        }
        if (::flock(fd, LOCK_SH | LOCK_NB) != 0) {
            const int err = errno;
            ::close(fd);
            return StoreStatus::Fail(err == EWOULDBLOCK ? StoreError::InUse : StoreError::OpenFailed, err);
        }
        m_fd = fd;
        return StoreStatus::Ok();
    }

    void close() override
    {
        if (m_fd >= 0) {
            ::close(m_fd);
            m_fd = -1;
        }
    }

    bool isOpen() const override { return m_fd >= 0; }

    std::int64_t size() const override
    {
        struct stat st
        {
        };
        if (m_fd < 0 || ::fstat(m_fd, &st) != 0)
            return -1;
        return static_cast<std::int64_t>(st.st_size);
    }

    int readAt(std::int64_t offset, std::span<std::uint8_t> out) override
    {
        std::size_t done = 0;
        while (done < out.size()) {
            const ssize_t n = ::pread(m_fd, out.data() + done, out.size() - done,
                                      static_cast<off_t>(offset + static_cast<std::int64_t>(done)));
            if (n < 0 && errno == EINTR)
                continue;
            if (n < 0)
                return errno;
            if (n == 0)
                return EIO;
            done += static_cast<std::size_t>(n);
        }
        return 0;
    }

    int writeAt(std::int64_t, std::span<const std::uint8_t>) override { return EBADF; }
    int truncate(std::int64_t) override { return EBADF; }
    int sync() override { return EBADF; }

private:
    int m_fd = -1;
};

} // namespace

std::unique_ptr<FileDevice> MakeReadOnlyHistoryDevice()
{
    return std::make_unique<ReadOnlyHistoryDevice>();
}

} // namespace zentrix::cli
