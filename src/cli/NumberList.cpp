// NumberList: strict parsing of number lists, ranges and guarantees.
#include "NumberList.h"

#include <charconv>

namespace zentrix::cli {
namespace {

std::string_view Trim(std::string_view text)
{
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t'))
        text.remove_suffix(1);
    return text;
}

/// A whole number of at most three digits and nothing else.
std::optional<int> SmallNumber(std::string_view text)
{
    text = Trim(text);
    if (text.empty() || text.size() > 3)
        return std::nullopt;
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc{} || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

} // namespace

std::optional<std::vector<int>> ParseNumberList(std::string_view text)
{
    std::vector<int> numbers;
    if (Trim(text).empty())
        return std::nullopt;
    while (true) {
        const std::size_t comma = text.find(',');
        const std::string_view item = text.substr(0, comma);
        const std::size_t dash = item.find('-');
        if (dash == std::string_view::npos) {
            const auto n = SmallNumber(item);
            if (!n)
                return std::nullopt;
            numbers.push_back(*n);
        } else {
            const auto from = SmallNumber(item.substr(0, dash));
            const auto to = SmallNumber(item.substr(dash + 1));
            if (!from || !to || *from > *to)
                return std::nullopt;
            for (int n = *from; n <= *to; ++n)
                numbers.push_back(n);
        }
        if (comma == std::string_view::npos)
            return numbers;
        text.remove_prefix(comma + 1);
    }
}

std::optional<std::pair<int, int>> ParseGuaranteeText(std::string_view text)
{
    const std::size_t slash = text.find('/');
    if (slash == std::string_view::npos)
        return std::nullopt;
    const auto match = SmallNumber(text.substr(0, slash));
    const auto drawn = SmallNumber(text.substr(slash + 1));
    if (!match || !drawn)
        return std::nullopt;
    return std::pair{*match, *drawn};
}

} // namespace zentrix::cli
