// OutputFile: temporary file, fsync, rename (POSIX).
#include "analysis/OutputFile.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zentrix::analysis {
namespace {

OutputStatus Fail(OutputError error, int systemError = 0)
{
    return {error, systemError};
}

bool SameFile(const std::filesystem::path& a, const std::filesystem::path& b)
{
    std::error_code ignored;
    return !b.empty() && std::filesystem::equivalent(a, b, ignored);
}

} // namespace

OutputStatus WriteOutputFile(const std::filesystem::path& target, std::string_view bytes,
                             const std::filesystem::path& dataFile)
{
    if (target.empty() || target.filename().empty())
        return Fail(OutputError::EmptyName);
    if (SameFile(target, dataFile))
        return Fail(OutputError::IsDataFile);
    std::error_code status;
    const auto type = std::filesystem::status(target, status).type();
    if (type != std::filesystem::file_type::not_found && type != std::filesystem::file_type::regular &&
        type != std::filesystem::file_type::none)
        return Fail(OutputError::NotRegularFile);

    const std::filesystem::path folder = target.has_parent_path() ? target.parent_path() : ".";
    std::string pattern = (folder / ("." + target.filename().string() + ".XXXXXX")).string();
    const int fd = ::mkstemp(pattern.data());
    if (fd < 0)
        return Fail(OutputError::CreateFailed, errno);
    const std::filesystem::path temporary = pattern;
    const auto abandon = [&](OutputError error, int systemError) {
        ::close(fd);
        ::unlink(temporary.c_str());
        return Fail(error, systemError);
    };

    // Readable like any file the user makes (mkstemp creates it 0600), within the umask.
    const mode_t mask = ::umask(0);
    ::umask(mask);
    ::fchmod(fd, 0666 & ~mask);

    std::size_t written = 0;
    while (written < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + written, bytes.size() - written);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return abandon(OutputError::WriteFailed, n < 0 ? errno : ENOSPC);
        written += static_cast<std::size_t>(n);
    }
    if (::fsync(fd) != 0)
        return abandon(OutputError::WriteFailed, errno);
    if (::close(fd) != 0) {
        const int error = errno;
        ::unlink(temporary.c_str());
        return Fail(OutputError::WriteFailed, error);
    }
    if (::rename(temporary.c_str(), target.c_str()) != 0) {
        const int error = errno;
        ::unlink(temporary.c_str());
        return Fail(OutputError::RenameFailed, error);
    }
    return {};
}

std::string DescribeOutputError(const OutputStatus& status, const std::string& fileName)
{
    const std::string file = "「" + fileName + "」";
    std::string reason;
    switch (status.error) {
    case OutputError::None:
        return {};
    case OutputError::EmptyName:
        return "書き込むファイルの名前がありません。";
    case OutputError::IsDataFile:
        return file + "は当選番号のデータファイルです。データファイルには書き込みません。";
    case OutputError::NotRegularFile:
        return file + "はフォルダなどのファイルでないものなので、書き込めませんでした。";
    case OutputError::CreateFailed:
        reason = "ファイルを作れませんでした";
        break;
    case OutputError::WriteFailed:
        reason = "書き込みに失敗しました";
        break;
    case OutputError::RenameFailed:
        reason = "書き終えたファイルを置けませんでした";
        break;
    }
    std::string detail;
    switch (status.systemError) {
    case ENOENT:
        detail = "（フォルダがありません）";
        break;
    case EACCES:
    case EPERM:
        detail = "（書き込む権限がありません）";
        break;
    case ENOSPC:
        detail = "（ディスクに空きがありません）";
        break;
    case EROFS:
        detail = "（読み取り専用の場所です）";
        break;
    default:
        break;
    }
    return file + "に" + reason + detail + "。元のファイルはそのままです。";
}

} // namespace zentrix::analysis
