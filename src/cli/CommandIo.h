// CommandIo: reading a command's input within bounds and making sure its output was written.
#pragma once

#include "Commands.h"
#include "history_io/InputFile.h"

#include <CLI/CLI.hpp>
#include <cstddef>
#include <cstdint>
#include <iosfwd>
#include <string>

namespace zentrix::cli {

enum class InputRead
{
    Ok,
    Unreadable, ///< missing, a folder, or a read error
    TooLarge,   ///< more than the limit
};

/// Reads at most `limit` bytes of a file or a stream, refusing anything longer.
InputRead ReadInputFile(const std::string& name, std::string& bytes, std::size_t limit = kMaxInputBytes);
InputRead ReadInputStream(std::istream& in, std::string& bytes, std::size_t limit = kMaxInputBytes);

/// Checks an option's text before it is converted: a plain decimal whole number within
/// [low, high]. Anything else (a sign where none belongs, a value that would wrap or be clamped
/// by the conversion) is a usage error naming the allowed range.
CLI::Validator WholeNumberWithin(std::uint64_t low, std::uint64_t high);

/// Flushes standard output. Returns kExitOk when everything printed got out; otherwise says so on
/// the error stream and returns kExitFailure.
int FinishOutput(CliContext& context);

} // namespace zentrix::cli
