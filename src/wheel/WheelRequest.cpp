// WheelRequest: checks, the reduced problem, bounds and the chance of the guarantee.
#include "wheel/WheelRequest.h"

#include "generator/LotoNumbers.h"
#include "wheel/Combinations.h"

#include <algorithm>

namespace zentrix::wheel {
namespace {

bool HasDuplicates(std::vector<int> numbers)
{
    std::sort(numbers.begin(), numbers.end());
    return std::adjacent_find(numbers.begin(), numbers.end()) != numbers.end();
}

std::uint64_t CeilDiv(std::uint64_t a, std::uint64_t b)
{
    return b == 0 ? 0 : (a + b - 1) / b;
}

/// Schönheim's bound L(n, k, t) for coverings of t-sets by k-sets.
std::uint64_t Schoenheim(int n, int k, int t)
{
    std::uint64_t bound = 1;
    for (int i = t - 1; i >= 0; --i)
        bound = CeilDiv(std::uint64_t(n - i) * bound, std::uint64_t(k - i));
    return bound;
}

// Best sizes published in the La Jolla Covering Repository, C(v, 6, t) for v = 7..20.
constexpr std::array<int, 14> kBestThreeIfThree{4, 4, 7, 10, 11, 15, 21, 25, 31, 38, 44, 48, 60, 71};
constexpr std::array<int, 14> kBestFourIfFour{5, 7, 12, 20, 32, 41, 66, 80, 117, 152, 188, 236, 325, 382};

} // namespace

RequestError CheckRequest(const WheelRequest& request)
{
    const auto outOfRange = [](int n) { return !IsLotoNumber(n); };
    if (std::any_of(request.picks.begin(), request.picks.end(), outOfRange) ||
        std::any_of(request.keys.begin(), request.keys.end(), outOfRange))
        return RequestError::NumberOutOfRange;
    if (HasDuplicates(request.picks) || HasDuplicates(request.keys))
        return RequestError::DuplicateNumber;
    if (request.picks.size() < std::size_t(kMinPicks))
        return RequestError::TooFewPicks;
    if (request.picks.size() > std::size_t(kMaxPicks))
        return RequestError::TooManyPicks;
    const Guarantee g = request.guarantee;
    if (g.match < 3 || g.match > 5 || g.drawn < g.match || g.drawn > kTicketSize)
        return RequestError::BadGuarantee;
    for (const int key : request.keys) {
        if (std::find(request.picks.begin(), request.picks.end(), key) == request.picks.end())
            return RequestError::KeyNotPicked;
    }
    if (int(request.keys.size()) >= g.match)
        return RequestError::TooManyKeys;
    return RequestError::None;
}

CoverProblem ReduceRequest(const WheelRequest& request)
{
    const int keys = int(request.keys.size());
    return CoverProblem{int(request.picks.size()) - keys, kTicketSize - keys, request.guarantee.match - keys,
                        request.guarantee.drawn - keys};
}

std::uint64_t CountingBound(const CoverProblem& p)
{
    if (p.strength <= 0)
        return 1;
    std::uint64_t perBlock = 0;
    for (int i = p.strength; i <= std::min(p.blockSize, p.served); ++i)
        perBlock += Choose(p.blockSize, i) * Choose(p.points - p.blockSize, p.served - i);
    return CeilDiv(Choose(p.points, p.served), perBlock);
}

std::uint64_t LowerBound(const WheelRequest& request)
{
    const CoverProblem p = ReduceRequest(request);
    std::uint64_t bound = CountingBound(p);
    if (p.strength > 0 && p.strength == p.served)
        bound = std::max(bound, Schoenheim(p.points, p.blockSize, p.strength));
    return bound;
}

std::optional<int> BestKnownSize(const WheelRequest& request)
{
    const int v = int(request.picks.size());
    const Guarantee g = request.guarantee;
    if (!request.keys.empty() || g.match != g.drawn || v < 7 || v > 20)
        return std::nullopt;
    if (g.match == 3)
        return kBestThreeIfThree[std::size_t(v - 7)];
    if (g.match == 4)
        return kBestFourIfFour[std::size_t(v - 7)];
    return std::nullopt;
}

double GuaranteeChance(const WheelRequest& request)
{
    const int v = int(request.picks.size());
    const int keys = int(request.keys.size());
    const int others = kNumberCount - v;
    double favourable = 0;
    for (int i = request.guarantee.drawn; i <= kTicketSize; ++i)
        favourable += double(Choose(v - keys, i - keys)) * double(Choose(others, kTicketSize - i));
    return favourable / double(Choose(kNumberCount, kTicketSize));
}

} // namespace zentrix::wheel
