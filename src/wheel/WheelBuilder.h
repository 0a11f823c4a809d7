// WheelBuilder: a wheel for a request, searched for and then proved before anyone sees it.
#pragma once

#include "wheel/CoverSearch.h"
#include "wheel/StoredWheels.h"
#include "wheel/WheelRequest.h"
#include "wheel/WheelVerifier.h"

#include <atomic>
#include <functional>
#include <vector>

namespace zentrix::wheel {

struct WheelOptions
{
    SearchLimits limits; ///< stopAtSize is raised to the request's lower bound
    /// Stop as soon as the best published size is reached, where one is known.
    bool stopAtBestKnown = true;
    /// Designs found in long offline runs; null for none. A proved stored design that reaches
    /// the stopping size is returned at once, otherwise the smaller of it and the search's.
    const StoredWheels* stored = &StoredWheels::BuiltIn();
    const std::atomic<bool>* cancel = nullptr;
    std::function<void(const SearchProgress&)> progress;
};

struct WheelResult
{
    enum class Status
    {
        Built,              ///< a proved wheel (perhaps after a cancel: the best one so far)
        BadRequest,         ///< see `requestError`
        CancelledEmpty,     ///< cancelled before the first wheel was complete
        VerificationFailed, ///< the search gave a wheel that the proof rejected; nothing to show
    };

    Status status = Status::BadRequest;
    RequestError requestError = RequestError::None;
    std::vector<Ticket> tickets; ///< ascending numbers, tickets in ascending order; empty unless Built
    Verification verification;
    std::uint64_t lowerBound = 0;
    std::size_t greedySize = 0;
    std::uint64_t moves = 0;
    bool cancelled = false;
    double seconds = 0;     ///< search and proof
    bool fromTable = false; ///< the wheel is the stored design, not the search's
};

/// Searches for a small wheel (see FindCover), or takes the stored one when it is at least as
/// small, proves it with VerifyWheel and returns it only when the proof passes.
WheelResult BuildWheel(const WheelRequest& request, const WheelOptions& options = {});

} // namespace zentrix::wheel
