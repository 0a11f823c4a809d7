// WheelVerifier: marks the covered match-subsets, then checks every draw against them.
#include "wheel/WheelVerifier.h"

#include "generator/LotoNumbers.h"
#include "wheel/Combinations.h"

#include <algorithm>
#include <bit>

namespace zentrix::wheel {
namespace {

/// The picks as points 0..v-1 in ascending order of number; keys first removed.
struct PointMap
{
    std::vector<int> numbers;    ///< point -> number, the non-key picks
    std::array<int, 44> point{}; ///< number -> point + 1, 0 for non-picks and keys
    NumberMask keys = 0;
};

PointMap MapPicks(const WheelRequest& request)
{
    PointMap map;
    for (const int key : request.keys)
        map.keys |= NumberBit(key);
    std::vector<int> picks = request.picks;
    std::sort(picks.begin(), picks.end());
    for (const int n : picks) {
        if (map.keys & NumberBit(n))
            continue;
        map.numbers.push_back(n);
        map.point[std::size_t(n)] = int(map.numbers.size());
    }
    return map;
}

bool WellFormed(const Ticket& ticket)
{
    for (std::size_t i = 0; i < ticket.size(); ++i) {
        if (!IsLotoNumber(ticket[i]) || (i > 0 && ticket[i] <= ticket[i - 1]))
            return false;
    }
    return true;
}

std::vector<int> NumbersOf(PointMask points, const PointMap& map)
{
    std::vector<int> numbers;
    for (int n = kLowestNumber; n <= kHighestNumber; ++n) {
        if (map.keys & NumberBit(n))
            numbers.push_back(n);
    }
    for (; points != 0; points &= points - 1)
        numbers.push_back(map.numbers[std::size_t(std::countr_zero(points))]);
    std::sort(numbers.begin(), numbers.end());
    return numbers;
}

} // namespace

Verification VerifyWheel(const WheelRequest& request, const std::vector<Ticket>& tickets)
{
    Verification result;
    if (CheckRequest(request) != RequestError::None) {
        result.failure = Verification::Failure::BadRequest;
        return result;
    }
    if (tickets.empty()) {
        result.failure = Verification::Failure::NoTickets;
        return result;
    }
    const PointMap map = MapPicks(request);
    const CoverProblem p = ReduceRequest(request);

    // Each ticket as a set of points, after the checks that make it a ticket of this wheel.
    std::vector<PointMask> blocks;
    blocks.reserve(tickets.size());
    for (std::size_t i = 0; i < tickets.size(); ++i) {
        const Ticket& ticket = tickets[i];
        result.ticket = i;
        if (!WellFormed(ticket)) {
            result.failure = Verification::Failure::BadTicket;
            return result;
        }
        NumberMask numbers = 0;
        PointMask block = 0;
        for (const int n : ticket) {
            numbers |= NumberBit(n);
            if (const int point = map.point[std::size_t(n)]; point > 0)
                block |= PointMask{1} << (point - 1);
            else if (!(map.keys & NumberBit(n))) {
                result.failure = Verification::Failure::TicketOffPicks;
                return result;
            }
        }
        if ((numbers & map.keys) != map.keys) {
            result.failure = Verification::Failure::TicketWithoutKey;
            return result;
        }
        blocks.push_back(block);
    }
    result.ticket = 0;

    // The key numbers alone meet the guarantee: any ticket serves every draw.
    if (p.strength <= 0) {
        result.checkedDraws = Choose(p.points, p.served);
        return result;
    }

    std::vector<bool> covered(Choose(p.points, p.strength), false);
    const PointMask sixBits = FirstCombination(p.blockSize);
    for (const PointMask block : blocks) {
        for (PointMask pattern = FirstCombination(p.strength); pattern <= sixBits;
             pattern = NextCombination(pattern))
            covered[ColexRank(Scatter(pattern, block))] = true;
    }

    // The patterns that pick `strength` of a draw's `served` points.
    std::vector<PointMask> subsets;
    for (PointMask pattern = FirstCombination(p.strength); pattern <= FirstCombination(p.served);
         pattern = NextCombination(pattern))
        subsets.push_back(pattern);

    const PointMask last = FirstCombination(p.served) << (p.points - p.served);
    for (PointMask draw = FirstCombination(p.served);; draw = NextCombination(draw)) {
        ++result.checkedDraws;
        bool served = false;
        if (p.served == p.strength)
            served = covered[ColexRank(draw)];
        else
            served = std::any_of(subsets.begin(), subsets.end(),
                                 [&](PointMask s) { return covered[ColexRank(Scatter(s, draw))]; });
        if (!served) {
            result.failure = Verification::Failure::DrawNotServed;
            result.unservedDraw = NumbersOf(draw, map);
            return result;
        }
        if (draw == last)
            break;
    }
    return result;
}

namespace reference {

bool ServesEveryDraw(const WheelRequest& request, const std::vector<Ticket>& tickets)
{
    NumberMask keys = 0;
    for (const int key : request.keys)
        keys |= NumberBit(key);
    std::vector<int> picks = request.picks;
    const int v = int(picks.size());
    const int m = request.guarantee.drawn;
    // Every m-subset of the picks, by index vectors in lexicographic order.
    std::vector<int> index(static_cast<std::size_t>(m));
    for (int i = 0; i < m; ++i)
        index[std::size_t(i)] = i;
    while (true) {
        NumberMask draw = 0;
        for (const int i : index)
            draw |= NumberBit(picks[std::size_t(i)]);
        if ((draw & keys) == keys) {
            bool served = false;
            for (const Ticket& ticket : tickets) {
                int shared = 0;
                for (const int n : ticket)
                    shared += (draw & NumberBit(n)) ? 1 : 0;
                served = served || shared >= request.guarantee.match;
            }
            if (!served)
                return false;
        }
        int i = m - 1;
        while (i >= 0 && index[std::size_t(i)] == v - m + i)
            --i;
        if (i < 0)
            return true;
        ++index[std::size_t(i)];
        for (int j = i + 1; j < m; ++j)
            index[std::size_t(j)] = index[std::size_t(j - 1)] + 1;
    }
}

} // namespace reference
} // namespace zentrix::wheel
