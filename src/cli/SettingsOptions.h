// SettingsOptions: the generation settings as command-line options, shared by every subcommand
// that works with them (generate, stats, count), so their names, ranges and defaults agree.
#pragma once

#include "generator/GenerationSettings.h"
#include "generator/SettingsDescription.h"

#include <string>

namespace CLI {
class App;
}

namespace zentrix::cli {

/// The option values as parsed; settings() turns them into GenerationSettings.
struct SettingsOptionValues
{
    GenerationSettings base;
    std::string weighting = "on";
    std::string basis = "total";
    std::string parity = "on";
    std::string consecutive = "on";

    GenerationSettings settings() const;
};

/// Adds --weighting, --basis, --total-level, --time-level, --parity, --parity-level, --carry and
/// --consecutive, and --sets when `withSetCount`. Defaults are the main window's opening values.
/// `values` must outlive the parse.
void AddSettingsOptions(CLI::App& command, SettingsOptionValues& values, bool withSetCount);

} // namespace zentrix::cli
