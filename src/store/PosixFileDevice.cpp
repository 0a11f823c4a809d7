// PosixFileDevice: FileDevice on open/pread/pwrite/fdatasync with a flock() lock.
#include "FileDevice.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zentrix {
namespace {

class PosixFileDevice final : public FileDevice
{
public:
    explicit PosixFileDevice(FileAccess access)
        : m_access(access)
    {
    }
    ~PosixFileDevice() override { close(); }

    StoreStatus open(const std::filesystem::path& path) override
    {
        close();
        int fd;
        do {
            fd = m_access == FileAccess::ReadOnly ? ::open(path.c_str(), O_RDONLY | O_CLOEXEC)
                                                  : ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
        } while (fd < 0 && errno == EINTR);
        if (fd < 0) {
            const int err = errno;
            return StoreStatus::Fail(err == EISDIR ? StoreError::NotRegularFile : StoreError::OpenFailed,
                                     err);
        }
        struct stat st
        {
        };
        if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
            const int err = errno;
            ::close(fd);
            return StoreStatus::Fail(StoreError::NotRegularFile, S_ISREG(st.st_mode) ? err : 0);
        }
        // flock locks belong to the open file description, so a second open in this very
        // process conflicts too; that keeps two editors from ever sharing one file.
        const int lock = m_access == FileAccess::ReadOnly ? LOCK_SH : LOCK_EX;
        if (::flock(fd, lock | LOCK_NB) != 0) {
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
            ::close(m_fd); // releases the lock
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
                return EIO; // the file ended inside the record
            done += static_cast<std::size_t>(n);
        }
        return 0;
    }

    int writeAt(std::int64_t offset, std::span<const std::uint8_t> data) override
    {
        if (m_access == FileAccess::ReadOnly)
            return EBADF;
        std::size_t done = 0;
        while (done < data.size()) {
            const ssize_t n = ::pwrite(m_fd, data.data() + done, data.size() - done,
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

    int truncate(std::int64_t length) override
    {
        if (m_access == FileAccess::ReadOnly)
            return EBADF;
        return ::ftruncate(m_fd, static_cast<off_t>(length)) == 0 ? 0 : errno;
    }

    int sync() override
    {
        if (m_access == FileAccess::ReadOnly)
            return EBADF;
#if defined(__APPLE__)
        return ::fsync(m_fd) == 0 ? 0 : errno;
#else
        return ::fdatasync(m_fd) == 0 ? 0 : errno;
#endif
    }

private:
    FileAccess m_access;
    int m_fd = -1;
};

} // namespace

std::unique_ptr<FileDevice> MakeNativeFileDevice(FileAccess access)
{
    return std::make_unique<PosixFileDevice>(access);
}

} // namespace zentrix
