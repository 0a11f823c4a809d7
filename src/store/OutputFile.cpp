// OutputFile: the guard against the protected files, then copy, flush and rename.
#include "OutputFile.h"

#include "FileDevice.h"
#include "StoreStatus.h"

#include <cerrno>
#include <cstdint>
#include <random>

namespace zentrix {
namespace fs = std::filesystem;
namespace {

/// Where a path leads, following symbolic links even when the last one dangles (it names where
/// a write would create the file).
fs::path Resolve(const fs::path& path)
{
    std::error_code ec;
    fs::path at = fs::absolute(path, ec);
    for (int hops = 0; hops < 40 && fs::is_symlink(fs::symlink_status(at, ec)); ++hops) {
        const fs::path next = fs::read_symlink(at, ec);
        if (ec)
            break;
        at = next.is_absolute() ? next : at.parent_path() / next;
    }
    return fs::weakly_canonical(at, ec);
}

bool SameFile(const fs::path& a, const fs::path& b)
{
    std::error_code ec;
    if (fs::exists(a, ec) && fs::exists(b, ec)) {
        const bool same = fs::equivalent(a, b, ec);
        if (!ec)
            return same;
    }
    // One of them does not exist yet (or cannot be looked at): where would each land?
    const fs::path left = Resolve(a);
    return !left.empty() && left == Resolve(b);
}

std::string CopyName(const fs::path& target)
{
    static std::mt19937_64 engine{std::random_device{}()};
    return "." + target.filename().string() + ".zentrix-" + std::to_string(engine() % 1000000000);
}

} // namespace

std::vector<fs::path> GuardedFiles(const fs::path& dataFile)
{
    const fs::path folder = dataFile.has_parent_path() ? dataFile.parent_path() : fs::path(".");
    std::vector<fs::path> files{dataFile, folder / fs::path(std::string(kPredictionsFileName))};
    // Through a link, the predictions database lies beside the file the link points to.
    std::error_code ec;
    if (fs::is_symlink(fs::symlink_status(dataFile, ec))) {
        const fs::path real = fs::weakly_canonical(fs::absolute(dataFile, ec), ec);
        if (!ec && real.has_parent_path())
            files.push_back(real.parent_path() / fs::path(std::string(kPredictionsFileName)));
    }
    return files;
}

OutputStatus WriteOutputFile(const fs::path& target, std::string_view contents,
                             std::span<const fs::path> guarded)
{
    OutputStatus status;
    for (const fs::path& file : guarded) {
        if (SameFile(target, file)) {
            status.error = OutputError::GuardedFile;
            status.guarded = file;
            return status;
        }
    }
    std::error_code ec;
    fs::path real = target;
    if (fs::is_symlink(fs::symlink_status(target, ec)))
        real = Resolve(target);
    const fs::file_status existing = fs::status(real, ec);
    if (fs::exists(existing) && !fs::is_regular_file(existing)) {
        status.error = OutputError::NotRegularFile;
        return status;
    }
    const auto fail = [&](int err) {
        status.error = OutputError::WriteFailed;
        status.systemError = err;
        return status;
    };
    if (ec && ec != std::errc::no_such_file_or_directory)
        return fail(ec.value());

    const fs::path folder = real.has_parent_path() ? real.parent_path() : fs::path(".");
    // The copy is created by this open and nothing else: a link planted under its name is refused.
    const std::unique_ptr<FileDevice> copy = MakeNativeFileDevice(FileAccess::CreateNew);
    fs::path copyPath;
    for (int attempt = 0; attempt < 16 && copyPath.empty(); ++attempt) {
        const fs::path candidate = folder / CopyName(real);
        const StoreStatus opened = copy->open(candidate);
        if (opened)
            copyPath = candidate;
        else if (opened.systemError != EEXIST)
            return fail(opened.systemError != 0 ? opened.systemError : EIO);
    }
    if (copyPath.empty())
        return fail(EEXIST);
    const auto data = std::span(reinterpret_cast<const std::uint8_t*>(contents.data()), contents.size());
    int err = copy->writeAt(0, data);
    if (err == 0)
        err = copy->sync();
    copy->close();
    ec.clear();
    if (err == 0 && fs::exists(existing))
        fs::permissions(copyPath, existing.permissions(), ec);
    if (err == 0 && !ec)
        fs::rename(copyPath, real, ec);
    if (err != 0 || ec) {
        std::error_code ignored;
        fs::remove(copyPath, ignored);
        return fail(err != 0 ? err : ec.value());
    }
    return status;
}

std::string DescribeOutputError(const OutputStatus& status, const std::string& fileName)
{
    switch (status.error) {
    case OutputError::None:
        return {};
    case OutputError::GuardedFile:
        return "「" + fileName + "」は" +
               (status.guarded.filename() == fs::path(std::string(kPredictionsFileName))
                    ? "予想番号のデータベース"
                    : "当選番号のデータファイル") +
               "「" + status.guarded.string() + "」なので、上書きしません。別のファイル名を指定して下さい。";
    case OutputError::NotRegularFile:
        return "「" + fileName + "」はフォルダなど通常のファイルではないため、書き込めませんでした。";
    case OutputError::WriteFailed: {
        std::string text = "ファイル「" + fileName + "」を書き込めませんでした。";
        if (const std::string reason = DescribeSystemError(status.systemError); !reason.empty())
            text += "\n（理由：" + reason + "）";
        return text;
    }
    }
    return {};
}

} // namespace zentrix
