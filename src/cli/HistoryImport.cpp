// HistoryImport: check the rows against the stored draws, write a synced copy, rename it into place.
#include "HistoryImport.h"

#include "Commands.h"
#include "store/HistoryFile.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zentrix::cli {
namespace {

/// The native device with its per-record flush left out: the copy is flushed once, as a whole,
/// before it replaces the data file, and until then nobody reads it.
class FlushOnceDevice final : public FileDevice
{
public:
    FlushOnceDevice()
        : m_inner(MakeNativeFileDevice())
    {
    }
    StoreStatus open(const std::filesystem::path& path) override { return m_inner->open(path); }
    void close() override { m_inner->close(); }
    bool isOpen() const override { return m_inner->isOpen(); }
    std::int64_t size() const override { return m_inner->size(); }
    int readAt(std::int64_t offset, std::span<std::uint8_t> out) override
    {
        return m_inner->readAt(offset, out);
    }
    int writeAt(std::int64_t offset, std::span<const std::uint8_t> data) override
    {
        return m_inner->writeAt(offset, data);
    }
    int truncate(std::int64_t length) override { return m_inner->truncate(length); }
    int sync() override { return 0; }

private:
    std::unique_ptr<FileDevice> m_inner;
};

std::string Reason(int err)
{
    StoreStatus status = StoreStatus::Fail(StoreError::WriteFailed, err);
    const std::string text = DescribeStoreError(status, "");
    const std::size_t at = text.find("（理由：");
    return at == std::string::npos ? std::string() : text.substr(at);
}

std::string NumbersText(const DrawNumbers& numbers, std::int16_t bonus)
{
    std::string text;
    for (const std::int16_t n : numbers)
        text += (text.empty() ? "" : " ") + std::to_string(n);
    return text + " ボーナス " + std::to_string(bonus);
}

bool SameDraw(const DrawRecord& stored, const CsvDraw& row)
{
    DrawNumbers numbers = stored.Numbers;
    std::sort(numbers.begin(), numbers.end());
    return numbers == row.numbers && stored.Bonus == row.bonus;
}

int WriteAll(int fd, const std::string& bytes)
{
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return errno;
        done += static_cast<std::size_t>(n);
    }
    return 0;
}

int SyncPath(const std::filesystem::path& path, int flags)
{
    const int fd = ::open(path.c_str(), flags | O_CLOEXEC);
    if (fd < 0)
        return errno;
    const int err = ::fsync(fd) == 0 ? 0 : errno;
    ::close(fd);
    return err;
}

/// The whole file as it is on disk, partial trailing record included.
int ReadWholeFile(const std::filesystem::path& path, std::string& bytes)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return errno;
    bytes.clear();
    char buffer[65536];
    int err = 0;
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            err = errno;
        if (n <= 0)
            break;
        bytes.append(buffer, static_cast<std::size_t>(n));
    }
    ::close(fd);
    return err;
}

/// Removes the temporary copy unless it has been renamed into place.
class TemporaryCopy
{
public:
    ~TemporaryCopy()
    {
        if (!m_path.empty())
            ::unlink(m_path.c_str());
    }
    int create(const std::filesystem::path& target)
    {
        const std::filesystem::path folder = target.has_parent_path() ? target.parent_path() : ".";
        std::string pattern = (folder / ("." + target.filename().string() + ".import-XXXXXX")).string();
        const int fd = ::mkstemp(pattern.data());
        if (fd < 0)
            return -errno;
        m_path = pattern;
        return fd;
    }
    const std::filesystem::path& path() const { return m_path; }
    void release() { m_path.clear(); }

private:
    std::filesystem::path m_path;
};

} // namespace

