// Results files and the side-by-side locks: reading the whole history CSV, planning and applying
// its import into an empty data file, the spreadsheet export, and a reader's pass over every draw
// with and without the window's store holding the file (each read then takes a record lock).
#include "BenchmarkHistory.h"
#include "history_io/CsvHistory.h"
#include "history_io/HistoryImport.h"
#include "store/HistoryFile.h"

#include <benchmark/benchmark.h>

namespace zentrix {
namespace {

const std::vector<DrawRecord>& History()
{
    return bench::BenchmarkHistory();
}

void BM_ReadSpreadsheetCsv(benchmark::State& state)
{
    const std::string csv = HistoryCsvText(History(), CsvLayout::Spreadsheet);
    for (auto _ : state) {
        const CsvReadResult result = ReadHistoryCsv(csv);
        if (!result.ok) {
            state.SkipWithError(result.error.c_str());
            break;
        }
        benchmark::DoNotOptimize(result.draws.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * csv.size()));
}
BENCHMARK(BM_ReadSpreadsheetCsv)->Unit(benchmark::kMillisecond);

void BM_ImportWholeHistoryIntoAnEmptyFile(benchmark::State& state)
{
    const CsvReadResult csv = ReadHistoryCsv(HistoryCsvText(History(), CsvLayout::Spreadsheet));
    for (auto _ : state) {
        state.PauseTiming();
        bench::BenchHistoryFile file({});
        state.ResumeTiming();
        HistoryFile history(file.path());
        if (!history.OpenHistory()) {
            state.SkipWithError("open failed");
            break;
        }
        const ImportPlan plan = PlanImport(history, "Loto6data.dt", csv.draws);
        if (!ApplyImport(history, "Loto6data.dt", plan).ok()) {
            state.SkipWithError("import failed");
            break;
        }
    }
}
BENCHMARK(BM_ImportWholeHistoryIntoAnEmptyFile)->Unit(benchmark::kMillisecond);

void BM_ExportSpreadsheetCsv(benchmark::State& state)
{
    bench::BenchHistoryFile file(History());
    HistoryFile history(file.path());
    if (!history.OpenHistory()) {
        state.SkipWithError("open failed");
        return;
    }
    for (auto _ : state) {
        std::vector<DrawRecord> draws;
        if (!ReadStoredDraws(history, draws)) {
            state.SkipWithError("read failed");
            break;
        }
        benchmark::DoNotOptimize(HistoryCsvText(draws, CsvLayout::Spreadsheet));
    }
}
BENCHMARK(BM_ExportSpreadsheetCsv)->Unit(benchmark::kMillisecond);

/// A command's reads of every draw, one record at a time; with the window's store open or not.
void BM_ReaderPassOverEveryDraw(benchmark::State& state)
{
    bench::BenchHistoryFile file(History());
    HistoryFile window(file.path());
    if (state.range(0) == 1 && !window.OpenHistory()) {
        state.SkipWithError("open failed");
        return;
    }
    for (auto _ : state) {
        HistoryFile reader(file.path(), MakeNativeFileDevice(FileAccess::ReadOnly));
        std::vector<DrawRecord> draws;
        if (!reader.OpenHistory() || !ReadStoredDraws(reader, draws)) {
            state.SkipWithError("read failed");
            break;
        }
        benchmark::DoNotOptimize(draws.data());
    }
    state.SetLabel(state.range(0) == 1 ? "window open" : "window closed");
}
BENCHMARK(BM_ReaderPassOverEveryDraw)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace zentrix

BENCHMARK_MAIN();
