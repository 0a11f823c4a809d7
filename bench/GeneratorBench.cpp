// The engine's speed: whole runs with the file read included, the verdict on settings no set can
// pass, and the count of passing sets.
#include "BenchHistory.h"
#include "generator/Feasibility.h"
#include "generator/GenerationRun.h"
#include "generator/RandomSource.h"
#include "store/HistoryFile.h"

#include <benchmark/benchmark.h>

namespace zentrix {
namespace {

class CountingObserver final : public RunObserver
{
public:
    void setProgressMaximum(int) override {}
    void setProgressMinimum(int) override {}
    void writeSet(int, const PredictionSet& set) override { benchmark::DoNotOptimize(set); }
    void stepProgress() override {}
    void runCompleted() override {}
};

const std::vector<DrawRecord>& History()
{
    static const std::vector<DrawRecord> draws = [] {
        std::string source;
        std::vector<DrawRecord> loaded = bench::LoadBenchHistory(&source);
        benchmark::AddCustomContext("history", source);
        return loaded;
    }();
    return draws;
}

// One whole run as the button makes it: open the file, read every draw, draw and filter 100 sets.
void RunWhole(benchmark::State& state, const std::vector<DrawRecord>& draws,
              const GenerationSettings& settings, RunOutcome expected)
{
    bench::BenchHistoryFile file(draws);
    std::uint64_t seed = 1;
    std::int64_t attempts = 0;
    for (auto _ : state) {
        HistoryFile history(file.path());
        if (!history.OpenHistory()) {
            state.SkipWithError("cannot open the history");
            return;
        }
        RandomSource random(seed++);
        CountingObserver observer;
        const RunResult result = GenerateSets(settings, history, random, observer);
        if (result.outcome != expected) {
            state.SkipWithError("unexpected outcome");
            return;
        }
        attempts += result.attempts;
    }
    state.counters["attempts/run"] =
        benchmark::Counter(static_cast<double>(attempts), benchmark::Counter::kAvgIterations);
    state.SetLabel(std::to_string(draws.size()) + " draws");
}

GenerationSettings OpeningSettings()
{
    GenerationSettings settings;
    settings.setCount = 100;
    return settings;
}

// Parity level 1 with two carries and level-3 weighting: the fewest passing sets the real history
// allows among the main window's settings.
GenerationSettings StrictestSettings()
{
    GenerationSettings settings;
    settings.setCount = 100;
    settings.totalLevel = 3;
    settings.parityLevel = 1;
    settings.carryCount = 2;
    return settings;
}

void BM_WholeRunOpeningSettings(benchmark::State& state)
{
    RunWhole(state, History(), OpeningSettings(), RunOutcome::Completed);
}
BENCHMARK(BM_WholeRunOpeningSettings)->Unit(benchmark::kMillisecond);

void BM_WholeRunStrictestSettings(benchmark::State& state)
{
    RunWhole(state, History(), StrictestSettings(), RunOutcome::Completed);
}
BENCHMARK(BM_WholeRunStrictestSettings)->Unit(benchmark::kMillisecond);

// The history with one more draw whose numbers are all odd and new: one carry at parity level 1
// (six even numbers) can then never pass, and the run must say so before its first attempt.
void BM_InfeasibleVerdict(benchmark::State& state)
{
    std::vector<DrawRecord> draws = History();
    DrawRecord odd;
    odd.Numbers = {1, 3, 5, 9, 11, 13};
    odd.Bonus = 15;
    for (const std::int16_t n : {1, 3, 5, 9, 11, 13, 15})
        for (const std::int16_t old : draws.back().Numbers)
            if (old == n)
                odd.Numbers = {17, 19, 21, 25, 31, 33};
    draws.push_back(odd);
    GenerationSettings settings = OpeningSettings();
    settings.parityLevel = 1;
    RunWhole(state, draws, settings, RunOutcome::NoPassingSet);
}
BENCHMARK(BM_InfeasibleVerdict)->Unit(benchmark::kMillisecond);

void BM_CountPassingSets(benchmark::State& state)
{
    const std::vector<DrawRecord>& draws = History();
    const DrawRow latest = MakeDrawRow(draws.back());
    const CarryLists lists = BuildCarryLists(latest, MakeDrawRow(draws[draws.size() - 2]));
    const GenerationSettings settings = OpeningSettings();
    for (auto _ : state)
        benchmark::DoNotOptimize(CountPassingSets(settings, lists, latest));
    state.SetLabel(std::to_string(CountPassingSets(settings, lists, latest)) + " of 6096454 sets pass");
}
BENCHMARK(BM_CountPassingSets)->Unit(benchmark::kMicrosecond);

} // namespace
} // namespace zentrix

BENCHMARK_MAIN();
