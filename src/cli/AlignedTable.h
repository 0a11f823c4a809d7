// AlignedTable: rows of cells as a plain-text table for a terminal.
#pragma once

#include <string>
#include <vector>

namespace zentrix::cli {

/// Right-aligns every cell to its column's display width (Japanese characters take two columns),
/// columns two spaces apart, one line per row.
std::string AlignedTable(const std::vector<std::vector<std::string>>& rows);

} // namespace zentrix::cli
