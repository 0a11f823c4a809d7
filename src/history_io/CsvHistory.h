// CsvHistory: LOTO6 results as CSV, the layouts people download (Japanese headers, UTF-8 or
// Shift_JIS, newest first or oldest first) read into checked draws, and the stored draws written
// back as CSV, plain or for spreadsheet programs.
#pragma once

#include "history_io/TextEncoding.h"
#include "store/DrawRecord.h"
#include "store/StoreStatus.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace zentrix {

/// The header `zentrix-cli export` writes and import reads back: draw number, date (left empty),
/// six numbers, bonus.
inline constexpr std::string_view kCsvHeader = "draw,date,n1,n2,n3,n4,n5,n6,bonus";

/// The header of the spreadsheet layout: the Japanese column names result sites use.
inline constexpr std::string_view kJapaneseCsvHeader =
    "開催回,日付,第1数字,第2数字,第3数字,第4数字,第5数字,第6数字,ボーナス数字";

/// One checked row: six numbers 1..43 in ascending order and a bonus 1..43, or a draw number
/// with every number cell empty, which is how export writes an empty record inside a history.
struct CsvDraw
{
    std::size_t line = 0; ///< 1-based line of the file
    RecordNo draw = 0;
    DrawNumbers numbers{}; ///< all 0 for an empty row
    std::int16_t bonus = 0;
    bool empty = false; ///< no result for this draw: the numbers and the bonus cells are empty
};

/// A row that the history takes but that is no valid LOTO6 result (a number twice, the bonus
/// among the numbers): the editor accepts such draws, so import takes them back, with a warning.
struct CsvWarning
{
    std::size_t line = 0;
    std::string text; ///< in Japanese, without the line number
};

struct CsvReadResult
{
    bool ok = false;
    TextEncoding encoding = TextEncoding::Utf8;
    bool newestFirst = false;   ///< the rows ran from the latest draw down
    std::size_t errorLine = 0;  ///< the line at fault, 0 when the fault is not on one line
    std::string error;          ///< the reason in Japanese, without the line number
    std::vector<CsvDraw> draws; ///< always in ascending draw order
    std::vector<CsvWarning> warnings;
};

/**
 * Reads a results file. The first non-blank line is the header; its columns are found by name,
 * letters in any case and full-width letters and digits read as their ASCII forms: the draw number
 * 開催回 / 回別 / 回号 / draw, the six numbers 第1数字 … 第6数字 / 本数字1 … 本数字6 / n1 … n6, the
 * bonus ボーナス数字 / BONUS数字 / bonus; a date column and any other column (an empty one after a
 * trailing comma included) are ignored. Fields may be quoted; full-width digits count as digits; a
 * draw number may be written 第12回. The draw numbers run up by one from row to row, or down by one
 * (newest first); the draws come back ascending either way. The numbers of a row may come in any
 * order and are returned ascending. A number twice or a bonus among the numbers is a warning. The
 * first fault stops the reading.
 */
CsvReadResult ReadHistoryCsv(std::string_view bytes);

/// "12,,3,11,18,25,36,42,7": a stored draw as export writes it (numbers in stored order);
/// "12,,,,,,,," for an empty record.
std::string CsvLine(RecordNo draw, const DrawRecord& record);

enum class CsvLayout
{
    /// kCsvHeader and LF line ends, UTF-8 without a byte order mark: for scripts and pipes.
    Plain,
    /// A byte order mark, kJapaneseCsvHeader and CR LF line ends: spreadsheet programs open it
    /// with the Japanese text intact.
    Spreadsheet,
};

/// The whole CSV text of draws 1..n, one per record given, in the chosen layout.
std::string HistoryCsvText(const std::vector<DrawRecord>& draws, CsvLayout layout);

class HistoryFile;

/// Reads draws 1..Latest of an open history. On failure `draws` is empty.
StoreStatus ReadStoredDraws(HistoryFile& history, std::vector<DrawRecord>& draws);

} // namespace zentrix
