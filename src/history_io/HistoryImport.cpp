// HistoryImport: check the rows against the stored draws, write a synced copy, rename it into place.
#include "history_io/HistoryImport.h"

#include <algorithm>

namespace zentrix {
namespace {

const std::string kUnchanged = "データファイルは変更していません。";

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

ImportPlan Failed(ImportError error, std::string message, std::size_t line = 0)
{
    ImportPlan plan;
    plan.error = error;
    plan.message = std::move(message);
    plan.csvLine = line;
    return plan;
}

} // namespace

ImportPlan PlanImport(HistoryFile& history, const std::string& fileName, const std::vector<CsvDraw>& draws)
{
    std::vector<DrawRecord> stored;
    if (const StoreStatus read = ReadStoredDraws(history, stored); !read)
        return Failed(ImportError::DataFile, DescribeStoreError(read, fileName));
    const RecordNo latest = history.Latest();

    ImportPlan plan;
    plan.latestBefore = latest;
    // An empty record inside the history (a file made elsewhere may have one) is filled by its row.
    // Empty rows above Latest wait for a draw with a result: trailing ones would change nothing.
    std::vector<HistoryFile::RecordWrite> emptyRows;
    for (const CsvDraw& row : draws) {
        if (row.draw <= latest) {
            if (row.empty)
                continue; // the file keeps what it has
            const DrawRecord& have = stored[static_cast<std::size_t>(row.draw - 1)];
            if (have.isEmpty()) {
                plan.writes.push_back({row.draw, row.numbers, row.bonus});
                ++plan.filled;
                continue;
            }
            if (!SameDraw(have, row))
                return Failed(ImportError::Conflict,
                              "第" + std::to_string(row.draw) + "回はデータファイルに別の当選番号（" +
                                  NumbersText(have.Numbers, have.Bonus) + "）で保存されています。CSV では " +
                                  NumbersText(row.numbers, row.bonus) + " です。取り込みを中止しました。" +
                                  kUnchanged,
                              row.line);
            ++plan.skipped;
            continue;
        }
        const RecordNo expected = latest + 1 + plan.added + static_cast<RecordNo>(emptyRows.size());
        if (row.draw != expected)
            return Failed(ImportError::Gap,
                          "データファイルの最新は第" + std::to_string(latest) + "回なので、次は第" +
                              std::to_string(expected) + "回のはずですが、第" + std::to_string(row.draw) +
                              "回です（第" + std::to_string(expected) + "回" +
                              (row.draw - 1 > expected ? "〜第" + std::to_string(row.draw - 1) + "回" : "") +
                              "が抜けています）。取り込みを中止しました。" + kUnchanged,
                          row.line);
        if (row.empty) {
            emptyRows.push_back({row.draw, {}, 0});
            continue;
        }
        plan.writes.insert(plan.writes.end(), emptyRows.begin(), emptyRows.end());
        plan.added += static_cast<RecordNo>(emptyRows.size());
        plan.emptyAdded += static_cast<RecordNo>(emptyRows.size());
        emptyRows.clear();
        plan.writes.push_back({row.draw, row.numbers, row.bonus});
        ++plan.added;
    }
    return plan;
}

ImportPlan ApplyImport(HistoryFile& history, const std::string& fileName, const ImportPlan& plan,
                       const CopyDeviceFactory& copyDevice)
{
    if (!plan.ok() || plan.writes.empty())
        return plan;
    if (const StoreStatus replaced = history.ReplaceHistory(plan.writes, copyDevice); !replaced) {
        if (replaced.error == StoreError::OwnerNotKept || replaced.error == StoreError::TooLarge)
            return Failed(ImportError::DataFile,
                          DescribeStoreError(replaced, fileName) + Reason(replaced.systemError));
        if (replaced.record > 0 && replaced.error == StoreError::WriteFailed)
            return Failed(ImportError::DataFile, DescribeStoreError(replaced, fileName));
        return Failed(ImportError::DataFile, "データファイル「" + fileName +
                                                 "」を書き換えられませんでした。" + kUnchanged +
                                                 Reason(replaced.systemError));
    }
    return plan;
}

ImportResult ImportDraws(const std::filesystem::path& dataFile, const std::string& fileName,
                         const std::vector<CsvDraw>& draws, const CopyDeviceFactory& copyDevice)
{
    ImportResult result;
    const auto fail = [&](const ImportPlan& plan) {
        result.error = plan.error;
        result.message = plan.message;
        result.csvLine = plan.csvLine;
        result.added = 0;
        return result;
    };

    std::error_code ec;
    const bool existed = std::filesystem::exists(std::filesystem::symlink_status(dataFile, ec));

    HistoryFile original(dataFile);
    if (const StoreStatus opened = original.OpenHistory(); !opened) {
        std::string message = DescribeStoreError(opened, fileName);
        if (opened.error == StoreError::InUse) {
            message +=
                "\n（Zentrix のウィンドウがこのデータファイルを開いている間は、ウィンドウのメニュー"
                "「ファイル → 当選番号の取り込み…」で取り込んで下さい。コマンドラインから取り込むには "
                "Zentrix を終了して下さい。別の取り込みの最中なら、終わってからもう一度試して下さい。）";
            return fail(Failed(ImportError::InUse, message));
        }
        return fail(Failed(ImportError::DataFile, message));
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

    result.latestBefore = original.Latest();
    const ImportPlan plan = PlanImport(original, fileName, draws);
    if (!plan.ok())
        return fail(plan);
    if (plan.writes.empty()) {
        cleanup.armed = false; // a successful import of nothing still leaves a data file
        result.skipped = plan.skipped;
        result.latestAfter = original.Latest();
        return result;
    }
    if (const ImportPlan applied = ApplyImport(original, fileName, plan, copyDevice); !applied.ok())
        return fail(applied);
    cleanup.armed = false;
    result.latestAfter = original.Latest();
    result.added = plan.added;
    result.emptyAdded = plan.emptyAdded;
    result.skipped = plan.skipped;
    result.filled = plan.filled;
    return result;
}

} // namespace zentrix
