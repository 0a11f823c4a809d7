// Loto6: checking draws and formatting printed lines.
#include "store/Loto6.h"

#include <algorithm>

namespace zentrix {

bool AreSixDistinctNumbers(std::span<const std::int16_t, kSetSize> numbers)
{
    std::array<std::int16_t, kSetSize> sorted{};
    std::copy(numbers.begin(), numbers.end(), sorted.begin());
    std::sort(sorted.begin(), sorted.end());
    return std::all_of(sorted.begin(), sorted.end(), [](std::int16_t v) { return IsLotoNumber(v); }) &&
           std::adjacent_find(sorted.begin(), sorted.end()) == sorted.end();
}

bool IsValidDraw(std::span<const std::int16_t, kSetSize> numbers, int bonus)
{
    return AreSixDistinctNumbers(numbers) && IsLotoNumber(bonus) &&
           std::find(numbers.begin(), numbers.end(), bonus) == numbers.end();
}

std::string NumberText(int number)
{
    std::string text = std::to_string(number);
    return text.size() < 2 ? "0" + text : text;
}

std::string RowLabel(int row)
{
    std::string digits = std::to_string(row);
    if (digits.size() < 3)
        digits.insert(0, 3 - digits.size(), '0');
    return digits + "→";
}

std::string PrintedLine(int row, std::span<const std::int16_t, kSetSize> numbers)
{
    std::string line = RowLabel(row);
    for (std::size_t i = 0; i < numbers.size(); ++i) {
        if (i > 0)
            line += " , ";
        line += NumberText(numbers[i]);
    }
    return line;
}

} // namespace zentrix
