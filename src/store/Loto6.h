// Loto6: the facts of the game every layer shares (numbers 1..43, a draw of six distinct numbers
// and a bonus not among them) and the printed form of a run: the header line, the row label and
// the text of one number, as the results window prints them and zentrix-cli writes them.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace zentrix {

inline constexpr int kLowestNumber = 1;
inline constexpr int kHighestNumber = 43;
inline constexpr int kNumberCount = kHighestNumber - kLowestNumber + 1;
/// Winning numbers in a draw, and numbers in a predicted set.
inline constexpr int kSetSize = 6;

inline constexpr bool IsLotoNumber(int value)
{
    return value >= kLowestNumber && value <= kHighestNumber;
}

/// Six distinct numbers 1..43, in any order.
bool AreSixDistinctNumbers(std::span<const std::int16_t, kSetSize> numbers);
/// Six distinct numbers 1..43 and a bonus 1..43 that is not one of them.
bool IsValidDraw(std::span<const std::int16_t, kSetSize> numbers, int bonus);

/// The first line of every printed run.
inline constexpr std::string_view kPrintHeader = "Zentrix Predictor Ver.2.11";

/// "01" to "43": two digits, a leading zero below 10 (the text of a results-grid cell).
std::string NumberText(int number);

/// "001→" to "100→": the label of a row of the results grid (UTF-8).
std::string RowLabel(int row);

/// One printed line: the row label followed at once by the six numbers joined by " , ",
/// "001→03 , 11 , 17 , 25 , 38 , 42".
std::string PrintedLine(int row, std::span<const std::int16_t, kSetSize> numbers);

} // namespace zentrix
