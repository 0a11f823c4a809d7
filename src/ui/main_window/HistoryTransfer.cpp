// HistoryTransfer: import and export of results through the window, over the shared core.
#include "ui/main_window/HistoryTransfer.h"

#include "history_io/CsvHistory.h"
#include "history_io/HistoryImport.h"
#include "history_io/InputFile.h"
#include "store/HistoryFile.h"
#include "store/OutputFile.h"
#include "ui/common/FileDialog.h"
#include "ui/common/MessageBox.h"
#include "ui/main_window/MainWindow.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QMenu>
#include <filesystem>

namespace zentrix::ui {
namespace {

const QString kImportTitle = QStringLiteral("当選番号の取り込み");
const QString kExportTitle = QStringLiteral("当選番号の書き出し");
const QString kCsvFilter = QStringLiteral("CSV ファイル (*.csv *.txt);;すべてのファイル (*)");
const QString kStopped = QStringLiteral("取り込みを中止しました。データファイルは変更していません。");
/// Warnings listed in the question; the rest are counted.
constexpr int kWarningsShown = 5;

QString Q(const std::string& text)
{
    return QString::fromStdString(text);
}

QString Draws(RecordNo first, RecordNo last)
{
    if (last < first)
        return QStringLiteral("0回分");
    return QStringLiteral("第%1回〜第%2回（%3回分）").arg(first).arg(last).arg(last - first + 1);
}

} // namespace

HistoryTransfer::HistoryTransfer(MainWindow& window)
    : m_window(window)
{
    setObjectName(QStringLiteral("HistoryTransfer"));
    QMenu* file = window.controls().mnuFile;
    QAction* exit = window.controls().mnuFileItem[0];
    m_import = new QAction(QStringLiteral("当選番号の取り込み(&I)…"), file);
    m_import->setObjectName(QStringLiteral("mnuImportResults"));
    m_export = new QAction(QStringLiteral("当選番号の書き出し(&E)…"), file);
    m_export->setObjectName(QStringLiteral("mnuExportResults"));
    m_dataFile = new QAction(QStringLiteral("データファイルの情報(&D)…"), file);
    m_dataFile->setObjectName(QStringLiteral("mnuDataFile"));
    file->insertAction(exit, m_import);
    file->insertAction(exit, m_export);
    file->insertAction(exit, m_dataFile);
    file->insertSeparator(exit);
    connect(m_import, &QAction::triggered, this, &HistoryTransfer::importResults);
    connect(m_export, &QAction::triggered, this, &HistoryTransfer::exportResults);
    connect(m_dataFile, &QAction::triggered, this, &HistoryTransfer::showDataFile);
}

QString HistoryTransfer::dataFilePath() const
{
    std::error_code ec;
    const std::filesystem::path full = std::filesystem::absolute(m_window.history().Path(), ec);
    return QDir::cleanPath(Q((ec ? m_window.history().Path() : full).string()));
}

QString HistoryTransfer::dataFileSummary() const
{
    return QStringLiteral("%1（%2回分）").arg(dataFilePath()).arg(m_window.history().Latest());
}

void HistoryTransfer::importResults()
{
    HistoryFile& history = m_window.history();
    const QString csvPath = FileDialog::choose(
        &m_window, {FileDialog::Mode::Open, kImportTitle + QStringLiteral(" — ") + dataFileSummary(),
                    QFileInfo(dataFilePath()).absolutePath(), kCsvFilter});
    if (csvPath.isEmpty())
        return;
    const std::string csvName = csvPath.toStdString();
    const auto refuse = [&](const QString& reason) {
        MessageBox::show(&m_window, kImportTitle, reason + QLatin1Char('\n') + kStopped,
                         MessageBox::Icon::Exclamation);
    };

    std::string bytes;
    if (const InputFileStatus read = ReadInputBytes(csvName, bytes, InputKinds::PlainFilesOnly); !read) {
        refuse(Q(DescribeInputFileError(read, "CSV ファイル「" + csvName + "」")));
        return;
    }
    const CsvReadResult csv = ReadHistoryCsv(bytes);
    if (!csv.ok) {
        refuse(csv.errorLine > 0
                   ? QStringLiteral("「%1」の%2行目: %3").arg(csvPath).arg(csv.errorLine).arg(Q(csv.error))
                   : QStringLiteral("「%1」: %2").arg(csvPath, Q(csv.error)));
        return;
    }
    const std::string dataName = dataFilePath().toStdString();
    const ImportPlan plan = PlanImport(history, dataName, csv.draws);
    if (!plan.ok()) {
        const QString where =
            plan.csvLine > 0 ? QStringLiteral("「%1」の%2行目: ").arg(csvPath).arg(plan.csvLine) : QString();
        // The plan's own message already says that nothing was changed.
        MessageBox::show(&m_window, kImportTitle, where + Q(plan.message), MessageBox::Icon::Exclamation);
        return;
    }

    QString found = QStringLiteral("取り込む CSV ファイル: %1\n文字コード: %2%3\n")
                        .arg(csvPath, Q(std::string(EncodingName(csv.encoding))),
                             csv.newestFirst ? QStringLiteral("（新しい回が上の並び）") : QString());
    found += csv.draws.empty() ? QStringLiteral("CSV の当選番号: なし\n")
                               : QStringLiteral("CSV の当選番号: %1\n")
                                     .arg(Draws(csv.draws.front().draw, csv.draws.back().draw));
    found += QStringLiteral("　新しく追加する回: %1\n")
                 .arg(Draws(plan.latestBefore + 1, plan.latestBefore + plan.added));
    if (plan.emptyAdded > 0)
        found +=
            QStringLiteral("　（うち当選番号の無い回: %1回分。空きレコードにします）\n").arg(plan.emptyAdded);
    found += QStringLiteral("　保存済みと同じ回: %1回分\n").arg(plan.skipped);
    if (plan.filled > 0)
        found += QStringLiteral("　データファイルの空きレコードに入れる回: %1回分\n").arg(plan.filled);
    found += QStringLiteral("データファイル: %1\n").arg(dataFileSummary());
    if (!csv.warnings.empty()) {
        found += QStringLiteral("\n注意（%1件）:\n").arg(csv.warnings.size());
        int shown = 0;
        for (const CsvWarning& warning : csv.warnings) {
            if (shown++ == kWarningsShown) {
                found += QStringLiteral("ほか%1件\n").arg(csv.warnings.size() - kWarningsShown);
                break;
            }
            found += QStringLiteral("%1行目: %2\n").arg(warning.line).arg(Q(warning.text));
        }
    }
    if (plan.writes.empty()) {
        MessageBox::show(
            &m_window, kImportTitle,
            found +
                QStringLiteral("\n新しく取り込む当選番号はありません。データファイルは変更していません。"),
            MessageBox::Icon::Information);
        return;
    }
    if (!MessageBox::ask(&m_window, kImportTitle, found + QStringLiteral("\n取り込みますか？"),
                         QStringLiteral("取り込む(&Y)"), QStringLiteral("やめる(&N)")))
        return;

    if (const ImportPlan applied = ApplyImport(history, dataName, plan); !applied.ok()) {
        MessageBox::show(&m_window, kImportTitle, Q(applied.message), MessageBox::Icon::Critical);
        return;
    }
    // Text9 and everything the editor derives from Latest follow the new file at once.
    m_window.setLatest(history.Latest());
    m_window.setStatusText(QStringLiteral("%1を取り込みました。")
                               .arg(Draws(plan.latestBefore + 1, plan.latestBefore + plan.added)));
}

void HistoryTransfer::exportResults()
{
    HistoryFile& history = m_window.history();
    std::vector<DrawRecord> draws;
    if (const StoreStatus read = ReadStoredDraws(history, draws); !read) {
        MessageBox::show(&m_window, kExportTitle, Q(DescribeStoreError(read, dataFilePath().toStdString())),
                         MessageBox::Icon::Critical);
        return;
    }
    if (draws.empty()) {
        MessageBox::show(
            &m_window, kExportTitle,
            QStringLiteral("書き出す当選番号がありません。\nデータファイル: %1").arg(dataFileSummary()),
            MessageBox::Icon::Information);
        return;
    }
    const QString suggested =
        QFileInfo(dataFilePath()).absoluteDir().filePath(QStringLiteral("loto6-results.csv"));
    const QString target = FileDialog::choose(
        &m_window, {FileDialog::Mode::Save, kExportTitle + QStringLiteral(" — ") + dataFileSummary(),
                    suggested, QStringLiteral("CSV ファイル (*.csv);;すべてのファイル (*)")});
    if (target.isEmpty())
        return;
    const std::string text = HistoryCsvText(draws, CsvLayout::Spreadsheet);
    const std::vector<std::filesystem::path> guarded = GuardedFiles(history.Path());
    if (const OutputStatus written = WriteOutputFile(target.toStdString(), text, guarded); !written) {
        MessageBox::show(&m_window, kExportTitle, Q(DescribeOutputError(written, target.toStdString())),
                         MessageBox::Icon::Critical);
        return;
    }
    const QString done = QStringLiteral("%1を「%2」に書き出しました。")
                             .arg(Draws(1, static_cast<RecordNo>(draws.size())), target);
    m_window.setStatusText(done);
    MessageBox::show(
        &m_window, kExportTitle,
        done + QStringLiteral("\nデータファイル: %1\n形式: UTF-8 (BOM付き) の CSV、見出しは日本語です。"
                              "表計算ソフトでそのまま開け、取り込みで読み戻せます。")
                   .arg(dataFileSummary()),
        MessageBox::Icon::Information);
}

void HistoryTransfer::showDataFile()
{
    const RecordNo latest = m_window.history().Latest();
    MessageBox::show(&m_window, QStringLiteral("データファイルの情報"),
                     QStringLiteral("当選番号のデータファイル:\n%1\n\n保存されている当選番号: %2\n\n"
                                    "Zentrix は起動したフォルダの Loto6data.dt を使います"
                                    "（デスクトップのメニューから起動したときはホームフォルダ）。")
                         .arg(dataFilePath(), latest > 0 ? Draws(1, latest) : QStringLiteral("0回分")),
                     MessageBox::Icon::Information);
}

} // namespace zentrix::ui
