// StoreStatus: the result of a store operation, a code plus detail, never an exception.
#pragma once

#include <string>

#include "DrawRecord.h"

namespace zentrix {

enum class StoreError
{
    None,
    NotOpen,       ///< the operation needs an open file
    OpenFailed,    ///< the file could not be opened or created (see systemError)
    NotRegularFile,///< a directory or other non-file stands where the data file belongs
    InUse,         ///< another process holds the file's lock
    OutOfRange,    ///< the record number lies outside what the operation allows
    ReadFailed,    ///< a read failed or came back short
    WriteFailed,   ///< a write or the flush to disk failed; the file is as it was before
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

/// The reason in Japanese (UTF-8), naming the file, for both front ends to show as it is.
std::string DescribeStoreError(const StoreStatus& status, const std::string& fileName);

} // namespace zentrix
