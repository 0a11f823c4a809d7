// NumberList: lists of numbers as the command line takes them ("1,5,7-12") and guarantees ("3/4").
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zentrix::cli {

/// Numbers separated by commas, each a number or a range "a-b" with a <= b; spaces are allowed
/// around each item. Nothing when the text is empty or any item is not of that form. The numbers
/// are returned in the order given, ranges expanded; the range of values is not checked here.
std::optional<std::vector<int>> ParseNumberList(std::string_view text);

/// "T/M" with two whole numbers; nothing when the text is not of that form.
std::optional<std::pair<int, int>> ParseGuaranteeText(std::string_view text);

} // namespace zentrix::cli
