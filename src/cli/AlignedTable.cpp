// AlignedTable: column widths by display width.
#include "AlignedTable.h"

#include "history_io/TextEncoding.h"

#include <algorithm>

namespace zentrix::cli {

std::string AlignedTable(const std::vector<std::vector<std::string>>& rows)
{
    std::vector<std::size_t> widths;
    for (const auto& row : rows) {
        widths.resize(std::max(widths.size(), row.size()));
        for (std::size_t c = 0; c < row.size(); ++c)
            widths[c] = std::max(widths[c], DisplayWidth(row[c]));
    }
    std::string text;
    for (const auto& row : rows) {
        for (std::size_t c = 0; c < row.size(); ++c) {
            text += std::string(c > 0 ? 2 : 0, ' ');
            text += std::string(widths[c] - DisplayWidth(row[c]), ' ') + row[c];
        }
        text += '\n';
    }
    return text;
}

} // namespace zentrix::cli
