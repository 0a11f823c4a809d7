// HistoryTable: loading a data file's draws.
#include "HistoryTable.h"

#include "DataFile.h"

#include <ostream>

namespace zentrix::cli {

bool LoadHistoryTable(const std::string& data, CliContext& context, DrawTable& table)
{
    const std::unique_ptr<HistoryFile> history = OpenDataFile(data, context);
    if (!history)
        return false;
    if (const StoreStatus loaded = LoadDrawTable(*history, history->Latest(), table); !loaded) {
        context.err << DescribeStoreError(loaded, data) << '\n';
        return false;
    }
    return true;
}

} // namespace zentrix::cli
