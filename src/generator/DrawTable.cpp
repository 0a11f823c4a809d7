// DrawTable: loading the stored draws for one run.
#include "DrawTable.h"

#include "store/HistoryFile.h"
#include "store/Loto6.h"

namespace zentrix {

DrawRow MakeDrawRow(const DrawRecord& record)
{
    DrawRow row{};
    for (std::size_t i = 0; i < record.Numbers.size(); ++i)
        row[i] = record.Numbers[i];
    row[6] = record.Bonus;
    return row;
}

std::string DrawRowText(const DrawRow& row)
{
    std::string text;
    for (std::size_t i = 0; i < 6; ++i)
        text += (i > 0 ? " , " : "") + NumberText(row[i]);
    return text + " ボーナス " + NumberText(row[6]);
}

StoreStatus LoadDrawTable(HistoryFile& history, RecordNo latest, DrawTable& table)
{
    table.rows.clear();
    if (latest > 0)
        table.rows.reserve(static_cast<std::size_t>(latest));
    for (RecordNo d = 1; d <= latest; ++d) {
        if (StoreStatus read = history.ReadDraw(d); !read) {
            table.rows.clear();
            return read;
        }
        table.rows.push_back(MakeDrawRow(history.CurrentRecord()));
    }
    return StoreStatus::Ok();
}

} // namespace zentrix
