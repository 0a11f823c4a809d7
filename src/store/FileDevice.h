// FileDevice: the few operating-system file calls the history store needs, behind one seam.
// The native implementation is chosen at build time; tests substitute devices that fail on purpose.
#pragma once

#include "StoreStatus.h"

#include <cstdint>
#include <filesystem>
#include <memory>
#include <span>

namespace zentrix {

class FileDevice
{
public:
    virtual ~FileDevice() = default;

    /// Opens the file for reading and writing, creating it empty when missing, and takes an
    /// exclusive advisory lock. Fails with InUse when another open description holds the lock,
    /// NotRegularFile for a directory or special file; nothing is created then beyond the file itself.
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
};

/// How the native device opens the file.
enum class FileAccess
{
    /// Read and write, creating a missing file, under an exclusive lock (the desktop program).
    ReadWrite,
    /// Read only, never creating the file, under a shared lock: readers coexist, but the desktop
    /// program's exclusive lock makes the open fail with InUse. Writes fail with EBADF.
    ReadOnly,
};

std::unique_ptr<FileDevice> MakeNativeFileDevice(FileAccess access = FileAccess::ReadWrite);

} // namespace zentrix
