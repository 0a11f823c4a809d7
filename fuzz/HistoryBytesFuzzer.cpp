// Arbitrary bytes as the data file: open it, find the latest draw, load the table, build the weight
// table for every weighting, basis and level, and run a few bounded generations. Nothing may crash,
// every weight must be usable, every set kept must be six distinct ascending numbers 1..43 that
// passes the filters, and a run must never change the file.
//
// Input: 16 bytes of settings and seed, then the file's bytes.
#include "FuzzSupport.h"
#include "common/ReferenceRules.h"
#include "generator/DrawTable.h"
#include "generator/Feasibility.h"
#include "generator/GenerationRun.h"
#include "generator/RandomSource.h"
#include "generator/RunMessages.h"
#include "generator/SetFilter.h"
#include "generator/WeightTable.h"
#include "store/HistoryFile.h"

#include <string>

namespace zentrix::fuzz {
namespace {

constexpr std::size_t kHeaderSize = 16;

class CheckingObserver final : public RunObserver
{
public:
    CheckingObserver(const CarryLists& lists, const DrawRow& latest, const GenerationSettings& settings)
        : m_lists(lists)
        , m_latest(latest)
        , m_settings(settings)
    {
    }

    void setProgressMaximum(int) override {}
    void setProgressMinimum(int) override {}
    void stepProgress() override {}
    void runCompleted() override { m_completed = true; }

    void writeSet(int row, const PredictionSet& set) override
    {
        Require(row == ++m_rows, "sets are numbered 1, 2, 3, ... in the order kept");
        for (std::size_t i = 0; i < set.size(); ++i) {
            Require(set[i] >= 1 && set[i] <= 43, "every number of a set lies in 1..43");
            Require(i == 0 || set[i - 1] < set[i], "a set is six distinct numbers in ascending order");
        }
        Require(reference::CheckSet(set, m_lists, m_latest, m_settings) == SetVerdict::Pass,
                "every set kept passes the filters");
    }

    int rows() const { return m_rows; }
    bool completed() const { return m_completed; }

private:
    const CarryLists& m_lists;
    const DrawRow& m_latest;
    const GenerationSettings& m_settings;
    int m_rows = 0;
    bool m_completed = false;
};

GenerationSettings ReadSettings(InputReader& in)
{
    GenerationSettings s;
    s.setCount = in.inRange(1, 12);
    s.weightingOn = in.flag();
    s.weightBasis = static_cast<WeightBasis>(in.inRange(0, 1));
    // Levels and counts a little beyond what the window offers: the engine documents how it reads them.
    s.totalLevel = in.inRange(0, 4);
    s.timeAxisLevel = in.inRange(0, 4);
    s.parityOn = in.flag();
    s.parityLevel = in.inRange(0, 8);
    s.carryCount = in.inRange(0, 3);
    s.consecutiveOn = in.flag();
    return s;
}

void CheckWeights(const WeightTable& weights)
{
    std::int64_t previous = 0;
    for (std::int64_t w : weights.W) {
        Require(w >= previous, "running weight totals never fall (no negative weight)");
        previous = w;
    }
}

void CheckAllWeightTables(const DrawTable& table)
{
    for (bool weighting : {false, true}) {
        for (int basis : {0, 1}) {
            for (int level = 1; level <= 3; ++level) {
                GenerationSettings s;
                s.weightingOn = weighting;
                s.weightBasis = static_cast<WeightBasis>(basis);
                s.totalLevel = level;
                s.timeAxisLevel = level;
                const WeightTable weights = BuildWeightTable(table, s);
                CheckWeights(weights);
                Require(MaskSize(weights.drawable()) <= 43, "at most 43 drawable numbers");
            }
        }
    }
}

void RunOnce(const std::filesystem::path& file, const DrawTable& table, const GenerationSettings& settings,
             std::uint64_t seed)
{
    HistoryFile history(file);
    if (!history.OpenHistory())
        return;
    const CarryLists lists = BuildCarryLists(table);
    const DrawRow latest = table.rows.empty() ? DrawRow{} : table.rows.back();
    CheckingObserver observer(lists, latest, settings);
    RandomSource random(seed);
    RunLimits limits;
    limits.drawBudget = 4000; // a few hundred candidates: enough to reach every outcome quickly
    // Past that budget the run lists the passing sets; under the sanitizers a list of a million
    // sets takes seconds, so a smaller cap keeps every input well inside the fuzzer's time-out.
    limits.directSetBudget = 100'000;
    const RunResult result = GenerateSets(settings, history, random, observer, limits);

    Require(result.storedDraws == table.Latest(), "the run reads the same Latest as FindLatest");
    if (result.outcome == RunOutcome::Completed) {
        Require(observer.completed(), "a completed run says so");
        Require(observer.rows() == settings.setCount && result.setsWritten == settings.setCount,
                "a completed run writes every set wanted");
    } else {
        Require(observer.rows() == 0 && result.setsWritten == 0,
                "a run that does not complete writes no set");
        Require(!observer.completed(), "only a completed run reports completion");
    }
    Require(result.outcome != RunOutcome::ReadFailed, "a file that opened reads back whole");
    if (table.Latest() >= 2 && result.outcome == RunOutcome::Completed)
        Require(AssessHistory(settings, table).feasible(), "a run only completes when sets can pass");
    // The words for every outcome exist and do not crash.
    (void)DescribeRunOutcome(result, "Loto6data.dt");
}

} // namespace
} // namespace zentrix::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace zentrix;
    using namespace zentrix::fuzz;

    InputReader header(std::span(data, std::min(size, kHeaderSize)));
    const GenerationSettings settings = ReadSettings(header);
    const std::uint64_t seed = header.u64();
    const std::span<const std::uint8_t> bytes = size > kHeaderSize
                                                    ? std::span(data + kHeaderSize, size - kHeaderSize)
                                                    : std::span<const std::uint8_t>{};

    const std::filesystem::path file = ScratchDir() / "Loto6data.dt";
    WriteFileBytes(file, bytes);

    DrawTable table;
    {
        HistoryFile history(file);
        if (!history.OpenHistory())
            Fail("a regular file that nobody holds opens");
        Require(history.RecordCount() == static_cast<RecordNo>(bytes.size() / 16),
                "the record count ignores a trailing partial record");
        Require(history.Latest() >= 0 && history.Latest() <= history.RecordCount(),
                "Latest lies within the file");
        Require(history.FindLatest().ok(), "the scan reads the file again");
        Require(LoadDrawTable(history, history.Latest(), table).ok(), "every record up to Latest reads");
        Require(table.Latest() == history.Latest(), "the table holds draws 1..Latest");
        if (table.Latest() > 0)
            Require(MakeDrawRow(history.CurrentRecord()) == table.rows.back(),
                    "the last record read is the latest draw");
    }
    CheckAllWeightTables(table);
    (void)ComputeStatistics(table);

    GenerationSettings s = settings;
    RunOnce(file, table, s, seed);
    s.weightingOn = !s.weightingOn;
    RunOnce(file, table, s, seed ^ 0x9e3779b97f4a7c15ULL);

    Require(ReadFileBytes(file) == std::vector<std::uint8_t>(bytes.begin(), bytes.end()),
            "reading and generating never change the data file");
    return 0;
}
