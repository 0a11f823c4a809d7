// CliRunner: running zentrix-cli with every subcommand through string streams, and CSV texts.
#pragma once

#include "store/DrawRecord.h"

#include <filesystem>
#include <string>
#include <vector>

namespace zentrix::test {

struct CliRun
{
    int status = -1;
    std::string out;
    std::string err;
};

/// Runs zentrix-cli with these arguments (without the program name); `input` is standard input.
CliRun RunCli(const std::vector<std::string>& args, const std::string& input = {});

/// The English CSV of draws 1..n as export writes it: "draw,date,n1,…" then "d,,n1,…,bonus".
std::string EnglishCsv(const std::vector<DrawRecord>& draws, int firstDraw = 1);

void WriteText(const std::filesystem::path& file, const std::string& text);

/// UTF-8 text in Windows' Shift_JIS (CP932), converted with iconv.
std::string ToCp932(const std::string& utf8);

} // namespace zentrix::test
