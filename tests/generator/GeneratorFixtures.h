// GeneratorFixtures: a RunObserver that keeps every call, a history file opened for one test,
// weight tables written by hand, and the literal rules' verdict on the sets a run kept.
#pragma once

#include "common/ReferenceRules.h"
#include "generator/GenerationRun.h"
#include "generator/WeightTable.h"
#include "store/HistoryFile.h"
#include "support/HistoryFixtures.h"
#include "support/TempDir.h"

#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace zentrix::test {

class RunRecorder final : public RunObserver
{
public:
    void setProgressMaximum(int maximum) override { calls.push_back("max " + std::to_string(maximum)); }
    void setProgressMinimum(int minimum) override { calls.push_back("min " + std::to_string(minimum)); }
    void writeSet(int row, const PredictionSet& set) override
    {
        calls.push_back("write " + std::to_string(row));
        sets.push_back(set);
    }
    void stepProgress() override { calls.push_back("step"); }
    void runCompleted() override { calls.push_back("completed"); }

    std::vector<std::string> calls;
    std::vector<PredictionSet> sets;
};

/// A history file in a fresh folder, written from `draws` and opened.
class OpenedHistory
{
public:
    explicit OpenedHistory(const std::vector<DrawRecord>& draws)
        : m_file(m_dir / "Loto6data.dt")
    {
        WriteHistory(m_file, draws);
        m_history = std::make_unique<HistoryFile>(m_file);
        m_status = m_history->OpenHistory();
    }

    HistoryFile& history() { return *m_history; }
    const std::filesystem::path& file() const { return m_file; }
    bool opened() const { return m_status.ok(); }

private:
    TempDir m_dir;
    std::filesystem::path m_file;
    std::unique_ptr<HistoryFile> m_history;
    StoreStatus m_status;
};

/// A table in which only the numbers named have a weight.
inline WeightTable WeightsOf(std::initializer_list<std::pair<int, std::int64_t>> weights)
{
    PerNumber<std::int64_t> values{};
    for (const auto& [n, w] : weights)
        values[static_cast<std::size_t>(n - 1)] = w;
    return WeightTable::FromWeights(values);
}

/// Every set is six ascending distinct numbers 1..43 that the literal rules pass against the
/// latest two of `draws`.
inline void ExpectPassingSets(const std::vector<PredictionSet>& sets, const std::vector<DrawRecord>& draws,
                              const GenerationSettings& settings)
{
    const DrawRow latest = MakeDrawRow(draws.back());
    const CarryLists lists = BuildCarryLists(latest, MakeDrawRow(draws[draws.size() - 2]));
    for (const PredictionSet& set : sets) {
        ASSERT_TRUE(std::all_of(set.begin(), set.end(), [](std::int16_t n) { return IsLotoNumber(n); }));
        ASSERT_TRUE(std::adjacent_find(set.begin(), set.end(), std::greater_equal<>()) == set.end())
            << "not ascending and distinct";
        ASSERT_EQ(reference::CheckSet(set, lists, latest, settings), SetVerdict::Pass);
    }
}

} // namespace zentrix::test
