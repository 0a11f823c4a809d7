// CliRunner: the command line run in-process, and CSV fixtures.
#include "support/CliRunner.h"

#include "Commands.h"
#include "common/SampleHistory.h"

#include <CLI/CLI.hpp>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace zentrix::test {
namespace {

/// A stream buffer that refuses every byte.
class FullBuffer final : public std::streambuf
{
protected:
    int_type overflow(int_type) override { return traits_type::eof(); }
    std::streamsize xsputn(const char*, std::streamsize) override { return 0; }
};

CliRun RunWith(std::ostream& out, const std::vector<std::string>& args, const std::string& input)
{
    std::ostringstream err;
    std::istringstream in(input);
    cli::CliContext context{out, err};
    context.in = &in;
    const std::unique_ptr<CLI::App> app = cli::MakeApp();
    cli::AddAllCommands(*app, context);
    CliRun run;
    run.status = cli::RunApp(*app, context, args);
    run.err = err.str();
    return run;
}

} // namespace

CliRun RunCli(const std::vector<std::string>& args, const std::string& input)
{
    std::ostringstream out;
    CliRun run = RunWith(out, args, input);
    run.out = out.str();
    return run;
}

CliRun RunCliIntoFullOutput(const std::vector<std::string>& args, const std::string& input)
{
    FullBuffer full;
    std::ostream out(&full);
    return RunWith(out, args, input);
}

std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

std::string EnglishCsv(const std::vector<DrawRecord>& draws, int firstDraw)
{
    std::string csv = "draw,date,n1,n2,n3,n4,n5,n6,bonus\n";
    int draw = firstDraw;
    for (const DrawRecord& record : draws) {
        csv += std::to_string(draw++) + ",2020-01-01";
        for (const std::int16_t n : record.Numbers)
            csv += "," + std::to_string(n);
        csv += "," + std::to_string(record.Bonus) + "\n";
    }
    return csv;
}

void WriteText(const std::filesystem::path& file, const std::string& text)
{
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out << text;
    if (!out)
        throw std::runtime_error("cannot write " + file.string());
}

std::string ReadText(const std::filesystem::path& file)
{
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void CommandTest::store(const std::vector<DrawRecord>& draws) const
{
    WriteHistory(data(), draws);
}

CliRun CommandTest::run(std::vector<std::string> args, const std::string& input) const
{
    args.insert(args.end(), {"--data", data().string()});
    return RunCli(args, input);
}

} // namespace zentrix::test
