// WheelVerifier: the fast proof agrees with the literal guarantee and catches broken wheels.
#include "wheel/WheelVerifier.h"

#include "WheelTestSupport.h"
#include "generator/RandomSource.h"
#include "wheel/WheelBuilder.h"

#include <algorithm>
#include <gtest/gtest.h>

namespace zentrix::wheel {
namespace {

using test::Range;
using test::Request;

/// A random ticket of six picks that holds every key number.
Ticket RandomTicket(const WheelRequest& request, RandomSource& random)
{
    std::vector<int> numbers = request.keys;
    std::vector<int> others;
    for (const int n : request.picks) {
        if (std::find(numbers.begin(), numbers.end(), n) == numbers.end())
            others.push_back(n);
    }
    while (numbers.size() < 6) {
        const std::size_t at = std::size_t(random.next() % others.size());
        numbers.push_back(others[at]);
        others.erase(others.begin() + std::ptrdiff_t(at));
    }
    std::sort(numbers.begin(), numbers.end());
    Ticket ticket{};
    std::copy(numbers.begin(), numbers.end(), ticket.begin());
    return ticket;
}

// Random wheels of every size from empty to well past covering, on small and scattered pick lists,
// every guarantee, with and without key numbers: the proof and the literal check always agree.
TEST(WheelVerifierTest, AgreesWithTheLiteralCheckOnRandomWheels)
{
    RandomSource random(17);
    const std::vector<std::vector<int>> pickLists{
        Range(1, 7), Range(1, 9), {2, 5, 11, 17, 23, 31, 38, 40, 43}, Range(30, 40)};
    int passed = 0;
    int failed = 0;
    for (const auto& picks : pickLists) {
        for (int match = 3; match <= 5; ++match) {
            for (int drawn = match; drawn <= 6; ++drawn) {
                for (const std::vector<int>& keys : {std::vector<int>{}, std::vector<int>{picks[1]}}) {
                    const WheelRequest request = Request(picks, match, drawn, keys);
                    ASSERT_EQ(CheckRequest(request), RequestError::None);
                    for (int size = 1; size <= 14; ++size) {
                        std::vector<Ticket> tickets;
                        for (int i = 0; i < size; ++i)
                            tickets.push_back(RandomTicket(request, random));
                        const bool literal = reference::ServesEveryDraw(request, tickets);
                        const Verification proof = VerifyWheel(request, tickets);
                        ASSERT_EQ(proof.passed(), literal)
                            << "v=" << picks.size() << " " << match << " if " << drawn
                            << " keys=" << keys.size() << " size=" << size;
                        (literal ? passed : failed) += 1;
                        if (!literal) {
                            // The reported draw really is unserved.
                            ASSERT_EQ(proof.unservedDraw.size(), std::size_t(drawn));
                            const WheelRequest single = Request(proof.unservedDraw, match, drawn);
                            for (const Ticket& t : tickets) {
                                int shared = 0;
                                for (const int n : t)
                                    shared += std::count(single.picks.begin(), single.picks.end(), n) ? 1 : 0;
                                EXPECT_LT(shared, match);
                            }
                        }
                    }
                }
            }
        }
    }
    // Both answers occurred often enough for the comparison to mean something.
    EXPECT_GT(passed, 50);
    EXPECT_GT(failed, 50);
}

TEST(WheelVerifierTest, CountsEveryDrawOfTheGuarantee)
{
    WheelOptions quick;
    quick.limits.maxMoves = 2000;
    const WheelRequest plain = Request(Range(1, 20), 3, 6);
    const WheelResult built = BuildWheel(plain, quick);
    ASSERT_EQ(built.status, WheelResult::Status::Built);
    EXPECT_EQ(built.verification.checkedDraws, 38760u); // C(20, 6)
    // With key numbers only the draws that hold them count: C(18, 4).
    const WheelResult keyed = BuildWheel(Request(Range(1, 20), 4, 6, {3, 9}), quick);
    ASSERT_EQ(keyed.status, WheelResult::Status::Built);
    EXPECT_EQ(keyed.verification.checkedDraws, 3060u);
}

// A wheel of the smallest possible size loses its guarantee with any one ticket taken away.
TEST(WheelVerifierTest, CatchesAMinimalWheelWithATicketRemoved)
{
    // C(7, 6, 3) = 4 and C(12, 6, 3) = 15 (La Jolla); the engine reaches both.
    for (const WheelRequest& request : {Request(Range(1, 7), 3, 3), Request(Range(1, 12), 3, 3)}) {
        const WheelResult built = BuildWheel(request, {});
        ASSERT_EQ(built.status, WheelResult::Status::Built);
        ASSERT_EQ(built.tickets.size(), std::size_t(*BestKnownSize(request)));
        for (std::size_t drop = 0; drop < built.tickets.size(); ++drop) {
            std::vector<Ticket> broken = built.tickets;
            broken.erase(broken.begin() + std::ptrdiff_t(drop));
            const Verification proof = VerifyWheel(request, broken);
            EXPECT_EQ(proof.failure, Verification::Failure::DrawNotServed) << "ticket " << drop;
            EXPECT_FALSE(reference::ServesEveryDraw(request, broken));
        }
    }
}

TEST(WheelVerifierTest, RejectsTicketsThatDoNotBelongToTheWheel)
{
    const WheelRequest request = Request(Range(1, 9), 3, 3, {4});
    const Ticket good{1, 2, 3, 4, 5, 6};
    const auto failureOf = [&](Ticket bad) {
        const Verification v = VerifyWheel(request, {good, bad});
        EXPECT_EQ(v.ticket, 1u);
        return v.failure;
    };
    using F = Verification::Failure;
    EXPECT_EQ(failureOf({1, 2, 3, 4, 5, 10}), F::TicketOffPicks);
    EXPECT_EQ(failureOf({1, 2, 3, 5, 6, 7}), F::TicketWithoutKey);
    EXPECT_EQ(failureOf({1, 2, 4, 3, 5, 6}), F::BadTicket); // not ascending
    EXPECT_EQ(failureOf({1, 1, 2, 3, 4, 5}), F::BadTicket); // a number twice
    EXPECT_EQ(failureOf({0, 1, 2, 3, 4, 5}), F::BadTicket);
    EXPECT_EQ(VerifyWheel(request, {}).failure, F::NoTickets);
    EXPECT_EQ(VerifyWheel(Request(Range(1, 9), 3, 2), {good}).failure, F::BadRequest);
}

} // namespace
} // namespace zentrix::wheel
