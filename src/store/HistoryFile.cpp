// HistoryFile: record-at-a-time access to the draw history file.
#include "HistoryFile.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <chrono>
#include <random>
#include <string>
#include <tuple>
#include <vector>

namespace zentrix {

HistoryFile::HistoryFile(std::filesystem::path path, std::unique_ptr<FileDevice> device)
    : m_path(std::move(path))
    , m_device(std::move(device))
{
}

HistoryFile::~HistoryFile()
{
    CloseHistory();
}

StoreStatus HistoryFile::OpenHistory()
{
    if (StoreStatus opened = m_device->open(m_path); !opened)
        return opened;
    m_latest = 0;
    if (StoreStatus scanned = FindLatest(); !scanned) {
        m_device->close();
        return scanned;
    }
    return StoreStatus::Ok();
}

bool HistoryFile::IsOpen() const
{
    return m_device->isOpen();
}

RecordNo HistoryFile::RecordCount() const
{
    const std::int64_t length = m_device->size();
    return length < 0 ? 0 : length / static_cast<std::int64_t>(kRecordSize);
}

StoreStatus HistoryFile::ReadDraw(RecordNo n)
{
    if (!IsOpen())
        return StoreStatus::Fail(StoreError::NotOpen);
    if (n < 1 || n > RecordCount())
        return StoreStatus::Fail(StoreError::OutOfRange, 0, n);
    RecordBytes bytes{};
    if (const int err = m_device->readAt((n - 1) * static_cast<RecordNo>(kRecordSize), bytes); err != 0)
        return StoreStatus::Fail(StoreError::ReadFailed, err, n);
    m_current = DecodeRecord(bytes);
    return StoreStatus::Ok();
}

StoreStatus HistoryFile::writeCurrent(RecordNo n)
{
    const RecordNo count = RecordCount();
    if (n < 1 || n > count + 1)
        return StoreStatus::Fail(StoreError::OutOfRange, 0, n);
    const std::int64_t oldLength = m_device->size();
    const std::int64_t offset = (n - 1) * static_cast<RecordNo>(kRecordSize);
    // A replace that fails half-way must not leave a torn record: keep the old bytes to put back.
    // (A record that cannot be read is still written: the new draw may be what repairs it.)
    RecordBytes old{};
    const bool replacing = n <= count;
    const bool canRestore = replacing && m_device->readAt(offset, old) == 0;
    const RecordBytes bytes = EncodeRecord(m_current);
    int err = m_device->writeAt(offset, bytes);
    if (err == 0)
        err = m_device->sync();
    if (err != 0) {
        if (canRestore) {
            if (m_device->writeAt(offset, old) == 0)
                m_device->sync();
        } else if (!replacing && oldLength >= 0 && m_device->size() != oldLength) {
            // An append that failed half-way must not leave a partial record behind.
            m_device->truncate(oldLength);
            m_device->sync();
        }
        return StoreStatus::Fail(StoreError::WriteFailed, err, n);
    }
    return StoreStatus::Ok();
}

StoreStatus HistoryFile::WriteDraw(RecordNo n, const DrawNumbers& numbers, std::int16_t bonus)
{
    if (!IsOpen())
        return StoreStatus::Fail(StoreError::NotOpen);
    const DrawRecord before = m_current;
    m_current.Numbers = numbers;
    m_current.Bonus = bonus;
    StoreStatus status = writeCurrent(n);
    if (!status) {
        m_current = before;
        return status;
    }
    // A stored draw above Latest is what the next scan would find; knowing it now keeps a later
    // append from overwriting it even if that scan cannot read the file.
    if (!m_current.isEmpty() && n > m_latest)
        m_latest = n;
    return status;
}

StoreStatus HistoryFile::ClearDraw(RecordNo n)
{
    return WriteDraw(n, DrawNumbers{}, 0);
}

StoreStatus HistoryFile::FindLatest()
{
    if (!IsOpen())
        return StoreStatus::Fail(StoreError::NotOpen);
    constexpr std::int64_t kRecord = static_cast<std::int64_t>(kRecordSize);
    constexpr std::int64_t kBlockRecords = 4096;
    const RecordNo count = RecordCount();
    std::vector<std::uint8_t> block;
    RecordNo g = count; // records above g are known to be empty
    RecordNo found = 0;
    while (g > 0 && found == 0) {
        // A hole reads as zeros, that is as empty records: jump over it to the data before it.
        const std::int64_t dataEnd = m_device->dataEndBefore(g * kRecord);
        g = std::min<RecordNo>(g, (dataEnd + kRecord - 1) / kRecord);
        if (g == 0)
            break;
        const RecordNo first = std::max<RecordNo>(1, g - kBlockRecords + 1);
        block.resize(static_cast<std::size_t>((g - first + 1) * kRecord));
        if (const int err = m_device->readAt((first - 1) * kRecord, block); err != 0)
            return StoreStatus::Fail(StoreError::ReadFailed, err, g);
        for (RecordNo r = g; r >= first; --r) {
            const auto at = static_cast<std::size_t>((r - first) * kRecord);
            if (block[at] != 0 || block[at + 1] != 0) {
                found = r;
                break;
            }
        }
        g = first - 1;
    }
    if (found > kMaxStoredDraws)
        return StoreStatus::Fail(StoreError::TooLarge, 0, found);
    // The scan's last read is what CurrentRecord holds afterwards: the latest draw, or record 1
    // when every record is empty.
    if (const RecordNo last = found > 0 ? found : (count > 0 ? 1 : 0); last > 0) {
        if (StoreStatus read = ReadDraw(last); !read)
            return read;
    }
    m_latest = found;
    return StoreStatus::Ok();
}

StoreStatus HistoryFile::DeleteLatest()
{
    if (!IsOpen())
        return StoreStatus::Fail(StoreError::NotOpen);
    if (m_latest < 1)
        return StoreStatus::Ok();
    if (StoreStatus cleared = ClearDraw(m_latest); !cleared)
        return cleared;
    --m_latest;
    return StoreStatus::Ok();
}

void HistoryFile::CloseHistory()
{
    m_device->close();
}

} // namespace zentrix

