// PrizeTier: LOTO6's prize tiers, the one place that decides what a set has won against a draw.
#pragma once

#include "generator/DrawTable.h"
#include "generator/GenerationSettings.h"

#include <string_view>

namespace zentrix {

enum class Prize
{
    First,  ///< all six numbers
    Second, ///< five numbers and the bonus
    Third,  ///< five numbers
    Fourth, ///< four numbers
    Fifth,  ///< three numbers
    None,
};

inline constexpr int kPrizeKinds = 6;

/// One set costs this many yen.
inline constexpr long long kSetPriceYen = 200;
/// The 5等 prize is fixed; the other tiers' amounts vary from draw to draw.
inline constexpr long long kFifthPrizeYen = 1000;

struct Score
{
    int matches = 0;       ///< numbers of the set among the six winning numbers
    bool bonusHit = false; ///< the bonus number is in the set
    Prize prize = Prize::None;
};

/// The tier of `matches` winning numbers; the bonus only turns five matches into the second prize.
Prize PrizeFor(int matches, bool bonusHit);

/// The bonus only turns five matches into the second prize; it counts for no other tier.
Score ScoreSet(const PredictionSet& set, const DrawRow& draw);

/// "1等" .. "5等", "はずれ".
std::string_view PrizeName(Prize prize);

/// True when the row holds six distinct numbers 1..43 and a bonus 1..43 that is not one of them.
bool IsValidDraw(const DrawRow& row);

} // namespace zentrix
