// Wheels, the quick part: the exhaustive proof of 20-number wheels and a whole 12-number run.
#include "wheel/WheelBuilder.h"
#include "wheel/WheelVerifier.h"

#include <benchmark/benchmark.h>
#include <map>

namespace zentrix::wheel {
namespace {

WheelRequest Request(int v, int match, int drawn)
{
    WheelRequest request;
    for (int n = 1; n <= v; ++n)
        request.picks.push_back(n);
    request.guarantee = {match, drawn};
    return request;
}

/// A proved wheel to check again and again (built once, on a short budget).
const std::vector<Ticket>& Wheel(const WheelRequest& request)
{
    static std::map<std::pair<int, int>, std::vector<Ticket>> built;
    auto& tickets = built[{request.guarantee.match, request.guarantee.drawn}];
    if (tickets.empty()) {
        WheelOptions options;
        options.limits.maxMoves = 200'000;
        tickets = BuildWheel(request, options).tickets;
    }
    return tickets;
}

// The proof of a 20-number wheel: every one of the C(20, m) draws against the tickets.
void VerifyTwenty(benchmark::State& state)
{
    const WheelRequest request = Request(20, int(state.range(0)), int(state.range(1)));
    const std::vector<Ticket>& tickets = Wheel(request);
    for (auto _ : state) {
        const Verification proof = VerifyWheel(request, tickets);
        if (!proof.passed())
            state.SkipWithError("the wheel failed its proof");
        benchmark::DoNotOptimize(proof.checkedDraws);
    }
    state.counters["tickets"] = double(tickets.size());
}
BENCHMARK(VerifyTwenty)
    ->ArgNames({"t", "m"})
    ->Args({3, 3})
    ->Args({4, 4})
    ->Args({5, 5})
    ->Args({3, 6})
    ->Args({4, 6})
    ->Args({5, 6})
    ->Unit(benchmark::kMillisecond);

// The command's example: twelve numbers, "3 if 3", until the published 15 tickets.
void TwelveThreeIfThree(benchmark::State& state)
{
    const WheelRequest request = Request(12, 3, 3);
    std::uint64_t seed = 1;
    for (auto _ : state) {
        WheelOptions options;
        options.limits.seed = seed++;
        const WheelResult result = BuildWheel(request, options);
        if (result.tickets.size() > 15)
            state.SkipWithError("more than 15 tickets");
    }
}
BENCHMARK(TwelveThreeIfThree)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace zentrix::wheel

BENCHMARK_MAIN();