namespace zentrix {
namespace {

/// Six letters or digits for a copy's name; uniqueness within the folder is checked on opening.
std::string CopySuffix()
{
    static constexpr std::string_view kLetters =
        "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    static std::mt19937_64 engine{std::random_device{}()};
    std::uniform_int_distribution<std::size_t> pick(0, kLetters.size() - 1);
    std::string suffix;
    for (int i = 0; i < 6; ++i)
        suffix += kLetters[pick(engine)];
    return suffix;
}

bool IsCopyName(const std::string& name, const std::string& prefix)
{
    if (name.size() != prefix.size() + 6 || !name.starts_with(prefix))
        return false;
    return std::all_of(name.begin() + static_cast<std::ptrdiff_t>(prefix.size()), name.end(),
                       [](char c) { return std::isalnum(static_cast<unsigned char>(c)) != 0; });
}

/// ".Loto6data.dt.import-": how the names of the file's replacement copies begin.
std::string CopyPrefix(const std::filesystem::path& target)
{
    return "." + target.filename().string() + std::string(HistoryFile::kCopyInfix);
}

} // namespace

void HistoryFile::removeStaleCopies(const std::filesystem::path& target) const
{
    namespace fs = std::filesystem;
    constexpr auto kStaleAfter = std::chrono::minutes(5);
    const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
    const std::string prefix = CopyPrefix(target);
    std::error_code ec;
    fs::directory_iterator it(folder, ec);
    const fs::directory_iterator end;
    for (; !ec && it != end; it.increment(ec)) {
        const fs::directory_entry& entry = *it;
        std::error_code ignored;
        if (!IsCopyName(entry.path().filename().string(), prefix) || !entry.is_regular_file(ignored) ||
            entry.is_symlink(ignored))
            continue;
        const auto written = entry.last_write_time(ignored);
        if (ignored || fs::file_time_type::clock::now() - written < kStaleAfter)
            continue;
        // A copy still being written is guarded by the replacement writing it.
        const std::unique_ptr<FileDevice> probe = MakeNativeFileDevice(FileAccess::ReadWrite);
        if (!probe->open(entry.path()))
            continue;
        fs::remove(entry.path(), ignored);
    }
}

StoreStatus HistoryFile::ReplaceHistory(std::span<const RecordWrite> writes, const DeviceFactory& copyDevice)
{
    namespace fs = std::filesystem;
    if (!IsOpen())
        return StoreStatus::Fail(StoreError::NotOpen);
    // Through a symbolic link the rename must replace the file the link points to, not the link.
    std::error_code ec;
    fs::path target = m_path;
    if (fs::is_symlink(fs::symlink_status(m_path, ec))) {
        target = fs::canonical(m_path, ec);
        if (ec)
            return StoreStatus::Fail(StoreError::WriteFailed, ec.value());
    }
    removeStaleCopies(target);

    const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
    const std::string prefix = CopyPrefix(target);
    std::unique_ptr<FileDevice> copy =
        copyDevice ? copyDevice() : MakeNativeFileDevice(FileAccess::CreateNew);
    fs::path copyPath;
    for (int attempt = 0; attempt < 16 && copyPath.empty(); ++attempt) {
        const fs::path candidate = folder / (prefix + CopySuffix());
        if (fs::exists(fs::symlink_status(candidate, ec)))
            continue;
        if (StoreStatus opened = copy->open(candidate); !opened) {
            if (opened.systemError == EEXIST)
                continue; // someone else's file appeared under the name: take another
            return StoreStatus::Fail(StoreError::WriteFailed, opened.systemError);
        }
        copyPath = candidate;
    }
    if (copyPath.empty())
        return StoreStatus::Fail(StoreError::WriteFailed, EEXIST);
    struct CopyCleanup
    {
        FileDevice& device;
        fs::path path;
        bool armed = true;
        ~CopyCleanup()
        {
            if (!armed)
                return;
            device.close();
            std::error_code ignored;
            fs::remove(path, ignored);
        }
    } cleanup{*copy, copyPath};

    // The stored bytes, stretch by stretch: the holes of a sparse file stay holes in the copy.
    const std::int64_t length = m_device->size();
    if (length < 0)
        return StoreStatus::Fail(StoreError::ReadFailed, errno);
    if (const int err = copy->truncate(length); err != 0)
        return StoreStatus::Fail(StoreError::WriteFailed, err);
    constexpr std::int64_t kChunk = 1 << 20;
    std::vector<std::uint8_t> chunk;
    for (auto [from, to] = m_device->dataFrom(0); from < to; std::tie(from, to) = m_device->dataFrom(to)) {
        for (std::int64_t at = from; at < to; at += kChunk) {
            chunk.resize(static_cast<std::size_t>(std::min(kChunk, to - at)));
            if (const int err = m_device->readAt(at, chunk); err != 0)
                return StoreStatus::Fail(StoreError::ReadFailed, err);
            if (const int err = copy->writeAt(at, chunk); err != 0)
                return StoreStatus::Fail(StoreError::WriteFailed, err);
        }
    }

    DrawRecord record = m_current;
    for (const RecordWrite& write : writes) {
        const std::int64_t size = copy->size();
        if (write.record < 1 || write.record > size / static_cast<std::int64_t>(kRecordSize) + 1)
            return StoreStatus::Fail(StoreError::OutOfRange, 0, write.record);
        record.Numbers = write.numbers;
        record.Bonus = write.bonus;
        const RecordBytes bytes = EncodeRecord(record);
        if (const int err = copy->writeAt((write.record - 1) * static_cast<std::int64_t>(kRecordSize), bytes);
            err != 0)
            return StoreStatus::Fail(StoreError::WriteFailed, err, write.record);
    }
    if (const int err = copy->sync(); err != 0)
        return StoreStatus::Fail(StoreError::WriteFailed, err);
    // The copy stays open and locked through the rename, so that it is never an unlocked file
    // at the path; it then becomes this object's file.
    if (StoreStatus replaced = m_device->replaceFileWith(copyPath, target); !replaced)
        return replaced;
    cleanup.armed = false;
    m_device->close();
    m_device = std::move(copy);
    if (!FindLatest()) {
        // The new file is in place; without a scan, Latest is what the writes made it.
        for (const RecordWrite& write : writes) {
            if (write.numbers[0] != 0 && write.record > m_latest)
                m_latest = write.record;
        }
    }
    return StoreStatus::Ok();
}

} // namespace zentrix
