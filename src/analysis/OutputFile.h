// OutputFile: every file the statistics write (SVG, PNG) goes through here: a temporary file in
// the target folder, flushed, then renamed into place, never over the draw history.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace zentrix::analysis {

enum class OutputError
{
    None,
    EmptyName,      ///< no file name given
    IsDataFile,     ///< the target is the draw history file itself (or a link to it)
    NotRegularFile, ///< a folder or other non-file stands at the target
    CreateFailed,   ///< the temporary file could not be made (folder missing, no permission)
    WriteFailed,    ///< writing or flushing failed (disk full); the target is untouched
    RenameFailed,   ///< the finished file could not be moved into place; the target is untouched
};

struct OutputStatus
{
    OutputError error = OutputError::None;
    int systemError = 0;

    bool ok() const { return error == OutputError::None; }
};

/**
 * Writes `bytes` as the file `target`: into a new temporary file beside it, flushed to disk, then
 * renamed over the target, so a reader sees either the old file or the whole new one. Refuses to
 * write when `target` is the same file as `dataFile` (pass an empty path when there is none).
 */
OutputStatus WriteOutputFile(const std::filesystem::path& target, std::string_view bytes,
                             const std::filesystem::path& dataFile);

/// The reason in Japanese, naming the file.
std::string DescribeOutputError(const OutputStatus& status, const std::string& fileName);

} // namespace zentrix::analysis
