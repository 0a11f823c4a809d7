// PosixFileDevice: FileDevice on open/pread/pwrite/fdatasync with a flock() lock.
#include "FileDevice.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zentrix {
namespace {

std::function<void(const std::filesystem::path&)>& BeforeLockHook()
{
    static std::function<void(const std::filesystem::path&)> hook;
    return hook;
}

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
        // A program that renames a new file over the path between our open and our lock would
        // leave us holding the old, replaced file; each such round starts over.
        constexpr int kAttempts = 20;
        for (int attempt = 0; attempt < kAttempts; ++attempt) {
            bool moved = false;
            if (StoreStatus opened = openOnce(path, moved); opened || !moved)
                return opened;
        }
        return StoreStatus::Fail(StoreError::Moved);
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

    std::pair<std::int64_t, std::int64_t> dataFrom(std::int64_t from) const override
    {
        const std::int64_t length = size();
        if (from >= length)
            return {length, length};
#if defined(SEEK_DATA) && defined(SEEK_HOLE)
        const off_t data = ::lseek(m_fd, static_cast<off_t>(from), SEEK_DATA);
        if (data < 0)
            return errno == ENXIO ? std::pair{length, length} : std::pair{from, length};
        const off_t hole = ::lseek(m_fd, data, SEEK_HOLE);
        return {static_cast<std::int64_t>(data), hole < 0 ? length : std::min<std::int64_t>(hole, length)};
#else
        return {from, length};
#endif
    }

    std::int64_t dataEndBefore(std::int64_t end) const override
    {
#if defined(SEEK_DATA) && defined(SEEK_HOLE)
        if (end <= 0)
            return 0;
        // Does data start at or after x before `end`? Not for any x inside the hole that ends
        // at or beyond `end`, and always for x in the data before it: a binary search finds the
        // hole's start in some forty seeks, whatever the file's length.
        const auto dataBeforeEnd = [&](std::int64_t x, bool& known) {
            const off_t data = ::lseek(m_fd, static_cast<off_t>(x), SEEK_DATA);
            if (data < 0 && errno != ENXIO)
                known = false;
            return data >= 0 && data < end;
        };
        bool known = true;
        if (dataBeforeEnd(end - 1, known) || !known)
            return end;
        std::int64_t low = 0;        // data before end from here on, unless low is the hole's start
        std::int64_t high = end - 1; // no data in [high, end)
        if (!dataBeforeEnd(0, known))
            return known ? 0 : end;
        while (high - low > 1) {
            const std::int64_t middle = low + (high - low) / 2;
            if (dataBeforeEnd(middle, known))
                low = middle;
            else
                high = middle;
            if (!known)
                return end;
        }
        return high;
#else
        return end;
#endif
    }

    StoreStatus replaceFileWith(const std::filesystem::path& replacement,
                                const std::filesystem::path& target) override
    {
        if (m_fd < 0)
            return StoreStatus::Fail(StoreError::NotOpen);
        struct stat st
        {
        };
        if (::fstat(m_fd, &st) != 0)
            return StoreStatus::Fail(StoreError::WriteFailed, errno);
        struct stat made
        {
        };
        if (::lstat(replacement.c_str(), &made) != 0)
            return StoreStatus::Fail(StoreError::WriteFailed, errno);
        // Run by another user (root, say) on someone's file, the copy belongs to that user: hand
        // it to the file's owner and group, or leave the file alone.
        if ((made.st_uid != st.st_uid || made.st_gid != st.st_gid) &&
            ::lchown(replacement.c_str(), st.st_uid, st.st_gid) != 0)
            return StoreStatus::Fail(StoreError::OwnerNotKept, errno);
        if (::chmod(replacement.c_str(), st.st_mode & 07777) != 0)
            return StoreStatus::Fail(StoreError::WriteFailed, errno);
        if (::rename(replacement.c_str(), target.c_str()) != 0)
            return StoreStatus::Fail(StoreError::WriteFailed, errno);
        // The rename itself reaches the disk with the folder.
        const std::filesystem::path folder = target.has_parent_path() ? target.parent_path() : ".";
        if (const int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC); dir >= 0) {
            ::fsync(dir);
            ::close(dir);
        }
        return StoreStatus::Ok();
    }

private:
    StoreStatus openOnce(const std::filesystem::path& path, bool& moved)
    {
        int fd;
        // O_NONBLOCK keeps the open of a FIFO from waiting for a writer; it is refused below.
        const int mode = m_access == FileAccess::ReadOnly    ? O_RDONLY
                         : m_access == FileAccess::CreateNew ? O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW
                                                             : O_RDWR | O_CREAT;
        const int flags = mode | O_CLOEXEC | O_NONBLOCK;
        do {
            fd = ::open(path.c_str(), flags, 0644);
        } while (fd < 0 && errno == EINTR);
        if (fd < 0) {
            const int err = errno;
            // A socket (ENXIO) or a device that cannot be opened is still not a file to read.
            struct stat st
            {
            };
            const bool special =
                err == EISDIR || (err != ELOOP && ::stat(path.c_str(), &st) == 0 && !S_ISREG(st.st_mode));
            return StoreStatus::Fail(special ? StoreError::NotRegularFile : StoreError::OpenFailed, err);
        }
        struct stat st
        {
        };
        if (::fstat(fd, &st) != 0) {
            const int err = errno;
            ::close(fd);
            return StoreStatus::Fail(StoreError::OpenFailed, err);
        }
        if (!S_ISREG(st.st_mode)) {
            ::close(fd);
            return StoreStatus::Fail(StoreError::NotRegularFile);
        }
        ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
        if (const auto& hook = BeforeLockHook())
            hook(path);
        // flock locks belong to the open file description, so a second open in this very
        // process conflicts too; that keeps two editors from ever sharing one file.
        const int lock = m_access == FileAccess::ReadOnly ? LOCK_SH : LOCK_EX;
        if (::flock(fd, lock | LOCK_NB) != 0) {
            const int err = errno;
            ::close(fd);
            return StoreStatus::Fail(err == EWOULDBLOCK ? StoreError::InUse : StoreError::OpenFailed, err);
        }
        struct stat now
        {
        };
        if (::stat(path.c_str(), &now) != 0 || now.st_dev != st.st_dev || now.st_ino != st.st_ino) {
            ::close(fd);
            moved = true;
            return StoreStatus::Fail(StoreError::Moved);
        }
        m_fd = fd;
        // Once made, the file is an ordinary one: a later open (after it has replaced the data
        // file, say) opens it as it is.
        if (m_access == FileAccess::CreateNew)
            m_access = FileAccess::ReadWrite;
        return StoreStatus::Ok();
    }

    FileAccess m_access;
    int m_fd = -1;
};

} // namespace

void SetNativeBeforeLockHook(std::function<void(const std::filesystem::path&)> hook)
{
    BeforeLockHook() = std::move(hook);
}

std::unique_ptr<FileDevice> MakeNativeFileDevice(FileAccess access)
{
    return std::make_unique<PosixFileDevice>(access);
}

} // namespace zentrix
