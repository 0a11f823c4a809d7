// RunRecorder: a RunObserver that keeps every call, and a history file opened for one test.
#pragma once

#include "generator/GenerationRun.h"
#include "store/HistoryFile.h"
#include "support/HistoryFixtures.h"
#include "support/TempDir.h"

#include <memory>
#include <string>
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

} // namespace zentrix::test
