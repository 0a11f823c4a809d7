// CliRunner: running zentrix-cli with every subcommand through string streams, a temporary folder
// with a data file for the command tests, and CSV texts.
#pragma once

#include "store/DrawRecord.h"
#include "support/TempDir.h"

#include <filesystem>
#include <gtest/gtest.h>
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

/// The same with a standard output that refuses every byte, like /dev/full; `out` stays empty.
CliRun RunCliIntoFullOutput(const std::vector<std::string>& args, const std::string& input = {});

/// The lines of a text, without their line feeds.
std::vector<std::string> Lines(const std::string& text);

/// The English CSV of draws as export writes it: "draw,date,n1,…" then "d,2020-01-01,n1,…,bonus".
std::string EnglishCsv(const std::vector<DrawRecord>& draws, int firstDraw = 1);

void WriteText(const std::filesystem::path& file, const std::string& text);
std::string ReadText(const std::filesystem::path& file);

/// A temporary folder with the data file Loto6data.dt in it; run() adds "--data <that file>".
class CommandTest : public ::testing::Test
{
protected:
    std::filesystem::path data() const { return m_dir / "Loto6data.dt"; }
    std::filesystem::path database() const { return m_dir / "zentrix-predictions.sqlite3"; }
    void store(const std::vector<DrawRecord>& draws) const;
    CliRun run(std::vector<std::string> args, const std::string& input = {}) const;

    TempDir m_dir;
};

} // namespace zentrix::test
