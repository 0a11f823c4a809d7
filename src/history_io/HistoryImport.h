// HistoryImport: adding checked draws to a history file all or nothing. The draws are planned
// against the stored history first (what is new, what is already stored, what conflicts), so a
// front end can show the plan and ask; then they go into a copy of the file next to it, which
// replaces the file in one rename only when every write has reached the disk. Until then the file
// itself is never written, so any failure leaves it byte for byte as it was.
#pragma once

#include "history_io/CsvHistory.h"
#include "store/HistoryFile.h"

#include <cstddef>
#include <filesystem>
#include <string>
#include <vector>

namespace zentrix {

/// Makes the device the copy is written through; tests substitute one that fails part-way.
using CopyDeviceFactory = HistoryFile::DeviceFactory;

enum class ImportError
{
    None,
    DataFile, ///< the data file could not be opened, read or replaced (message says why)
    InUse,    ///< another editor (the desktop program, another import) has the data file open
    Conflict, ///< a row differs from the draw stored under its number
    Gap,      ///< the rows do not continue from the latest stored draw
};

/// What an import of some rows would do to one history, worked out without writing anything.
struct ImportPlan
{
    ImportError error = ImportError::None;
    std::size_t csvLine = 0;   ///< the CSV line at fault, 0 when none
    std::string message;       ///< the reason in Japanese when error is not None
    RecordNo latestBefore = 0; ///< Latest of the file before the import
    RecordNo added = 0;        ///< draws that will be appended, empty rows among them included
    RecordNo emptyAdded = 0;   ///< appended rows without a result, kept as empty records
    RecordNo skipped = 0;      ///< rows already stored with the same numbers
    RecordNo filled = 0;       ///< empty records inside the history that their rows will fill
    std::vector<HistoryFile::RecordWrite> writes;

    bool ok() const { return error == ImportError::None; }
};

/**
 * Plans adding `draws` (consecutive, ascending, as ReadHistoryCsv gives them) to an open history:
 * rows up to Latest must match the stored draw (the same six numbers in any order and the same
 * bonus) and are skipped, unless the stored record is empty, which the row then fills; the first
 * row above Latest must be Latest + 1. An empty row (a draw without a result) changes nothing
 * up to Latest; above it, it becomes an empty record when a draw with a result follows it. `fileName` names
 * the data file in messages.
 */
ImportPlan PlanImport(HistoryFile& history, const std::string& fileName, const std::vector<CsvDraw>& draws);

/// Carries out a plan through the history's whole-file replacement. On failure the file is as it
/// was, and the returned plan says why (error DataFile); on success it is `plan` as given.
ImportPlan ApplyImport(HistoryFile& history, const std::string& fileName, const ImportPlan& plan,
                       const CopyDeviceFactory& copyDevice = {});

struct ImportResult
{
    ImportError error = ImportError::None;
    std::size_t csvLine = 0;   ///< the CSV line at fault, 0 when none
    std::string message;       ///< the reason in Japanese when error is not None
    RecordNo latestBefore = 0; ///< Latest of the file before the import
    RecordNo added = 0;        ///< draws appended, empty rows among them included
    RecordNo emptyAdded = 0;   ///< appended rows without a result, kept as empty records
    RecordNo skipped = 0;      ///< rows already stored with the same numbers
    RecordNo latestAfter = 0;  ///< Latest of the file after the import
    RecordNo filled = 0;       ///< empty records inside the history filled by their rows
};

/**
 * Opens the history file at `dataFile` as an editor, plans and applies the import. A missing file
 * is created, and removed again when the import fails. The file stays guarded from the first read
 * to the replacement, so the desktop program holding it makes the import fail with InUse.
 */
ImportResult ImportDraws(const std::filesystem::path& dataFile, const std::string& fileName,
                         const std::vector<CsvDraw>& draws, const CopyDeviceFactory& copyDevice = {});

} // namespace zentrix
