// FileDevice: the few operating-system file calls the history store needs, behind one seam.
// The native implementation is chosen at build time; tests substitute devices that fail on purpose.
#pragma once

#include "StoreStatus.h"

#include <cerrno>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <span>
#include <utility>

namespace zentrix {

class FileDevice
{
public:
    virtual ~FileDevice() = default;

    /// Opens the file for reading and writing, creating it empty when missing, and takes the
    /// editor's guard, a lock held until close. Fails with InUse when another open description
    /// holds the guard,
    /// NotRegularFile for a directory or special file (a FIFO included: opening never waits);
    /// nothing is created then beyond the file itself. Once locked, the file is checked to be the
    /// one still at the path (another program may have renamed a new file over it in between);
    /// if it is not, the open starts again, and fails with Moved when that keeps happening.
    virtual StoreStatus open(const std::filesystem::path& path) = 0;
    virtual void close() = 0;
    virtual bool isOpen() const = 0;

    /// Current length in bytes, or -1 with errno semantics on failure.
    virtual std::int64_t size() const = 0;

    /// Each returns 0 on success or an errno value. readAt fails with EIO on a short read;
    /// writeAt writes all of data or reports the error.
    virtual int readAt(std::int64_t offset, std::span<std::uint8_t> out) = 0;
    virtual int writeAt(std::int64_t offset, std::span<const std::uint8_t> data) = 0;
    virtual int truncate(std::int64_t length) = 0;
    /// Forces written data to the disk (fdatasync on POSIX).
    virtual int sync() = 0;

    /// Where stored bytes lie in a file that may have holes (a sparse file costs no disk for
    /// them, and they read as zeros). A device that cannot tell treats the whole file as data.
    /// The next stretch of data at or after `from`, as [first, second); {size, size} when none.
    virtual std::pair<std::int64_t, std::int64_t> dataFrom(std::int64_t from) const
    {
        const std::int64_t length = size();
        return from < length ? std::pair{from, length} : std::pair{length, length};
    }
    /// The end of the last stretch of data before `end` (at most `end`), 0 when there is none.
    virtual std::int64_t dataEndBefore(std::int64_t end) const { return end; }

    /// Puts the file at `replacement` (written, flushed and closed by the caller, in the same
    /// folder as `target`) in place of `target`, the file this device has open: gives it this
    /// file's owner, group and permissions, renames it over `target` and flushes the folder.
    /// Fails with OwnerNotKept when the owner or group cannot be kept, WriteFailed otherwise; then
    /// `target` is as it was. The device keeps the old, now replaced, file open either way.
    virtual StoreStatus replaceFileWith(const std::filesystem::path& replacement,
                                        const std::filesystem::path& target)
    {
        (void)replacement;
        (void)target;
        return StoreStatus::Fail(StoreError::WriteFailed, ENOTSUP);
    }
};

/// How the native device opens the file.
enum class FileAccess
{
    /// Read and write, creating a missing file, holding the editor's guard for as long as it is
    /// open (the desktop program, an import): a second editor is refused with InUse. Each write
    /// holds a short exclusive lock on the bytes it writes.
    ReadWrite,
    /// Read only, never creating the file, beside an editor or other readers: no lasting lock, but
    /// each read waits for a write in progress on its bytes, so no torn record is ever read.
    /// Writes fail with EBADF.
    ReadOnly,
    /// Read and write a file that this open creates, under an exclusive lock: anything already at
    /// the path, a symbolic link above all, makes the open fail (EEXIST). For temporary copies.
    CreateNew,
};

std::unique_ptr<FileDevice> MakeNativeFileDevice(FileAccess access = FileAccess::ReadWrite);

/// For tests of the race between opening and locking: called by the native read-write device
/// after it has opened a file and before it takes the guard. Empty (the default) does nothing.
void SetNativeBeforeLockHook(std::function<void(const std::filesystem::path&)> hook);

} // namespace zentrix
