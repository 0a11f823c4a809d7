// WheelMessages: the Japanese texts of wheels, shared by the command line and the window.
#pragma once

#include "wheel/WheelRequest.h"

#include <cstdint>
#include <string>

namespace zentrix::wheel {

/// Yen per ticket.
inline constexpr int kTicketPrice = 200;

/// The prize tier that `match` winning numbers on one ticket bring: "5等" for 3 .. "1等" for 6.
std::string PrizeName(int match);

/// The guarantee in players' words: "3個一致で5等を保証（3 if 3）".
std::string GuaranteeLabel(const Guarantee& guarantee);

/// What is wrong with a request, as one sentence.
std::string RequestErrorMessage(RequestError error);

/// "1,234" style digit grouping.
std::string GroupDigits(std::uint64_t value);

/// "15枚（3,000円）".
std::string TicketsAndCost(std::size_t tickets);

/// Says that a wheel is the built-in one found in long offline runs rather than this run's
/// search; empty when `fromTable` is false.
std::string SourceNote(bool fromTable);

/// A chance as a percentage with enough digits to be read: "1.234%".
std::string PercentText(double chance);

} // namespace zentrix::wheel
