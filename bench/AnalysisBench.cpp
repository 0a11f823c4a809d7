// The statistics window's speed: every statistic and view over the whole history, and the rule
// meter (exact count and back-test) for one setting, as a slider move asks for it.
#include "BenchHistory.h"
#include "analysis/HistoryStatistics.h"
#include "analysis/RuleMeter.h"
#include "analysis/StatsViews.h"

#include <benchmark/benchmark.h>

namespace zentrix {
namespace {

const DrawTable& Table()
{
    static const DrawTable table = [] {
        std::string source;
        DrawTable loaded;
        for (const DrawRecord& record : bench::LoadBenchHistory(&source))
            loaded.rows.push_back(MakeDrawRow(record));
        benchmark::AddCustomContext("history", source);
        return loaded;
    }();
    return table;
}

// One pass for every figure: counts, gaps, carry, slide, consecutive pairs, digits, sums, parity, pairs.
void BM_AllStatisticsFullHistory(benchmark::State& state)
{
    const DrawTable& table = Table();
    for (auto _ : state)
        benchmark::DoNotOptimize(analysis::ComputeHistoryStatistics(table, analysis::LatestDraws(table, 0)));
    state.counters["draws"] = double(table.Latest());
}
BENCHMARK(BM_AllStatisticsFullHistory)->Unit(benchmark::kMillisecond);

// What the window does on a range change: the statistics and all nine views' tables and charts.
void BM_AllViewsFullHistory(benchmark::State& state)
{
    const DrawTable& table = Table();
    for (auto _ : state) {
        const analysis::HistoryStatistics stats =
            analysis::ComputeHistoryStatistics(table, analysis::LatestDraws(table, 0));
        for (const analysis::StatsView view : analysis::kAllViews)
            benchmark::DoNotOptimize(analysis::BuildViewReport(stats, view));
    }
}
BENCHMARK(BM_AllViewsFullHistory)->Unit(benchmark::kMillisecond);

// The meter for one setting: the exact count of passing sets and the back-test of every draw.
void BM_RuleMeterOneSetting(benchmark::State& state)
{
    const DrawTable& table = Table();
    GenerationSettings settings;
    settings.parityLevel = int(state.range(0));
    for (auto _ : state)
        benchmark::DoNotOptimize(analysis::ReadRuleMeter(table, settings));
}
BENCHMARK(BM_RuleMeterOneSetting)->Arg(4)->Arg(1)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace zentrix

BENCHMARK_MAIN();
