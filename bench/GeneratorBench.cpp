// The engine's speed: whole runs with the file read included (on the whole history and on early
// windows of it, where passing sets can be rare), the verdict on settings no set can pass, the count
// of passing sets and the exact chance of one set.
#include "BenchmarkHistory.h"
#include "generator/AttemptChances.h"
#include "generator/CandidateOrder.h"
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
    return bench::BenchmarkHistory();
}

// One whole run as the button makes it: open the file, read every draw, draw and filter 100 sets.
void RunWhole(benchmark::State& state, const std::vector<DrawRecord>& draws,
              const GenerationSettings& settings, RunOutcome expected)
{
    bench::BenchHistoryFile file(draws);
    std::uint64_t seed = 1;
    std::int64_t attempts = 0;
    bool direct = false;
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
        direct = result.direct;
    }
    state.counters["attempts/run"] =
        benchmark::Counter(static_cast<double>(attempts), benchmark::Counter::kAvgIterations);
    state.SetLabel(std::to_string(draws.size()) + " draws" + (direct ? ", direct" : ", loop"));
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

// Early windows of the history (draws 1..latest) with the settings the sweep (`make sweep`) found
// dearest: the most passing sets for the direct sampler, the rarest passing sets, and the loop at
// the top of its bound.
struct WindowCase
{
    const char* name;
    RecordNo latest;
    bool weightingOn;
    WeightBasis basis;
    int level;
    int parityLevel; // 0: parity rule off
    int carry;
    bool consecutiveOn;
};

const WindowCase kWindowCases[] = {
    {"DirectDearest", 31, true, WeightBasis::TimeAxis, 2, 2, 2, false},
    {"LoopDearest", 92, true, WeightBasis::TotalAppearances, 2, 2, 0, false},
    {"RarestPassingSets", 159, true, WeightBasis::TimeAxis, 2, 2, 2, true},
    {"SlowestTimedInTheSweep", 1600, true, WeightBasis::TimeAxis, 3, 2, 2, false},
    {"Level3SixOddTwoCarries", 500, true, WeightBasis::TotalAppearances, 3, 6, 2, true},
};

void BM_WholeRunEarlyWindow(benchmark::State& state, const WindowCase& c)
{
    const std::vector<DrawRecord>& all = History();
    if (static_cast<std::size_t>(c.latest) > all.size()) {
        state.SkipWithError("history too short");
        return;
    }
    GenerationSettings settings;
    settings.setCount = 100;
    settings.weightingOn = c.weightingOn;
    settings.weightBasis = c.basis;
    settings.totalLevel = c.level;
    settings.timeAxisLevel = c.level;
    settings.parityOn = c.parityLevel > 0;
    settings.parityLevel = c.parityLevel > 0 ? c.parityLevel : 4;
    settings.carryCount = c.carry;
    settings.consecutiveOn = c.consecutiveOn;
    RunWhole(state, std::vector<DrawRecord>(all.begin(), all.begin() + c.latest), settings,
             RunOutcome::Completed);
}

void RegisterWindowCases()
{
    for (const WindowCase& c : kWindowCases)
        benchmark::RegisterBenchmark((std::string("BM_WholeRunEarlyWindow/") + c.name).c_str(),
                                     [&c](benchmark::State& state) { BM_WholeRunEarlyWindow(state, c); })
            ->Unit(benchmark::kMillisecond);
}

// The exact chance of one set, with and without weighting: the sampler's cost per passing set.
void BM_AttemptProbability(benchmark::State& state)
{
    DrawTable table;
    for (const DrawRecord& record : History())
        table.rows.push_back(MakeDrawRow(record));
    GenerationSettings settings;
    settings.weightingOn = state.range(0) != 0;
    const AttemptChances chances(settings, BuildWeightTable(table, settings));
    const NumberMask sets[] = {MaskFromSet({1, 2, 3, 4, 5, 6}), MaskFromSet({3, 11, 17, 25, 38, 42}),
                               MaskFromSet({7, 12, 20, 23, 27, 29})};
    std::size_t i = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(chances.probability(sets[i++ % 3]));
}
BENCHMARK(BM_AttemptProbability)->Arg(1)->Arg(0)->Unit(benchmark::kNanosecond);

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

int main(int argc, char** argv)
{
    zentrix::RegisterWindowCases();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
