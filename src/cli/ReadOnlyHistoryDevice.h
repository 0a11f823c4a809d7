// ReadOnlyHistoryDevice: opens an existing history file for reading only, so the command line can
// never create or change a data file.
#pragma once

#include "store/FileDevice.h"

#include <memory>

namespace zentrix::cli {

/// A FileDevice that never creates the file and opens it read-only under a shared lock: it
/// coexists with other readers but fails with InUse while the desktop program holds the file.
/// Every write, truncate and sync fails with EBADF.
std::unique_ptr<FileDevice> MakeReadOnlyHistoryDevice();

} // namespace zentrix::cli
