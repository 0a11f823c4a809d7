// PrizeCheck: reading the lines of printed sets.
#include "PrizeCheck.h"

#include "PrintedSets.h"

#include <algorithm>
#include <vector>

namespace zentrix::cli {
namespace {

constexpr std::string_view kArrow = "→";

std::string_view Trim(std::string_view text)
{
    constexpr std::string_view space = " \t\r\n\v\f";
    const std::size_t first = text.find_first_not_of(space);
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(space) - first + 1);
}

bool AllDigits(std::string_view text)
{
    return !text.empty() &&
           std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

ParsedSetLine Bad(std::string error)
{
    ParsedSetLine line;
    line.kind = ParsedSetLine::Bad;
    line.error = std::move(error);
    return line;
}

} // namespace

ParsedSetLine ParseSetLine(std::string_view text)
{
    text = Trim(text);
    if (text.empty() || text == kPrintHeader)
        return {};
    ParsedSetLine line;
    if (const std::size_t arrow = text.find(kArrow); arrow != std::string_view::npos) {
        const std::string_view label = Trim(text.substr(0, arrow));
        if (!AllDigits(label) || label.size() > 4)
            return Bad("「→」の前は行の番号（001 など）のはずですが「" + std::string(label) + "」です。");
        line.label = std::stoi(std::string(label));
        text.remove_prefix(arrow + kArrow.size());
    }
    std::vector<std::string_view> tokens;
    std::size_t at = 0;
    while (at < text.size()) {
        const std::size_t end = text.find_first_of(", \t", at);
        const std::string_view token =
            text.substr(at, end == std::string_view::npos ? std::string_view::npos : end - at);
        if (!token.empty())
            tokens.push_back(token);
        if (end == std::string_view::npos)
            break;
        at = end + 1;
    }
    if (tokens.size() != line.set.size())
        return Bad("数字が6個ではありません（" + std::to_string(tokens.size()) + "個あります）。");
    for (std::size_t i = 0; i < tokens.size(); ++i) {
        const std::string_view token = tokens[i];
        if (!AllDigits(token) || token.size() > 2 || std::stoi(std::string(token)) < 1 ||
            std::stoi(std::string(token)) > 43)
            return Bad("「" + std::string(token) + "」は1から43の数字ではありません。");
        line.set[i] = static_cast<std::int16_t>(std::stoi(std::string(token)));
    }
    std::sort(line.set.begin(), line.set.end());
    if (const auto twice = std::adjacent_find(line.set.begin(), line.set.end()); twice != line.set.end())
        return Bad("数字 " + NumberText(*twice) + " が2回あります。");
    line.kind = ParsedSetLine::Set;
    return line;
}

} // namespace zentrix::cli
