// PrizeTier: matching a set against a draw and naming the tiers.
#include "predictions/PrizeTier.h"

#include <algorithm>
#include <array>

namespace zentrix {

Prize PrizeFor(int matches, bool bonusHit)
{
    switch (matches) {
    case 6:
        return Prize::First;
    case 5:
        return bonusHit ? Prize::Second : Prize::Third;
    case 4:
        return Prize::Fourth;
    case 3:
        return Prize::Fifth;
    default:
        return Prize::None;
    }
}

Score ScoreSet(const PredictionSet& set, const DrawRow& draw)
{
    Score score;
    for (const std::int16_t n : set) {
        if (std::find(draw.begin(), draw.begin() + 6, n) != draw.begin() + 6)
            ++score.matches;
        else if (n == draw[6])
            score.bonusHit = true;
    }
    score.prize = PrizeFor(score.matches, score.bonusHit);
    return score;
}

std::string_view PrizeName(Prize prize)
{
    switch (prize) {
    case Prize::First:
        return "1等";
    case Prize::Second:
        return "2等";
    case Prize::Third:
        return "3等";
    case Prize::Fourth:
        return "4等";
    case Prize::Fifth:
        return "5等";
    case Prize::None:
        return "はずれ";
    }
    return "はずれ";
}

bool IsValidDraw(const DrawRow& row)
{
    std::array<std::int16_t, 6> numbers{};
    std::copy_n(row.begin(), numbers.size(), numbers.begin());
    std::sort(numbers.begin(), numbers.end());
    return std::all_of(row.begin(), row.end(), [](std::int16_t v) { return v >= 1 && v <= 43; }) &&
           std::adjacent_find(numbers.begin(), numbers.end()) == numbers.end() &&
           std::find(numbers.begin(), numbers.end(), row[6]) == numbers.end();
}

} // namespace zentrix
