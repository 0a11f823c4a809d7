// WheelBuilder: reduce, search, map the blocks back to numbers, prove.
#include "wheel/WheelBuilder.h"

#include <algorithm>
#include <bit>
#include <chrono>

namespace zentrix::wheel {

WheelResult BuildWheel(const WheelRequest& request, const WheelOptions& options)
{
    WheelResult result;
    result.requestError = CheckRequest(request);
    if (result.requestError != RequestError::None)
        return result;
    const auto start = std::chrono::steady_clock::now();
    result.lowerBound = LowerBound(request);

    std::vector<int> keys = request.keys;
    std::sort(keys.begin(), keys.end());
    std::vector<int> others;
    for (const int n : request.picks) {
        if (std::find(keys.begin(), keys.end(), n) == keys.end())
            others.push_back(n);
    }
    std::sort(others.begin(), others.end());

    const CoverProblem problem = ReduceRequest(request);
    std::vector<PointMask> blocks;
    if (problem.strength <= 0) {
        // The key numbers meet the guarantee on their own: one ticket does.
        blocks.push_back(FirstCombination(problem.blockSize));
    } else {
        SearchLimits limits = options.limits;
        limits.stopAtSize = std::max<std::uint64_t>(limits.stopAtSize, result.lowerBound);
        if (const auto known = BestKnownSize(request); known && options.stopAtBestKnown)
            limits.stopAtSize = std::max<std::uint64_t>(limits.stopAtSize, std::uint64_t(*known));
        // A lotto-design move updates every served-set above the strength-sets it changes, so it
        // costs far more than a covering move: the stall allowance shrinks to match.
        if (problem.served > problem.strength) {
            const std::uint64_t fanOut =
                Choose(problem.points - problem.strength, problem.served - problem.strength);
            limits.stallMoves =
                std::max<std::uint64_t>(1000, limits.stallMoves / std::max<std::uint64_t>(1, fanOut));
        }
        std::optional<StoredDesign> stored;
        if (options.stored)
            stored = options.stored->find(problem);
        if (stored && stored->blocks.size() <= limits.stopAtSize) {
            blocks = stored->blocks;
            result.fromTable = true;
            if (options.progress)
                options.progress(SearchProgress{blocks.size(), 1.0});
        } else {
            SearchOutcome outcome = FindCover(problem, limits, options.cancel, options.progress);
            result.greedySize = outcome.greedySize;
            result.moves = outcome.moves;
            result.cancelled = outcome.cancelled;
            blocks = std::move(outcome.blocks);
            if (stored && (blocks.empty() || stored->blocks.size() <= blocks.size())) {
                blocks = stored->blocks;
                result.fromTable = true;
            }
        }
    }
    if (blocks.empty()) {
        result.status = WheelResult::Status::CancelledEmpty;
        return result;
    }

    std::vector<Ticket> tickets;
    tickets.reserve(blocks.size());
    for (PointMask block : blocks) {
        std::vector<int> numbers = keys;
        for (; block != 0; block &= block - 1)
            numbers.push_back(others[std::size_t(std::countr_zero(block))]);
        std::sort(numbers.begin(), numbers.end());
        Ticket ticket{};
        std::copy_n(numbers.begin(), std::min(numbers.size(), ticket.size()), ticket.begin());
        tickets.push_back(ticket);
    }
    std::sort(tickets.begin(), tickets.end());

    result.verification = VerifyWheel(request, tickets);
    result.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    if (!result.verification.passed()) {
        result.status = WheelResult::Status::VerificationFailed;
        return result;
    }
    result.tickets = std::move(tickets);
    result.status = WheelResult::Status::Built;
    return result;
}

} // namespace zentrix::wheel
