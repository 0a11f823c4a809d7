// Wheels against the best published sizes: each cell of the La Jolla table for "3 if 3" and
// "4 if 4" with 7 to 20 picks gets up to 10 seconds. Not part of `make bench` (it takes minutes);
// `make bench-wheels` runs it. The search runs alone (without the built-in table); counters:
// search_tickets and seconds (until it stopped at the published size or at the limit), stored
// (the built-in table's design, 0 for none) and stored_found_at (seconds into its offline run),
// tickets (what the engine returns: the smaller of the two), the published size and reached
// (1 or 0, for tickets).
#include "wheel/WheelBuilder.h"

#include <algorithm>
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
    options.stored = nullptr;
    WheelResult result;
    for (auto _ : state)
        result = BuildWheel(request, options);
    if (result.status != WheelResult::Status::Built) {
        state.SkipWithError("no proved wheel");
        return;
    }
    std::size_t tickets = result.tickets.size();
    const auto stored = StoredWheels::BuiltIn().find(ReduceRequest(request));
    if (stored) {
        tickets = std::min(tickets, stored->blocks.size());
        state.counters["stored"] = double(stored->blocks.size());
        state.counters["stored_found_at"] = stored->seconds;
    } else {
        state.counters["stored"] = 0;
    }
    const auto known = BestKnownSize(request);
    state.counters["search_tickets"] = double(result.tickets.size());
    state.counters["tickets"] = double(tickets);
    state.counters["lower_bound"] = double(result.lowerBound);
    if (known) {
        state.counters["published"] = double(*known);
        state.counters["reached"] = tickets <= std::size_t(*known) ? 1 : 0;
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
