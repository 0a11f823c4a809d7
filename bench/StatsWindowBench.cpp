// Opening the statistics window on the real history: reading the draws, every view's tables and
// charts, the meter, and showing it (offscreen unless a display is chosen).
#include "BenchHistory.h"
#include "store/HistoryFile.h"
#include "ui/common/ApplicationSetUp.h"
#include "ui/main_window/MainWindow.h"
#include "ui/stats_window/StatsMenu.h"
#include "ui/stats_window/StatsWindow.h"

#include <QApplication>
#include <benchmark/benchmark.h>

namespace zentrix {
namespace {

void BM_OpenStatsWindow(benchmark::State& state)
{
    std::string source;
    bench::BenchHistoryFile file(bench::LoadBenchHistory(&source));
    benchmark::AddCustomContext("history", source);
    HistoryFile history(file.path());
    ui::MainWindow window(history);
    if (!window.load()) {
        state.SkipWithError("cannot open the history");
        return;
    }
    for (auto _ : state) {
        ui::StatsWindow* stats = ui::OpenStatsWindow(window);
        QApplication::processEvents();
        state.PauseTiming();
        delete stats;
        state.ResumeTiming();
    }
}
BENCHMARK(BM_OpenStatsWindow)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace zentrix

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    zentrix::ui::SetUpApplication();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
