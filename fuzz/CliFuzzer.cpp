// zentrix-cli with arbitrary command lines and arbitrary CSV text. Nothing may crash, whatever the
// options; an import that is refused leaves the data file byte for byte as it was, and one that is
// accepted only appends: every stored draw stays.
//
// Input: one mode byte; then the arguments, each ended by a zero byte, up to a 0x01 byte; then the
// CSV text, which is both the file in.csv and standard input. Mode 0 runs the arguments as given
// (with "generate" and "wheel" left out: their bounded runs take seconds on purpose);
// mode 1 imports the CSV text and then runs export, stats, count and check on the result.
// Every command runs in the scratch folder, and file names cannot leave it.
#include "Commands.h"
#include "FuzzSupport.h"
#include "store/DrawRecord.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <sstream>
#include <unistd.h>

namespace zentrix::fuzz {
namespace {

std::vector<std::uint8_t> SmallHistory()
{
    std::vector<std::uint8_t> bytes;
    for (int d = 0; d < 24; ++d) {
        DrawRecord record;
        for (int i = 0; i < 6; ++i)
            record.Numbers[static_cast<std::size_t>(i)] = static_cast<std::int16_t>(1 + (d * 5 + i * 7) % 43);
        std::sort(record.Numbers.begin(), record.Numbers.end());
        if (std::adjacent_find(record.Numbers.begin(), record.Numbers.end()) != record.Numbers.end())
            record.Numbers = {1, 9, 17, 25, 33, 41};
        record.Bonus = static_cast<std::int16_t>(d % 2 == 0 ? 42 : 43);
        const RecordBytes encoded = EncodeRecord(record);
        bytes.insert(bytes.end(), encoded.begin(), encoded.end());
    }
    return bytes;
}

/// Keeps every name inside the scratch folder: no path separators, no parent folder.
std::string Confined(std::string_view arg)
{
    std::string out(arg);
    for (char& c : out) {
        if (c == '/')
            c = '_';
    }
    for (std::size_t at = out.find(".."); at != std::string::npos; at = out.find(".."))
        out[at] = '_';
    return out;
}

int Run(const std::vector<std::string>& args, const std::string& standardInput, std::string* errors = nullptr)
{
    std::ostringstream out;
    std::ostringstream err;
    std::istringstream in(standardInput);
    cli::CliContext context{out, err};
    context.in = &in;
    const std::unique_ptr<CLI::App> app = cli::MakeApp();
    cli::AddAllCommands(*app, context);
    const int code = cli::RunApp(*app, context, args);
    Require(code >= 0 && code <= 7, "every exit status is one of those the help lists");
    Require(code == 0 || !err.str().empty(), "a failure always says why on standard error");
    if (errors)
        *errors = err.str();
    return code;
}

void ClearScratch()
{
    for (const auto& entry : std::filesystem::directory_iterator(ScratchDir()))
        std::filesystem::remove_all(entry.path());
}

} // namespace
} // namespace zentrix::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace zentrix;
    using namespace zentrix::fuzz;

    static const bool inScratch = ::chdir(ScratchDir().c_str()) == 0;
    Require(inScratch, "the commands run in the scratch folder");
    static const std::vector<std::uint8_t> history = SmallHistory();

    InputReader input(std::span(data, size));
    const int mode = input.byte() % 2;
    std::vector<std::string> args;
    const std::string_view argText = input.until('\x01');
    for (std::size_t start = 0; start < argText.size();) {
        const std::size_t end = std::min(argText.find('\0', start), argText.size());
        args.push_back(Confined(argText.substr(start, end - start)));
        start = end + 1;
    }
    const std::span<const std::uint8_t> csvBytes = input.rest();
    const std::string csv(csvBytes.begin(), csvBytes.end());

    ClearScratch();
    WriteFileBytes("Loto6data.dt", history);
    WriteFileBytes("in.csv", csvBytes);

    if (mode == 0) {
        for (std::string& arg : args) {
            if (arg == "generate" || arg == "wheel")
                arg = "stats";
        }
        Run(args, csv);
        // Only an import may change the data file; no output option may land on it.
        if (std::find(args.begin(), args.end(), "import") == args.end())
            Require(ReadFileBytes("Loto6data.dt") == history, "no command but import changes the data file");
        return 0;
    }

    std::string errors;
    const int code = Run({"import", "in.csv", "--data", "Loto6data.dt"}, csv, &errors);
    // Cells echoed into a message never carry terminal control characters, nor run on for pages.
    Require(
        std::none_of(errors.begin(), errors.end(),
                     [](char c) { return (static_cast<unsigned char>(c) < 0x20 && c != '\n') || c == 0x7F; }),
        "messages show no raw control characters");
    Require(errors.size() < 4096, "messages quote only a short part of a cell");
    const std::vector<std::uint8_t> after = ReadFileBytes("Loto6data.dt");
    if (code != 0) {
        Require(after == history, "a refused import leaves the data file byte for byte");
    } else {
        Require(after.size() >= history.size() && after.size() % kRecordSize == 0,
                "an import appends whole records");
        Require(std::equal(history.begin(), history.end(), after.begin()),
                "an import keeps every stored draw");
    }
    Run({"export", "--data", "Loto6data.dt"}, csv);
    Run({"stats", "--data", "Loto6data.dt"}, csv);
    Run({"count", "--data", "Loto6data.dt"}, csv);
    Run({"check", "--draw", "24", "-", "--data", "Loto6data.dt"}, csv);
    return 0;
}
