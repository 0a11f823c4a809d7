// InputFile: the bounded whole-file read and its reasons.
#include "history_io/InputFile.h"

#include "store/StoreStatus.h"

#include <cerrno>
#include <fstream>

namespace zentrix {

InputFileStatus ReadInputBytes(const std::filesystem::path& path, std::string& bytes, InputKinds kinds,
                               std::size_t limit)
{
    namespace fs = std::filesystem;
    bytes.clear();
    std::error_code ec;
    const fs::file_status status = fs::status(path, ec);
    if (ec) {
        const int err = ec.value();
        if (err == ENOENT || err == ENOTDIR)
            return {InputFileError::NotFound, err};
        if (err == EACCES || err == EPERM)
            return {InputFileError::NotPermitted, err};
        return {InputFileError::ReadFailed, err};
    }
    if (!fs::exists(status))
        return {InputFileError::NotFound, ENOENT};
    if (fs::is_directory(status))
        return {InputFileError::IsFolder, EISDIR};
    if (kinds == InputKinds::PlainFilesOnly && !fs::is_regular_file(status))
        return {InputFileError::NotRegularFile, 0};
    errno = 0;
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        const int err = errno;
        if (err == EACCES || err == EPERM)
            return {InputFileError::NotPermitted, err};
        return {InputFileError::ReadFailed, err};
    }
    return ReadInputStream(in, bytes, limit);
}

InputFileStatus ReadInputStream(std::istream& in, std::string& bytes, std::size_t limit)
{
    bytes.clear();
    char buffer[65536];
    while (in) {
        in.read(buffer, sizeof buffer);
        const auto got = static_cast<std::size_t>(in.gcount());
        if (bytes.size() + got > limit) {
            bytes.clear();
            return {InputFileError::TooLarge, 0};
        }
        bytes.append(buffer, got);
    }
    if (in.bad()) {
        bytes.clear();
        return {InputFileError::ReadFailed, EIO};
    }
    return {};
}

std::string TooLargeInputMessage(const std::string& source, std::size_t limit)
{
    return source + "は大きすぎるため読みません（" + std::to_string(limit >> 20) +
           " MiB まで）。当選番号の CSV や予想番号のファイルならこの大きさにはなりません。";
}

std::string DescribeInputFileError(const InputFileStatus& status, const std::string& name, std::size_t limit)
{
    switch (status.error) {
    case InputFileError::None:
        return {};
    case InputFileError::NotFound:
        return name + "が見つかりません。ファイルの名前と場所を確かめて下さい。";
    case InputFileError::NotPermitted:
        return name + "を読む権限がありません。";
    case InputFileError::IsFolder:
        return name + "はフォルダです。ファイルを指定して下さい。";
    case InputFileError::NotRegularFile:
        return name + "は通常のファイルではない（パイプやデバイスなど）ため、読みません。";
    case InputFileError::TooLarge:
        return TooLargeInputMessage(name, limit);
    case InputFileError::ReadFailed: {
        std::string text = name + "を読み込めませんでした。";
        if (const std::string reason = DescribeSystemError(status.systemError); !reason.empty())
            text += "（理由：" + reason + "）";
        return text;
    }
    }
    return {};
}

} // namespace zentrix
