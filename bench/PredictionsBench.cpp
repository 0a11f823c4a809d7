// The predictions store: saving a run's batch of 100 sets must add < 5 ms to the run; listing
// 10,000 batches of 100 sets with their scores (the 予想履歴 window's refresh, `predictions list`)
// must take < 100 ms.
#include "BenchmarkHistory.h"
#include "generator/DrawTable.h"
#include "predictions/BatchScore.h"
#include "predictions/PredictionStore.h"
#include "store/HistoryFile.h"

#include <benchmark/benchmark.h>
#include <random>

namespace zentrix {
namespace {

const std::vector<DrawRecord>& History()
{
    return bench::BenchmarkHistory();
}

NewBatch Batch100(int draw, std::mt19937& random)
{
    NewBatch batch;
    batch.createdAt = 1'800'000'000;
    batch.draw = draw;
    batch.seed = random();
    batch.settings.setCount = 100;
    for (int s = 0; s < 100; ++s) {
        PredictionSet set{};
        int n = 1 + static_cast<int>(random() % 6);
        for (auto& number : set) {
            number = static_cast<std::int16_t>(n);
            n += 1 + static_cast<int>(random() % 6);
        }
        batch.sets.push_back(set);
    }
    return batch;
}

/// Saving into an open store: the insert and its commit, synced to the disk.
void BM_SaveBatchOf100(benchmark::State& state)
{
    bench::BenchHistoryFile file(History());
    PredictionStore store(PredictionStore::PathBeside(file.path()));
    if (!store.open(PredictionStore::Mode::CreateIfMissing)) {
        state.SkipWithError("cannot create the database");
        return;
    }
    std::mt19937 random(1);
    const NewBatch batch = Batch100(static_cast<int>(History().size()) + 1, random);
    for (auto _ : state) {
        if (!store.save(batch))
            state.SkipWithError("save failed");
    }
    state.SetLabel("budget 5 ms");
}
BENCHMARK(BM_SaveBatchOf100)->Unit(benchmark::kMillisecond);

/// What a run adds before its sets are shown: open the database, check its version, save.
void BM_OpenAndSaveBatchOf100(benchmark::State& state)
{
    bench::BenchHistoryFile file(History());
    std::mt19937 random(2);
    const NewBatch batch = Batch100(static_cast<int>(History().size()) + 1, random);
    for (auto _ : state) {
        PredictionStore store(PredictionStore::PathBeside(file.path()));
        if (!store.open(PredictionStore::Mode::CreateIfMissing) || !store.save(batch))
            state.SkipWithError("save failed");
        state.PauseTiming();
        store.close();
        state.ResumeTiming();
    }
    state.SetLabel("budget 5 ms");
}
BENCHMARK(BM_OpenAndSaveBatchOf100)->Unit(benchmark::kMillisecond);

/// Closing after the sets are shown (the window when it closes, the command line after printing):
/// the last connection folds the journal into the database file, with the disk syncs that needs.
void BM_CloseAfterSaving(benchmark::State& state)
{
    bench::BenchHistoryFile file(History());
    std::mt19937 random(4);
    const NewBatch batch = Batch100(static_cast<int>(History().size()) + 1, random);
    for (auto _ : state) {
        state.PauseTiming();
        PredictionStore store(PredictionStore::PathBeside(file.path()));
        if (!store.open(PredictionStore::Mode::CreateIfMissing) || !store.save(batch))
            state.SkipWithError("save failed");
        state.ResumeTiming();
        store.close();
    }
    state.SetLabel("after the sets are shown");
}
BENCHMARK(BM_CloseAfterSaving)->Unit(benchmark::kMillisecond);

/// Reading the history, then every batch with its sets, scoring each against its draw.
void BM_ListTenThousandBatchesWithScores(benchmark::State& state)
{
    bench::BenchHistoryFile file(History());
    const auto database = PredictionStore::PathBeside(file.path());
    {
        PredictionStore store(database);
        std::mt19937 random(3);
        std::vector<NewBatch> batches;
        const int latest = static_cast<int>(History().size());
        for (int b = 0; b < 10'000; ++b)
            batches.push_back(Batch100(1 + (b * 7) % (latest + 5), random)); // a few still to be drawn
        if (!store.open(PredictionStore::Mode::CreateIfMissing) || !store.saveAll(batches)) {
            state.SkipWithError("cannot fill the database");
            return;
        }
    }
    for (auto _ : state) {
        HistoryFile history(file.path());
        DrawTable draws;
        PredictionStore store(database);
        ScoreTotals totals;
        if (!history.OpenHistory() || !LoadDrawTable(history, history.Latest(), draws) ||
            !store.open(PredictionStore::Mode::ExistingOnly) ||
            !store.forEach([&](const BatchHeader& header, const std::vector<PredictionSet>& sets) {
                totals.add(ScoreBatch(sets, draws, header.draw));
            }))
            state.SkipWithError("listing failed");
        benchmark::DoNotOptimize(totals);
    }
    state.SetLabel("budget 100 ms");
}
BENCHMARK(BM_ListTenThousandBatchesWithScores)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace zentrix

BENCHMARK_MAIN();
