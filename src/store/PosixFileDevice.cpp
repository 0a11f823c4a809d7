// PosixFileDevice: FileDevice on open/pread/pwrite/fdatasync with open-file-description locks:
// one byte far beyond any record guards the editing program's whole run, and short byte-range
// locks around each read and write keep a reader from ever seeing half a record.
#include "FileDevice.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <fcntl.h>
#include <limits>
#include <optional>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace zentrix {
namespace {

#if defined(F_OFD_SETLK)
constexpr int kSetLock = F_OFD_SETLK;
#else
constexpr int kSetLock = F_SETLK; // per process only: two stores in one process do not conflict
#endif

/// The byte the editing program locks for as long as it has the file open: no record lies there.
constexpr off_t kGuardByte = std::numeric_limits<off_t>::max() - 1;

/// How long a read or write waits for the other side's record lock before giving up. Those locks
/// are held for one pread or pwrite, so anything near this means a stuck process.
constexpr auto kRangeLockPatience = std::chrono::seconds(10);

/// Takes (type F_RDLCK or F_WRLCK) or releases (F_UNLCK) [start, start + length) without waiting.
int SetRangeLock(int fd, short type, off_t start, off_t length)
{
    struct flock lock
    {
    };
    lock.l_type = type;
    lock.l_whence = SEEK_SET;
    lock.l_start = start;
    lock.l_len = length;
    lock.l_pid = 0;
    while (::fcntl(fd, kSetLock, &lock) != 0) {
        if (errno != EINTR)
            return errno;
    }
    return 0;
}

/// Waits up to kRangeLockPatience for a record lock; 0 or the errno (EAGAIN when it stayed held).
int WaitRangeLock(int fd, short type, off_t start, off_t length)
{
    const auto giveUp = std::chrono::steady_clock::now() + kRangeLockPatience;
    auto pause = std::chrono::microseconds(50);
    for (;;) {
        const int err = SetRangeLock(fd, type, start, length);
        if (err != EAGAIN && err != EACCES)
            return err;
        if (std::chrono::steady_clock::now() >= giveUp)
            return EAGAIN;
        std::this_thread::sleep_for(pause);
        pause = std::min<std::chrono::microseconds>(pause * 2, std::chrono::milliseconds(20));
    }
}

/// Holds a record lock for one read or write.
class RangeLock
{
public:
    RangeLock(int fd, short type, std::int64_t start, std::size_t length)
        : m_fd(fd)
        , m_start(static_cast<off_t>(start))
        , m_length(static_cast<off_t>(length))
    {
        // A zero length would mean "to the end of the file", the guard byte included.
        m_error = m_length > 0 ? WaitRangeLock(fd, type, m_start, m_length) : 0;
    }
    ~RangeLock()
    {
        if (m_error == 0 && m_length > 0)
            SetRangeLock(m_fd, F_UNLCK, m_start, m_length);
    }
    RangeLock(const RangeLock&) = delete;
    RangeLock& operator=(const RangeLock&) = delete;
    int error() const { return m_error; }

private:
    int m_fd;
    off_t m_start;
    off_t m_length;
    int m_error = 0;
};

std::function<void(const std::filesystem::path&)>& BeforeLockHook()
{
    static std::function<void(const std::filesystem::path&)> hook;
    return hook;
}

/// Repeats `step(done)` (a pread or pwrite of what is left after `done` bytes) until `size`
/// bytes have gone through; 0, the errno, or EIO when a step moves nothing.
template <typename Step> int TransferAll(std::size_t size, Step step)
{
    std::size_t done = 0;
    while (done < size) {
        const ssize_t n = step(done);
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
            ::close(m_fd); // releases every lock of this open file description
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
        // A reader beside the editing program waits out a write in progress; the editor's own
        // reads need no lock, since nobody else writes while it holds the guard.
        std::optional<RangeLock> lock;
        if (m_access == FileAccess::ReadOnly) {
            lock.emplace(m_fd, static_cast<short>(F_RDLCK), offset, out.size());
            if (lock->error() != 0)
                return lock->error();
        }
        // A read that comes back empty means the file ended inside the record.
        return TransferAll(out.size(), [&](std::size_t done) {
            return ::pread(m_fd, out.data() + done, out.size() - done,
                           static_cast<off_t>(offset + static_cast<std::int64_t>(done)));
        });
    }

    int writeAt(std::int64_t offset, std::span<const std::uint8_t> data) override
    {
        if (m_access == FileAccess::ReadOnly)
            return EBADF;
        const RangeLock lock(m_fd, static_cast<short>(F_WRLCK), offset, data.size());
        if (lock.error() != 0)
            return lock.error();
        return TransferAll(data.size(), [&](std::size_t done) {
            return ::pwrite(m_fd, data.data() + done, data.size() - done,
                            static_cast<off_t>(offset + static_cast<std::int64_t>(done)));
        });
    }

    int truncate(std::int64_t length) override
    {
        if (m_access == FileAccess::ReadOnly)
            return EBADF;
        const std::int64_t from = std::min(length, size() < 0 ? length : size());
        const RangeLock lock(m_fd, static_cast<short>(F_WRLCK), from,
                             static_cast<std::size_t>(kGuardByte - static_cast<off_t>(from)));
        if (lock.error() != 0)
            return lock.error();
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
        if (m_access == FileAccess::ReadOnly) {
            // A reader takes no lasting lock: it reads whichever file stood at the path when it
            // opened (a replacement renames a complete new file over it), record by record under
            // short locks.
            m_fd = fd;
            return StoreStatus::Ok();
        }
        if (const auto& hook = BeforeLockHook())
            hook(path);
        // The guard belongs to this open file description, so a second open in this very process
        // conflicts too; that keeps two editors from ever sharing one file.
        if (const int err = SetRangeLock(fd, static_cast<short>(F_WRLCK), kGuardByte, 1); err != 0) {
            ::close(fd);
            const bool held = err == EAGAIN || err == EACCES;
            return StoreStatus::Fail(held ? StoreError::InUse : StoreError::OpenFailed, err);
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
