// WheelRequest: what a wheel is asked for (picked numbers, key numbers, a guarantee "t if m"),
// its checks, and the figures known before any search: the lower bound, the best published size
// and the chance that a draw brings the guarantee into play.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

namespace zentrix::wheel {

/// One ticket: six distinct numbers 1..43 in ascending order.
using Ticket = std::array<int, 6>;

inline constexpr int kTicketSize = 6;
inline constexpr int kMinPicks = 7;
inline constexpr int kMaxPicks = 30;

/**
 * "match if drawn": when at least `drawn` of the six winning numbers are among the picks, at
 * least one ticket holds `match` of them. 3 <= match <= drawn <= 6 and match <= 5.
 */
struct Guarantee
{
    int match = 3;
    int drawn = 3;
};

/**
 * The picked numbers, the key numbers (a subset of the picks that every ticket holds) and the
 * guarantee. With key numbers the guarantee applies to draws that bring every key number: among
 * those, every draw with at least `drawn` of the picks meets a ticket in `match` numbers.
 */
struct WheelRequest
{
    std::vector<int> picks;
    std::vector<int> keys;
    Guarantee guarantee;
};

enum class RequestError
{
    None,
    NumberOutOfRange, ///< a number outside 1..43
    DuplicateNumber,  ///< a number picked twice, or a key number given twice
    TooFewPicks,      ///< fewer than kMinPicks numbers
    TooManyPicks,     ///< more than kMaxPicks numbers
    BadGuarantee,     ///< not 3 <= match <= drawn <= 6 with match <= 5
    KeyNotPicked,     ///< a key number that is not among the picks
    TooManyKeys,      ///< as many key numbers as the guarantee's match, or more
};

/// The first fault of the request, or RequestError::None.
RequestError CheckRequest(const WheelRequest& request);

/**
 * The covering problem left when the key numbers are taken out of the picks and the tickets:
 * blocks of `blockSize` points out of `points` such that every `served`-subset meets a block in at
 * least `strength` points. `strength` is 0 or less when the key numbers alone meet the guarantee.
 */
struct CoverProblem
{
    int points = 0;
    int blockSize = 0;
    int strength = 0;
    int served = 0;
};

/// The reduced problem of a request that passed CheckRequest.
CoverProblem ReduceRequest(const WheelRequest& request);

/**
 * No wheel with the guarantee has fewer tickets than this. The larger of the counting bound
 * ceil(C(n, m) / sum_{i >= t} C(k, i) C(n - k, m - i)) (the draws to serve over how many one
 * ticket serves) and, for "t if t", Schönheim's bound ceil(n/k ceil((n-1)/(k-1) ...)), both on the
 * reduced problem.
 */
std::uint64_t LowerBound(const WheelRequest& request);

/// The counting bound alone, on the reduced problem.
std::uint64_t CountingBound(const CoverProblem& problem);

/// The smallest size published for this request (the La Jolla covering tables for "3 if 3" and
/// "4 if 4" with 7 to 20 picks and no key numbers), if known.
std::optional<int> BestKnownSize(const WheelRequest& request);

/// The chance that one draw brings every key number and at least `drawn` of the picks, i.e. that
/// the guarantee comes into play.
double GuaranteeChance(const WheelRequest& request);

} // namespace zentrix::wheel
