// HistoryFile: the draw history data file, one 16-byte record per draw, with its single
// record buffer CurrentRecord and the number of the latest stored draw, Latest.
#pragma once

#include <filesystem>
#include <memory>
#include <string_view>

#include "DrawRecord.h"
#include "FileDevice.h"
#include "StoreStatus.h"

namespace zentrix {

/**
 * The history file `Loto6data.dt`: a headerless sequence of DrawRecords; record n (from 1) holds
 * draw No. n at bytes (n-1)*16 .. n*16-1. Every operation goes to the file at once, one record
 * at a time; nothing is cached. Each write and clear is on the disk before it returns.
 *
 * While open, the file is held under an exclusive advisory lock so that a second running
 * program cannot overwrite this one's draws.
 */
class HistoryFile
{
public:
    static constexpr std::string_view kDefaultFileName = "Loto6data.dt";

    explicit HistoryFile(std::filesystem::path path = std::filesystem::path(kDefaultFileName),
                         std::unique_ptr<FileDevice> device = MakeNativeFileDevice());
    ~HistoryFile();
    HistoryFile(const HistoryFile&) = delete;
    HistoryFile& operator=(const HistoryFile&) = delete;

    /// Opens (creating an empty file when none exists) and runs FindLatest.
    StoreStatus OpenHistory();

    /// File length / 16, rounded down; a trailing partial record is never counted. 0 when closed.
    RecordNo RecordCount() const;

    /// Reads record n (1 <= n <= RecordCount) into CurrentRecord.
    StoreStatus ReadDraw(RecordNo n);

    /// Puts the numbers and bonus into CurrentRecord (Reserved untouched) and writes it as record n,
    /// 1 <= n <= RecordCount + 1; n = RecordCount + 1 extends the file by one record.
    /// A non-empty record written above Latest raises Latest to n (what FindLatest would find).
    /// On failure the file, CurrentRecord and Latest are as they were.
    StoreStatus WriteDraw(RecordNo n, const DrawNumbers& numbers, std::int16_t bonus);

    /// Zeroes the numbers and bonus of CurrentRecord (Reserved untouched) and writes it as record n.
    StoreStatus ClearDraw(RecordNo n);

    /// Scans backwards from the last record for the highest non-empty one and sets Latest.
    /// On a read error Latest is left as it was.
    StoreStatus FindLatest();

    /// Clears record Latest and lowers Latest by one, without a scan. With no stored draw it
    /// writes nothing and leaves Latest at 0.
    StoreStatus DeleteLatest();

    void CloseHistory();

    bool IsOpen() const;
    RecordNo Latest() const { return m_latest; }
    const DrawRecord& CurrentRecord() const { return m_current; }
    const std::filesystem::path& Path() const { return m_path; }

private:
    StoreStatus writeCurrent(RecordNo n);

    std::filesystem::path m_path;
    std::unique_ptr<FileDevice> m_device;
    DrawRecord m_current{};
    RecordNo m_latest = 0;
};

} // namespace zentrix