ImportResult ImportDraws(const std::filesystem::path& dataFile, const std::string& fileName,
                         const std::vector<CsvDraw>& draws, const CopyDeviceFactory& copyDevice)
{
    ImportResult result;
    const auto fail = [&](int exitCode, std::string message, std::size_t line = 0) {
        result.exitCode = exitCode;
        result.message = std::move(message);
        result.csvLine = line;
        result.added = 0;
        return result;
    };
    const std::string unchanged = "データファイルは変更していません。";

    // The rename must replace the file a link points to, not the link.
    std::error_code ec;
    std::filesystem::path target = dataFile;
    if (std::filesystem::is_symlink(std::filesystem::symlink_status(dataFile, ec))) {
        target = std::filesystem::canonical(dataFile, ec);
        if (ec)
            return fail(kExitDataFile, "データファイル「" + fileName + "」のリンク先が見つかりません。");
    }
    const bool existed = std::filesystem::exists(std::filesystem::symlink_status(target, ec));

    HistoryFile original(target);
    if (const StoreStatus opened = original.OpenHistory(); !opened) {
        std::string message = DescribeStoreError(opened, fileName);
        if (opened.error == StoreError::InUse)
            message += "\n（Zentrix がこのデータファイルを開いている間は取り込めません。Zentrix "
                       "を終了してから実行して下さい。）";
        return fail(kExitDataFile, message);
    }
    // A file this import created is removed again unless draws went into it.
    struct CreatedFileCleanup
    {
        HistoryFile& file;
        const std::filesystem::path& path;
        bool armed;
        ~CreatedFileCleanup()
        {
            if (armed && file.RecordCount() == 0) {
                std::error_code ignored;
                std::filesystem::remove(path, ignored);
            }
        }
    } cleanup{original, target, !existed};

    const RecordNo latest = original.Latest();
    result.latestBefore = latest;
    std::vector<DrawRecord> stored;
    stored.reserve(static_cast<std::size_t>(latest));
    for (RecordNo d = 1; d <= latest; ++d) {
        if (const StoreStatus read = original.ReadDraw(d); !read)
            return fail(kExitDataFile, DescribeStoreError(read, fileName));
        stored.push_back(original.CurrentRecord());
    }

    std::vector<const CsvDraw*> toAdd;
    for (const CsvDraw& row : draws) {
        if (row.draw <= latest) {
            const DrawRecord& have = stored[static_cast<std::size_t>(row.draw - 1)];
            if (!SameDraw(have, row))
                return fail(kExitFailure,
                            "第" + std::to_string(row.draw) + "回はデータファイルに別の当選番号（" +
                                NumbersText(have.Numbers, have.Bonus) + "）で保存されています。CSV では " +
                                NumbersText(row.numbers, row.bonus) + " です。取り込みを中止しました。" +
                                unchanged,
                            row.line);
            ++result.skipped;
            continue;
        }
        const RecordNo expected = latest + 1 + static_cast<RecordNo>(toAdd.size());
        if (row.draw != expected)
            return fail(kExitFailure,
                        "データファイルの最新は第" + std::to_string(latest) + "回なので、次は第" +
                            std::to_string(expected) + "回のはずですが、第" + std::to_string(row.draw) +
                            "回です（第" + std::to_string(expected) + "回" +
                            (row.draw - 1 > expected ? "〜第" + std::to_string(row.draw - 1) + "回" : "") +
                            "が抜けています）。取り込みを中止しました。" + unchanged,
                        row.line);
        toAdd.push_back(&row);
    }
    if (toAdd.empty()) {
        cleanup.armed = false; // a successful import of nothing still leaves a data file
        return result;
    }

    const auto writeFailed = [&](int err, RecordNo record) {
        StoreStatus status = StoreStatus::Fail(StoreError::WriteFailed, err, record);
        std::string message = record > 0 ? DescribeStoreError(status, fileName)
                                         : "データファイル「" + fileName + "」を書き換えられませんでした。" +
                                               unchanged + Reason(err);
        return fail(kExitDataFile, message);
    };

    std::string bytes;
    if (const int err = ReadWholeFile(target, bytes); err != 0)
        return fail(kExitDataFile,
                    "データファイル「" + fileName + "」を読み込めませんでした。" + Reason(err));
    struct stat st
    {
    };
    const mode_t mode = ::stat(target.c_str(), &st) == 0 ? (st.st_mode & 07777) : 0644;

    TemporaryCopy copy;
    const int fd = copy.create(target);
    if (fd < 0)
        return writeFailed(-fd, 0);
    int err = WriteAll(fd, bytes);
    if (err == 0 && ::fchmod(fd, mode) != 0)
        err = errno;
    ::close(fd);
    if (err != 0)
        return writeFailed(err, 0);

    {
        HistoryFile appended(copy.path(), copyDevice ? copyDevice() : std::make_unique<FlushOnceDevice>());
        if (const StoreStatus opened = appended.OpenHistory(); !opened)
            return writeFailed(opened.systemError, 0);
        if (appended.Latest() != latest)
            return fail(kExitDataFile,
                        "データファイル「" + fileName + "」が取り込み中に変わりました。" + unchanged);
        for (const CsvDraw* row : toAdd) {
            if (const StoreStatus written = appended.WriteDraw(row->draw, row->numbers, row->bonus); !written)
                return writeFailed(written.systemError, row->draw);
        }
        appended.CloseHistory();
    }
    if (const int synced = SyncPath(copy.path(), O_RDONLY); synced != 0)
        return writeFailed(synced, 0);
    if (::rename(copy.path().c_str(), target.c_str()) != 0)
        return writeFailed(errno, 0);
    copy.release();
    cleanup.armed = false;
    // The rename itself reaches the disk with the folder.
    SyncPath(target.has_parent_path() ? target.parent_path() : ".", O_RDONLY | O_DIRECTORY);
    result.added = static_cast<RecordNo>(toAdd.size());
    return result;
}

} // namespace zentrix::cli
