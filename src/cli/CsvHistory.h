// CsvHistory: LOTO6 results as CSV, the layouts people download (Japanese headers, UTF-8 or
// Shift_JIS) read into checked draws, and the stored draws written back as plain CSV.
#pragma once

#include "TextEncoding.h"
#include "store/DrawRecord.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace zentrix::cli {

/// The header export writes and import reads back: draw number, date (left empty), six numbers, bonus.
inline constexpr std::string_view kCsvHeader = "draw,date,n1,n2,n3,n4,n5,n6,bonus";

/// One checked row: six distinct numbers 1..43 in ascending order and a bonus 1..43 not among them.
struct CsvDraw
{
    std::size_t line = 0; ///< 1-based line of the file
    RecordNo draw = 0;
    DrawNumbers numbers{};
    std::int16_t bonus = 0;
};

struct CsvReadResult
{
    bool ok = false;
    TextEncoding encoding = TextEncoding::Utf8;
    std::size_t errorLine = 0; ///< the line at fault, 0 when the fault is not on one line
    std::string error;         ///< the reason in Japanese, without the line number
    std::vector<CsvDraw> draws;
};

/**
 * Reads a results file. The first non-blank line is the header; its columns are found by name:
 * the draw number 開催回 / 回別 / draw, the six numbers 第1数字 … 第6数字 / 本数字1 … 本数字6 /
 * n1 … n6, the bonus ボーナス数字 / bonus; a date column (日付 / 抽せん日 / date) and any other
 * column are ignored. Fields may be quoted; full-width digits count as digits; a draw number may
 * be written 第12回. Every row must continue the draw numbers of the row above by one. The numbers
 * of a row may come in any order and are returned ascending. The first fault stops the reading.
 */
CsvReadResult ReadHistoryCsv(std::string_view bytes);

/// "12,,3,11,18,25,36,42,7": a stored draw as export writes it (numbers in stored order).
std::string CsvLine(RecordNo draw, const DrawRecord& record);

} // namespace zentrix::cli
