// Wheels against the best published sizes: each cell of the La Jolla table for "3 if 3" and
// "4 if 4" with 7 to 20 picks gets up to 10 seconds. Not part of `make bench` (it takes minutes);
// `make bench-wheels` runs it. Counters: tickets found, the published size, reached (1 or 0),
// and the seconds until the search stopped (at the published size, or at the limit).
#include "wheel/WheelBuilder.h"

#include <benchmark/benchmark.h>
#include <cstdlib>

namespace zentrix::wheel {
namespace {

double SecondsPerCell()
{
    const char* text = std::getenv("ZENTRIX_WHEEL_SECONDS");
    const double seconds = text ? std::atof(text) : 10.0;
    return seconds > 0 ? seconds : 10.0;
}

void Cell(benchmark::State& state)
{
    WheelRequest request;
    for (int n = 1; n <= int(state.range(1)); ++n)
        request.picks.push_back(n);
    const int t = int(state.range(0));
    const int m = int(state.range(2));
    request.guarantee = {t, m};
    WheelOptions options;
    options.limits.time = std::chrono::milliseconds(std::int64_t(SecondsPerCell() * 1000));
    options.limits.stallMoves = ~std::uint64_t{0}; // search until the published size or the clock
    WheelResult result;
    for (auto _ : state)
        result = BuildWheel(request, options);
    if (result.status != WheelResult::Status::Built) {
        state.SkipWithError("no proved wheel");
        return;
    }
    const auto known = BestKnownSize(request);
    state.counters["tickets"] = double(result.tickets.size());
    state.counters["lower_bound"] = double(result.lowerBound);
    if (known) {
        state.counters["published"] = double(*known);
        state.counters["reached"] = result.tickets.size() <= std::size_t(*known) ? 1 : 0;
    }
    state.counters["seconds"] = result.seconds;
}

void Cells(benchmark::internal::Benchmark* b)
{
    b->ArgNames({"t", "v", "m"});
    for (const int t : {3, 4})
        for (int v = 7; v <= 20; ++v)
            b->Args({t, v, t});
    // "t if m" with m > t: sizes against the counting bound.
    for (const auto& [t, m] :
         std::vector<std::pair<int, int>>{{3, 4}, {3, 5}, {3, 6}, {4, 5}, {4, 6}, {5, 6}})
        for (const int v : {10, 15, 20})
            b->Args({t, v, m});
}
BENCHMARK(Cell)->Apply(Cells)->Iterations(1)->Unit(benchmark::kSecond)->UseRealTime();

} // namespace
} // namespace zentrix::wheel

BENCHMARK_MAIN();
