// WheelVerifier: the exhaustive proof that a wheel keeps its guarantee.
#pragma once

#include "wheel/WheelRequest.h"

#include <cstddef>
#include <vector>

namespace zentrix::wheel {

struct Verification
{
    enum class Failure
    {
        None,
        BadRequest,       ///< the request itself does not pass CheckRequest
        NoTickets,        ///< an empty wheel
        BadTicket,        ///< a ticket that is not six distinct ascending numbers 1..43
        TicketOffPicks,   ///< a ticket with a number that was not picked
        TicketWithoutKey, ///< a ticket without every key number
        DrawNotServed,    ///< a draw of the guarantee that meets no ticket in enough numbers
    };

    Failure failure = Failure::None;
    std::size_t ticket = 0;         ///< the faulty ticket's index, for the ticket failures
    std::vector<int> unservedDraw;  ///< for DrawNotServed: the picks of one draw left unserved
    std::uint64_t checkedDraws = 0; ///< how many draws the proof went through

    bool passed() const { return failure == Failure::None; }
};

/**
 * Goes through every draw the guarantee speaks of (every set of `drawn` picks that holds all key
 * numbers) and proves that some ticket holds at least `match` of it.
 *
 * A draw S is served exactly when one of its `match`-subsets lies inside a ticket, so the proof
 * first marks every `match`-subset that some ticket holds (at most 20 per ticket) and then looks
 * each draw's subsets up; a draw costs at most C(6, match) look-ups whatever the wheel's size.
 */
Verification VerifyWheel(const WheelRequest& request, const std::vector<Ticket>& tickets);

namespace reference {

/// The guarantee read literally: for every set of `drawn` picks holding the key numbers, some
/// ticket shares at least `match` numbers with it. Slow; the tests compare VerifyWheel with it.
bool ServesEveryDraw(const WheelRequest& request, const std::vector<Ticket>& tickets);

} // namespace reference
} // namespace zentrix::wheel
