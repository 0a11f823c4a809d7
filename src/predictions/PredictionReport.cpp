// PredictionReport: CSV lines, tier summaries and the temporary-file-and-rename write.
#include "predictions/PredictionReport.h"

#include "generator/SettingsDescription.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zentrix {
namespace {

std::string CsvField(const std::string& text)
{
    if (text.find_first_of(",\"\r\n") == std::string::npos)
        return text;
    std::string quoted = "\"";
    for (const char c : text) {
        if (c == '"')
            quoted += '"';
        quoted += c;
    }
    return quoted + '"';
}

bool SameFile(const std::filesystem::path& a, const std::filesystem::path& b)
{
    std::error_code ec;
    if (std::filesystem::equivalent(a, b, ec))
        return true;
    // Not there yet (or not comparable): compare the spelled-out paths.
    return std::filesystem::weakly_canonical(a, ec) == std::filesystem::weakly_canonical(b, ec);
}

std::string Reason(int error)
{
    switch (error) {
    case ENOSPC:
    case EDQUOT:
        return "ディスクの空きがありません";
    case EACCES:
    case EPERM:
        return "書き込みの権限がありません";
    case EROFS:
        return "読み取り専用の場所です";
    case ENOENT:
    case ENOTDIR:
        return "フォルダーがありません";
    default:
        return "エラー番号 " + std::to_string(error);
    }
}

bool WriteAll(int fd, const std::string& text)
{
    std::size_t done = 0;
    while (done < text.size()) {
        const ssize_t n = ::write(fd, text.data() + done, text.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += static_cast<std::size_t>(n);
    }
    return true;
}

} // namespace

std::string SourceName(BatchSource source)
{
    switch (source) {
    case BatchSource::CommandLine:
        return "CLI";
    case BatchSource::Wheel:
        return "保証";
    case BatchSource::Window:
        break;
    }
    return "窓";
}

std::string DescribeMaking(BatchSource source, const GenerationSettings& settings, const std::string& note)
{
    if (source != BatchSource::Wheel)
        return DescribeSettings(settings);
    return note.empty() ? std::string("組み合わせ保証") : note;
}

bool IsRepeatable(BatchSource source)
{
    return source != BatchSource::Wheel;
}

std::string TierSummary(const BatchScore& score)
{
    if (!score.scored)
        return "未抽選";
    std::string text;
    for (int k = 0; k < kPrizeKinds - 1; ++k) {
        const long long n = score.tally.count[static_cast<std::size_t>(k)];
        if (n == 0)
            continue;
        if (!text.empty())
            text += ", ";
        text += PrizeName(static_cast<Prize>(k));
        text += ' ';
        text += std::to_string(n);
    }
    return text.empty() ? "当選なし" : text;
}

std::string YenText(long long yen)
{
    std::string digits = std::to_string(yen < 0 ? -yen : yen);
    for (int at = static_cast<int>(digits.size()) - 3; at > 0; at -= 3)
        digits.insert(static_cast<std::size_t>(at), ",");
    return (yen < 0 ? "-¥" : "¥") + digits;
}

std::string PredictionsCsvHeader()
{
    return "batch,created,draw,source,seed,settings,row,n1,n2,n3,n4,n5,n6,prize\r\n";
}

std::string PredictionsCsvLines(const Batch& batch, const DrawTable& history)
{
    const std::optional<DrawRow> draw = StoredDraw(history, batch.draw);
    const std::string front = std::to_string(batch.id) + ',' + CsvField(FormatLocalTime(batch.createdAt)) +
                              ',' + std::to_string(batch.draw) + ',' + SourceName(batch.source) + ',' +
                              std::to_string(batch.seed) + ',' +
                              CsvField(DescribeMaking(batch.source, batch.settings, batch.note));
    std::string lines;
    for (std::size_t row = 0; row < batch.sets.size(); ++row) {
        lines += front;
        lines += ',';
        lines += std::to_string(row + 1);
        for (const std::int16_t n : batch.sets[row]) {
            lines += ',';
            lines += std::to_string(n);
        }
        lines += ',';
        if (draw)
            lines += PrizeName(ScoreSet(batch.sets[row], *draw).prize);
        lines += "\r\n";
    }
    return lines;
}

OutputError WriteOutputFile(const std::filesystem::path& target, const std::string& text,
                            const std::vector<std::filesystem::path>& protectedFiles)
{
    const std::string name = "「" + target.string() + "」";
    for (const std::filesystem::path& guarded : protectedFiles) {
        if (!guarded.empty() && SameFile(target, guarded))
            return name + "は Zentrix のデータのファイルです。出力先には別のファイルを指定して下さい。";
    }
    std::error_code ec;
    if (std::filesystem::is_directory(target, ec))
        return name + "はフォルダーです。出力先にはファイルを指定して下さい。";

    // The temporary file sits beside the target so that the rename never crosses file systems; a
    // symbolic link as target is replaced by the file it points to.
    std::filesystem::path final = target;
    if (std::filesystem::is_symlink(target, ec))
        final = std::filesystem::weakly_canonical(target, ec);
    std::filesystem::path temp = final;
    temp += ".tmp-XXXXXX";
    std::string pattern = temp.string();
    const int fd = ::mkstemp(pattern.data());
    if (fd < 0)
        return name + "を作れません（" + Reason(errno) + "）。";
    const bool written = WriteAll(fd, text) && ::fsync(fd) == 0;
    const int writeErrno = errno;
    // Keep the permissions an existing target had; a new file gets the usual ones.
    struct stat old
    {
    };
    if (::stat(final.c_str(), &old) == 0)
        ::fchmod(fd, old.st_mode & 07777);
    else
        ::fchmod(
            fd, 0644 & ~[] {
                const mode_t mask = ::umask(0);
                ::umask(mask);
                return mask;
            }());
    const bool closed = ::close(fd) == 0;
    if (!written || !closed || ::rename(pattern.c_str(), final.c_str()) != 0) {
        const int failure = written && closed ? errno : writeErrno;
        ::unlink(pattern.c_str());
        return name + "に書き込めませんでした（" + Reason(failure) + "）。元のファイルはそのままです。";
    }
    return {};
}

} // namespace zentrix
