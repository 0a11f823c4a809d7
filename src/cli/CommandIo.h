// CommandIo: what every command does with its options and its output: whole numbers checked
// before conversion, the final check that standard output took everything.
#pragma once

#include "Commands.h"

#include <CLI/CLI.hpp>
#include <cstdint>
#include <string>

namespace zentrix::cli {

/// Checks an option's text before it is converted: a plain decimal whole number within
/// [low, high]. Anything else (a sign where none belongs, a value that would wrap or be clamped
/// by the conversion) is a usage error naming the allowed range.
CLI::Validator WholeNumberWithin(std::uint64_t low, std::uint64_t high);

/// Flushes standard output. Returns kExitOk when everything printed got out; otherwise says so on
/// the error stream and returns kExitFailure.
int FinishOutput(CliContext& context);

} // namespace zentrix::cli
