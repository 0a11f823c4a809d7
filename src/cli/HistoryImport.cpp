// HistoryImport: check the rows against the stored draws, write a synced copy, rename it into place.
#include "HistoryImport.h"

#include "Commands.h"
#include "store/HistoryFile.h"

#include <algorithm>

namespace zentrix::cli {
namespace {

std::string Reason(int err)
{
    const std::string reason = DescribeSystemError(err);
    return reason.empty() ? std::string() : "（理由：" + reason + "）";
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

    std::error_code ec;
    const bool existed = std::filesystem::exists(std::filesystem::symlink_status(dataFile, ec));

    HistoryFile original(dataFile);
    if (const StoreStatus opened = original.OpenHistory(); !opened) {
        std::string message = DescribeStoreError(opened, fileName);
        if (opened.error == StoreError::InUse)
            message += "\n（データファイルを開いている Zentrix を終了するか、実行中のコマンドが終わってから"
                       "取り込んで下さい。）";
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
    } cleanup{original, dataFile, !existed};

    const RecordNo latest = original.Latest();
    result.latestBefore = latest;
    std::vector<DrawRecord> stored;
    stored.reserve(static_cast<std::size_t>(latest));
    for (RecordNo d = 1; d <= latest; ++d) {
        if (const StoreStatus read = original.ReadDraw(d); !read)
            return fail(kExitDataFile, DescribeStoreError(read, fileName));
        stored.push_back(original.CurrentRecord());
    }

    // An empty record inside the history (a file made elsewhere may have one) is filled by its row.
    std::vector<HistoryFile::RecordWrite> writes;
    RecordNo appended = 0;
    for (const CsvDraw& row : draws) {
        if (row.draw <= latest) {
            const DrawRecord& have = stored[static_cast<std::size_t>(row.draw - 1)];
            if (have.isEmpty()) {
                writes.push_back({row.draw, row.numbers, row.bonus});
                continue;
            }
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
        const RecordNo expected = latest + 1 + appended;
        if (row.draw != expected)
            return fail(kExitFailure,
                        "データファイルの最新は第" + std::to_string(latest) + "回なので、次は第" +
                            std::to_string(expected) + "回のはずですが、第" + std::to_string(row.draw) +
                            "回です（第" + std::to_string(expected) + "回" +
                            (row.draw - 1 > expected ? "〜第" + std::to_string(row.draw - 1) + "回" : "") +
                            "が抜けています）。取り込みを中止しました。" + unchanged,
                        row.line);
        writes.push_back({row.draw, row.numbers, row.bonus});
        ++appended;
    }
    if (writes.empty()) {
        cleanup.armed = false; // a successful import of nothing still leaves a data file
        result.latestAfter = latest;
        return result;
    }

    if (const StoreStatus replaced = original.ReplaceHistory(writes, copyDevice); !replaced) {
        if (replaced.error == StoreError::OwnerNotKept || replaced.error == StoreError::TooLarge)
            return fail(kExitDataFile, DescribeStoreError(replaced, fileName) + Reason(replaced.systemError));
        if (replaced.record > 0 && replaced.error == StoreError::WriteFailed)
            return fail(kExitDataFile, DescribeStoreError(replaced, fileName));
        return fail(kExitDataFile, "データファイル「" + fileName + "」を書き換えられませんでした。" +
                                       unchanged + Reason(replaced.systemError));
    }
    cleanup.armed = false;
    result.latestAfter = original.Latest();
    result.added = appended;
    result.filled = static_cast<RecordNo>(writes.size()) - appended;
    return result;
}

} // namespace zentrix::cli
