// OutputFile: every file a command writes (charts, exports, packages) goes through here. It is
// written whole to a copy beside the target, flushed and renamed into place, so a failure never
// leaves half a file; and it never lands on the draw history or the predictions database.
#pragma once

#include <filesystem>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace zentrix {

/// The predictions database, kept in the same folder as the data file.
inline constexpr std::string_view kPredictionsFileName = "zentrix-predictions.sqlite3";

/// The files no output may replace: the data file and the predictions database beside it.
std::vector<std::filesystem::path> GuardedFiles(const std::filesystem::path& dataFile);

enum class OutputError
{
    None,
    GuardedFile,    ///< the target is (or a link leads to) the data file or the predictions database
    NotRegularFile, ///< a folder, device or other non-file stands at the target
    WriteFailed,    ///< the copy could not be created, written, flushed or renamed (see systemError)
};

struct OutputStatus
{
    OutputError error = OutputError::None;
    int systemError = 0;           ///< errno of the failing call, 0 when none
    std::filesystem::path guarded; ///< the guarded file the target would have replaced

    bool ok() const { return error == OutputError::None; }
    explicit operator bool() const { return ok(); }
};

/// Writes `contents` as the file `target`, all or nothing. Through a symbolic link the file the
/// link points to is replaced. An existing target keeps its permissions; a new one gets 0644
/// less the umask. Refused, with nothing written, when the target is one of `guarded` (compared
/// by device and inode when both exist, by resolved path otherwise).
OutputStatus WriteOutputFile(const std::filesystem::path& target, std::string_view contents,
                             std::span<const std::filesystem::path> guarded);

/// The reason in Japanese (UTF-8), naming the output file as the user wrote it.
std::string DescribeOutputError(const OutputStatus& status, const std::string& fileName);

} // namespace zentrix
