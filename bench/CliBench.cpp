// zentrix-cli count as the user runs it: open the data file, read every draw, count the passing
// sets exactly and back-test the rules on every stored draw. Each setting must answer in < 50 ms.
#include "BenchmarkHistory.h"
#include "Commands.h"

#include <CLI/CLI.hpp>
#include <benchmark/benchmark.h>
#include <sstream>

namespace zentrix {
namespace {

const std::vector<DrawRecord>& History()
{
    return bench::BenchmarkHistory();
}

void RunCount(benchmark::State& state, const std::vector<std::string>& options)
{
    bench::BenchHistoryFile file(History());
    std::vector<std::string> args = {"count", "--data", file.path().string()};
    args.insert(args.end(), options.begin(), options.end());
    for (auto _ : state) {
        std::ostringstream out;
        std::ostringstream err;
        cli::CliContext context{out, err};
        const std::unique_ptr<CLI::App> app = cli::MakeApp();
        cli::AddAllCommands(*app, context);
        const int status = cli::RunApp(*app, context, args);
        if (status != cli::kExitOk) {
            state.SkipWithError(err.str().c_str());
            break;
        }
        benchmark::DoNotOptimize(out.str());
    }
}

void BM_CountOpeningSettings(benchmark::State& state)
{
    RunCount(state, {});
}
BENCHMARK(BM_CountOpeningSettings)->Unit(benchmark::kMillisecond);

void BM_CountTimeAxisTwoCarries(benchmark::State& state)
{
    RunCount(state, {"--basis", "time", "--time-level", "3", "--carry", "2", "--parity-level", "3"});
}
BENCHMARK(BM_CountTimeAxisTwoCarries)->Unit(benchmark::kMillisecond);

void BM_CountNoRules(benchmark::State& state)
{
    RunCount(state, {"--parity", "off", "--carry", "0", "--consecutive", "off", "--total-level", "3"});
}
BENCHMARK(BM_CountNoRules)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace zentrix

BENCHMARK_MAIN();
