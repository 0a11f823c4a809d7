// Every command on a 1 GiB sparse data file (the real history, then a gigabyte of empty records
// that costs no disk): the work must follow what is stored, not the file's length. Each must
// stay well under a second.
#include "BenchHistory.h"
#include "Commands.h"
#include "store/HistoryFile.h"

#include <CLI/CLI.hpp>
#include <benchmark/benchmark.h>
#include <sstream>
#include <unistd.h>

namespace zentrix {
namespace {

constexpr off_t kSparseLength = off_t{1} << 30;

const std::vector<DrawRecord>& History()
{
    static const std::vector<DrawRecord> draws = bench::LoadBenchHistory();
    return draws;
}

int RunCli(const std::vector<std::string>& args)
{
    std::ostringstream out;
    std::ostringstream err;
    cli::CliContext context{out, err};
    const std::unique_ptr<CLI::App> app = cli::MakeApp();
    cli::AddAllCommands(*app, context);
    return cli::RunApp(*app, context, args);
}

void SparseCommand(benchmark::State& state, const std::vector<std::string>& options)
{
    bench::BenchHistoryFile file(History());
    if (::truncate(file.path().c_str(), kSparseLength) != 0) {
        state.SkipWithError("cannot make the sparse file");
        return;
    }
    std::vector<std::string> args = options;
    args.insert(args.begin() + 1, {"--data", file.path().string()});
    for (auto _ : state) {
        if (RunCli(args) != 0)
            state.SkipWithError("the command failed");
    }
}
BENCHMARK_CAPTURE(SparseCommand, generate, std::vector<std::string>{"generate", "--seed", "1"})
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(SparseCommand, count, std::vector<std::string>{"count"})->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(SparseCommand, stats, std::vector<std::string>{"stats"})->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(SparseCommand, export, std::vector<std::string>{"export"})->Unit(benchmark::kMillisecond);

/// The window's start (OpenHistory with its scan for Latest) and one write with the scan after it.
void SparseOpenAndWrite(benchmark::State& state)
{
    bench::BenchHistoryFile file(History());
    if (::truncate(file.path().c_str(), kSparseLength) != 0) {
        state.SkipWithError("cannot make the sparse file");
        return;
    }
    for (auto _ : state) {
        HistoryFile history(file.path());
        if (!history.OpenHistory() ||
            !history.WriteDraw(history.Latest(), history.CurrentRecord().Numbers,
                               history.CurrentRecord().Bonus) ||
            !history.FindLatest())
            state.SkipWithError("open or write failed");
    }
}
BENCHMARK(SparseOpenAndWrite)->Unit(benchmark::kMillisecond);

/// A one-draw import: the whole file is copied (its holes stay holes) and renamed into place.
void SparseImportOneDraw(benchmark::State& state)
{
    const std::vector<DrawRecord>& all = History();
    bench::BenchHistoryFile file({all.begin(), all.end() - 1});
    if (::truncate(file.path().c_str(), kSparseLength) != 0) {
        state.SkipWithError("cannot make the sparse file");
        return;
    }
    std::vector<HistoryFile::RecordWrite> writes{
        {static_cast<RecordNo>(all.size()), all.back().Numbers, all.back().Bonus}};
    for (auto _ : state) {
        HistoryFile history(file.path());
        if (!history.OpenHistory() || !history.ReplaceHistory(writes))
            state.SkipWithError("import failed");
    }
}
BENCHMARK(SparseImportOneDraw)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace zentrix

BENCHMARK_MAIN();
