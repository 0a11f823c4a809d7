// DrawTable: one run's copy of the stored draws, read record by record from the history file.
#pragma once

#include "store/DrawRecord.h"
#include "store/StoreStatus.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace zentrix {

class HistoryFile;

/// Positions 0..5 hold the six winning numbers in stored order, position 6 the bonus number.
using DrawRow = std::array<std::int16_t, 7>;

/// Draws 1..Latest of one run. No fixed capacity: a history of any length fits.
struct DrawTable
{
    std::vector<DrawRow> rows; ///< rows[d-1] is draw d

    RecordNo Latest() const { return static_cast<RecordNo>(rows.size()); }
    /// Draw d, 1 <= d <= Latest().
    const DrawRow& row(RecordNo d) const { return rows[static_cast<std::size_t>(d - 1)]; }
};

DrawRow MakeDrawRow(const DrawRecord& record);

/// "01 , 02 , 10 , 13 , 27 , 30 ボーナス 39": a stored draw for reports and messages.
std::string DrawRowText(const DrawRow& row);

/// Reads records 1..latest in ascending order, each through ReadDraw into the store's
/// CurrentRecord, and copies their numbers and bonus into `table` (replacing what it held).
/// On a failed read `table` is left empty and the store's status is returned.
StoreStatus LoadDrawTable(HistoryFile& history, RecordNo latest, DrawTable& table);

} // namespace zentrix
