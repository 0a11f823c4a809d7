// StoreStatus: the result of a store operation, a code plus detail, never an exception.
#pragma once

#include "DrawRecord.h"

#include <string>

namespace zentrix {

enum class StoreError
{
    None,
    NotOpen,        ///< the operation needs an open file
    OpenFailed,     ///< the file could not be opened or created (see systemError)
    NotRegularFile, ///< a directory or other non-file stands where the data file belongs
    InUse,          ///< another process holds the file's lock
    OutOfRange,     ///< the record number lies outside what the operation allows
    ReadFailed,     ///< a read failed or came back short
    WriteFailed,    ///< a write or the flush to disk failed; the file is as it was before
    TooLarge,       ///< the file holds more stored draws than any history can (record = Latest found)
    Moved,          ///< the file kept being replaced while it was opened; nothing was read from it
    OwnerNotKept,   ///< the file's owner or group could not be given to its replacement; unchanged
};

struct StoreStatus
{
    StoreError error = StoreError::None;
    int systemError = 0; ///< errno of the failing call, 0 when none
    RecordNo record = 0; ///< the record concerned, 0 when none

    bool ok() const { return error == StoreError::None; }
    explicit operator bool() const { return ok(); }

    static StoreStatus Ok() { return {}; }
    static StoreStatus Fail(StoreError e, int sysErr = 0, RecordNo rec = 0) { return {e, sysErr, rec}; }
};

/// The most stored draws a history may hold (a 16 MiB file of records). LOTO6 has some two
/// thousand draws; anything beyond this is a damaged or foreign file, refused rather than loaded.
inline constexpr RecordNo kMaxStoredDraws = RecordNo{1} << 20;

/// The reason in Japanese (UTF-8), naming the file, for both front ends to show as it is.
std::string DescribeStoreError(const StoreStatus& status, const std::string& fileName);

/// The operating system's reason for an errno value in Japanese, empty for 0. Both front ends and
/// every file operation of the core use it, so one errno is worded the same everywhere.
std::string DescribeSystemError(int err);

} // namespace zentrix
