// CommandIo: bounded reads and the final check of standard output.
#include "CommandIo.h"

#include <charconv>
#include <filesystem>
#include <fstream>
#include <istream>
#include <ostream>

namespace zentrix::cli {

InputRead ReadInputStream(std::istream& in, std::string& bytes, std::size_t limit)
{
    bytes.clear();
    char buffer[65536];
    while (in) {
        in.read(buffer, sizeof buffer);
        const auto got = static_cast<std::size_t>(in.gcount());
        if (bytes.size() + got > limit) {
            bytes.clear();
            return InputRead::TooLarge;
        }
        bytes.append(buffer, got);
    }
    return in.bad() ? InputRead::Unreadable : InputRead::Ok;
}

InputRead ReadInputFile(const std::string& name, std::string& bytes, std::size_t limit)
{
    std::error_code ec;
    if (std::filesystem::is_directory(name, ec))
        return InputRead::Unreadable;
    std::ifstream in(name, std::ios::binary);
    if (!in)
        return InputRead::Unreadable;
    return ReadInputStream(in, bytes, limit);
}

CLI::Validator WholeNumberWithin(std::uint64_t low, std::uint64_t high)
{
    const std::string range = std::to_string(low) + "〜" + std::to_string(high);
    return CLI::Validator(
        [low, high, range](std::string& text) -> std::string {
            std::uint64_t value = 0;
            const char* end = text.data() + text.size();
            const auto [stop, error] = std::from_chars(text.data(), end, value);
            if (text.empty() || error != std::errc() || stop != end || value < low || value > high)
                return "「" + text + "」は " + range + " の整数ではありません";
            return {};
        },
        "整数 " + range);
}

int FinishOutput(CliContext& context)
{
    context.out.flush();
    if (context.out)
        return kExitOk;
    context.err << "zentrix-cli: 標準出力に書き込めませんでした（出力先が満杯か、閉じられています）。\n";
    return kExitFailure;
}

} // namespace zentrix::cli
