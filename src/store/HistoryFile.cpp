// HistoryFile: record-at-a-time access to the draw history file.
#include "HistoryFile.h"

#include <cerrno>

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
    RecordNo g = RecordCount();
    while (g > 0) {
        if (StoreStatus read = ReadDraw(g); !read)
            return read;
        if (!m_current.isEmpty())
            break;
        --g;
    }
    m_latest = g;
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
