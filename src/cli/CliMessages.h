// CliMessages: everything zentrix-cli tells the user about its command line, in Japanese: the help
// layout and headings, the parser's errors, and the list of exit statuses. MakeApp() installs the
// help layout on the top-level application and every subcommand inherits it; RunApp() turns each
// parse error into a message from here, so a new subcommand needs nothing of its own.
#pragma once

#include "Commands.h"

#include <memory>
#include <string>
#include <vector>

namespace CLI {
class App;
class FormatterBase;
class ParseError;
} // namespace CLI

namespace zentrix::cli {

/// The help layout: Japanese headings, option value kinds ("整数 1～100（既定 5）") and columns
/// aligned by display width, so Japanese descriptions line up.
std::shared_ptr<CLI::FormatterBase> MakeJapaneseFormatter();

/// The parse error in Japanese, one or more lines without a trailing line feed. `app` is the
/// top-level application the error came from (its parsed subcommand and leftover arguments name
/// what went wrong). No English text of the parser reaches the result.
std::string DescribeParseError(const CLI::ParseError& error, const CLI::App& app);

/// The help line that follows a parse error: which --help to read.
std::string UsageHint(const CLI::App& app);

/// "終了コード:" and one line per status, for the statuses given (in that order).
std::string ExitCodeHelp(const std::vector<ExitCode>& codes);

/// Every exit status, for the top-level help.
std::string ExitCodeHelp();

} // namespace zentrix::cli
