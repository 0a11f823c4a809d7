// HistoryImport: appending checked draws to a history file all or nothing. The draws go into a copy
// of the file next to it, which replaces the file in one rename only when every write has reached
// the disk; until then the file itself is never written, so any failure leaves it byte for byte as
// it was.
#pragma once

#include "CsvHistory.h"
#include "store/HistoryFile.h"

#include <cstddef>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace zentrix::cli {

/// Makes the device the copy is written through; tests substitute one that fails part-way.
using CopyDeviceFactory = HistoryFile::DeviceFactory;

struct ImportResult
{
    int exitCode = 0;          ///< an ExitCode
    std::size_t csvLine = 0;   ///< the CSV line at fault, 0 when none
    std::string message;       ///< the reason in Japanese when exitCode is not 0
    RecordNo latestBefore = 0; ///< Latest of the file before the import
    RecordNo added = 0;        ///< draws appended
    RecordNo skipped = 0;      ///< rows already stored with the same numbers
    RecordNo latestAfter = 0;  ///< Latest of the file after the import
    RecordNo filled = 0;       ///< empty records inside the history filled by their rows
};

/**
 * Adds `draws` (consecutive draw numbers, as ReadHistoryCsv gives them) to the history file:
 * rows up to Latest must match the stored draw (the same six numbers in any order and the same
 * bonus) and are skipped, unless the stored record is empty, which the row then fills; the first row above
 * Latest must be Latest + 1. A missing file is created, and removed again when the import fails. The file
 * stays locked from the first read to the replacement, so the desktop program holding it makes the import
 * fail with InUse. `fileName` names the file in messages.
 */
ImportResult ImportDraws(const std::filesystem::path& dataFile, const std::string& fileName,
                         const std::vector<CsvDraw>& draws, const CopyDeviceFactory& copyDevice = {});

} // namespace zentrix::cli
