// HistoryFile: the draw history data file, one 16-byte record per draw, with its single
// record buffer CurrentRecord and the number of the latest stored draw, Latest.
#pragma once

#include "DrawRecord.h"
#include "FileDevice.h"
#include "StoreStatus.h"

#include <filesystem>
#include <functional>
#include <memory>
#include <span>
#include <string_view>

namespace zentrix {

/**
 * The history file `Loto6data.dt`: a headerless sequence of DrawRecords; record n (from 1) holds
 * draw No. n at bytes (n-1)*16 .. n*16-1. Every operation goes to the file at once, one record
 * at a time; nothing is cached. Each write and clear is on the disk before it returns.
 *
 * Opened read-write, the file holds the editor's guard until it is closed, so that a second
 * editor (another window, an import) cannot overwrite this one's draws; readers opened with
 * FileAccess::ReadOnly work beside it and never see half a record.
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
    /// On a read error Latest is left as it was. The scan reads in large blocks and skips the
    /// holes of a sparse file, so its cost follows what is stored, not the file's length. A
    /// Latest above kMaxStoredDraws fails with TooLarge (Latest is left as it was).
    StoreStatus FindLatest();

    /// One record to write in ReplaceHistory.
    struct RecordWrite
    {
        RecordNo record = 0;
        DrawNumbers numbers{};
        std::int16_t bonus = 0;
    };
    /// Makes the device the replacement file is written through; tests substitute failing ones.
    using DeviceFactory = std::function<std::unique_ptr<FileDevice>()>;

    /// Rewrites the whole file all or nothing: a copy of it beside the file (beside the file a
    /// symbolic link points to) takes the writes, each carrying CurrentRecord's Reserved as
    /// WriteDraw does, is flushed, given the file's owner, group and permissions and renamed
    /// over it. The copy keeps the file's holes and trailing bytes. From then on this object
    /// holds the new file, still locked, and Latest is scanned afresh. On any failure the file,
    /// CurrentRecord and Latest are as they were and no copy is left behind. Writes must lie in
    /// 1..RecordCount + 1 after the writes before them. Copies left by an earlier replacement that
    /// was killed part-way (this program's own naming, older than a few minutes, unlocked) are
    /// removed first.
    StoreStatus ReplaceHistory(std::span<const RecordWrite> writes, const DeviceFactory& copyDevice = {});

    /// The naming pattern of the copies: "." + file name + kCopyInfix + six letters or digits.
    static constexpr std::string_view kCopyInfix = ".import-";

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
    void removeStaleCopies(const std::filesystem::path& target) const;

    std::filesystem::path m_path;
    std::unique_ptr<FileDevice> m_device;
    DrawRecord m_current{};
    RecordNo m_latest = 0;
};

} // namespace zentrix
