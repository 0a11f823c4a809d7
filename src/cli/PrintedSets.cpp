// PrintedSets: formatting sets as printed lines.
#include "PrintedSets.h"

namespace zentrix::cli {

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

std::string SetLine(int row, const PredictionSet& set)
{
    std::string line = RowLabel(row);
    for (std::size_t i = 0; i < set.size(); ++i) {
        if (i > 0)
            line += " , ";
        line += NumberText(set[i]);
    }
    return line;
}

} // namespace zentrix::cli
