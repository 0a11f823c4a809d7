// ReportText: numbers, draws and shares as the reports print them.
#include "ReportText.h"

#include <cstdio>

namespace zentrix::cli {

std::string GroupDigits(std::int64_t value)
{
    std::string digits = std::to_string(value < 0 ? -value : value);
    for (int at = static_cast<int>(digits.size()) - 3; at > 0; at -= 3)
        digits.insert(static_cast<std::size_t>(at), ",");
    return value < 0 ? "-" + digits : digits;
}

std::string Percent(std::int64_t part, std::int64_t whole, int decimals)
{
    if (whole == 0)
        return "-";
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.*f%%", decimals,
                  100.0 * static_cast<double>(part) / static_cast<double>(whole));
    return buffer;
}

} // namespace zentrix::cli
