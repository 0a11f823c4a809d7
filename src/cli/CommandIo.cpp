// CommandIo: the whole-number check and the final check of standard output.
#include "CommandIo.h"

#include <charconv>
#include <ostream>

namespace zentrix::cli {

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
