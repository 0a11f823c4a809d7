// PrizeCheck: reading sets in the printed format; the tiers themselves are predictions/PrizeTier.
#pragma once

#include "generator/DrawTable.h"
#include "generator/GenerationSettings.h"
#include "predictions/PrizeTier.h"

#include <string>
#include <string_view>

namespace zentrix::cli {

struct ParsedSetLine
{
    enum Kind
    {
        Blank, ///< an empty line or the printed header: nothing to score
        Set,
        Bad,
    } kind = Blank;
    PredictionSet set{};
    int label = 0;     ///< the row label ("001→" gives 1), 0 when the line has none
    std::string error; ///< why a Bad line is bad, in Japanese
};

/**
 * One input line: "001→03 , 11 , 17 , 25 , 38 , 42" as printed, or six numbers alone separated by
 * commas or spaces ("3 11 17 25 38 42"). The numbers must be six distinct numbers 1..43 and may
 * come in any order; they are returned ascending. Blank lines and the header line
 * "Zentrix Predictor Ver.2.11" are Blank.
 */
ParsedSetLine ParseSetLine(std::string_view line);

} // namespace zentrix::cli
