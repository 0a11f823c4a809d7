// InputFile: reading a whole input file (a results CSV) within a size bound, and saying in
// Japanese why it could not be read: missing, not permitted, a folder, not a plain file, too large.
#pragma once

#include <cstddef>
#include <filesystem>
#include <iosfwd>
#include <string>

namespace zentrix {

/// The most an input file (a results CSV, a list of predicted sets) may hold. A LOTO6 results
/// file is well under a megabyte; this leaves a wide margin and still bounds the memory.
inline constexpr std::size_t kMaxInputBytes = std::size_t{16} << 20;

enum class InputFileError
{
    None,
    NotFound,       ///< nothing at the path (or a link to nothing)
    NotPermitted,   ///< the file or a folder on the way may not be read
    IsFolder,       ///< a folder stands at the path
    NotRegularFile, ///< a FIFO, socket or device where only a plain file was allowed
    ReadFailed,     ///< opened but the read failed (see systemError)
    TooLarge,       ///< more than the limit
};

struct InputFileStatus
{
    InputFileError error = InputFileError::None;
    int systemError = 0; ///< errno of the failing call, 0 when none

    bool ok() const { return error == InputFileError::None; }
    explicit operator bool() const { return ok(); }
};

enum class InputKinds
{
    /// Plain files, pipes and devices (`<(...)`, /dev/stdin on the command line); the size bound
    /// still ends an endless one.
    Any,
    /// Plain files only: for the window, where opening a pipe could wait for ever.
    PlainFilesOnly,
};

/// Reads the whole file into `bytes` (left empty on failure), refusing more than `limit` bytes.
InputFileStatus ReadInputBytes(const std::filesystem::path& path, std::string& bytes,
                               InputKinds kinds = InputKinds::Any, std::size_t limit = kMaxInputBytes);

/// Reads a stream (standard input, an opened file) to its end into `bytes` (left empty on
/// failure), refusing more than `limit` bytes.
InputFileStatus ReadInputStream(std::istream& in, std::string& bytes, std::size_t limit = kMaxInputBytes);

/// "CSV ファイル「…」が見つかりません。…": the reason, naming the file as `name` (e.g.
/// "CSV ファイル「a.csv」"), in Japanese.
std::string DescribeInputFileError(const InputFileStatus& status, const std::string& name,
                                   std::size_t limit = kMaxInputBytes);

/// The message for an input that was too large, naming `source` as the message shows it.
std::string TooLargeInputMessage(const std::string& source, std::size_t limit = kMaxInputBytes);

} // namespace zentrix
