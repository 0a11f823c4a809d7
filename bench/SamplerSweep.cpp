// zentrix_sweep (`make sweep`): every Latest from 2 to the end of the real history, with the draws
// up to it, and every setting combination. For each feasible one it reports the way the run draws
// (the attempt loop or the direct sampler) and that way's predicted cost; every STRIDE-th Latest
// it also times whole runs of 100 sets, file reading included, to show the cost predicts the time.
#include "BenchHistory.h"
#include "generator/AttemptChances.h"
#include "generator/DirectSampler.h"
#include "generator/Feasibility.h"
#include "generator/GenerationRun.h"
#include "generator/RandomSource.h"
#include "generator/WeightTable.h"
#include "store/HistoryFile.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <memory>
#include <string>
#include <vector>

namespace zentrix {
namespace {

class QuietObserver final : public RunObserver
{
public:
    void setProgressMaximum(int) override {}
    void setProgressMinimum(int) override {}
    void writeSet(int, const PredictionSet&) override {}
    void stepProgress() override {}
    void runCompleted() override {}
};

/// The weight tables a run can get: with weighting on, six (two bases, three levels); without
/// it the total basis ignores its level, the time basis does not.
std::vector<GenerationSettings> WeightSettings()
{
    std::vector<GenerationSettings> all;
    for (int level = 1; level <= 3; ++level) {
        for (const bool on : {true, false}) {
            GenerationSettings total;
            total.weightingOn = on;
            total.totalLevel = level;
            if (on || level == 1)
                all.push_back(total);
            GenerationSettings time = total;
            time.weightBasis = WeightBasis::TimeAxis;
            time.timeAxisLevel = level;
            all.push_back(time);
        }
    }
    return all;
}

/// Rule settings: parity off or levels 1..7, carry 0..2, consecutive on or off.
std::vector<GenerationSettings> RuleSettings(const GenerationSettings& weights)
{
    std::vector<GenerationSettings> all;
    for (int parity = 0; parity <= 7; ++parity)
        for (int carry = 0; carry <= 2; ++carry)
            for (const bool consecutive : {true, false}) {
                GenerationSettings s = weights;
                s.setCount = kMaxSetCount;
                s.parityOn = parity > 0;
                s.parityLevel = parity > 0 ? parity : 4;
                s.carryCount = carry;
                s.consecutiveOn = consecutive;
                all.push_back(s);
            }
    return all;
}

std::string Describe(const GenerationSettings& s, RecordNo latest)
{
    char text[160];
    std::snprintf(text, sizeof text,
                  "Latest %ld weighting %s basis %s level %d parity %s carry %d consecutive %s",
                  static_cast<long>(latest), s.weightingOn ? "on" : "off",
                  s.weightBasis == WeightBasis::TimeAxis ? "time" : "total",
                  s.weightBasis == WeightBasis::TimeAxis ? s.timeAxisLevel : s.totalLevel,
                  s.parityOn ? std::to_string(s.parityLevel).c_str() : "off", s.carryCount,
                  s.consecutiveOn ? "on" : "off");
    return text;
}

double Seconds(std::chrono::steady_clock::duration d)
{
    return std::chrono::duration<double>(d).count();
}

} // namespace
} // namespace zentrix

int main()
{
    using namespace zentrix;
    using Clock = std::chrono::steady_clock;
    const char* strideText = std::getenv("STRIDE");
    const int stride = strideText ? std::max(1, std::atoi(strideText)) : 100;
    std::string source;
    const std::vector<DrawRecord> draws = bench::LoadBenchHistory(&source);
    std::printf("sweep over %s, timing whole runs every %d draws\n", source.c_str(), stride);

    const RunLimits limits;
    const std::vector<GenerationSettings> weightSettings = WeightSettings();
    const auto start = Clock::now();

    std::int64_t cases = 0, infeasible = 0, contradictions = 0, loopCases = 0, directCases = 0;
    std::int64_t notReady = 0;
    double worstLoopCost = 0.0;
    std::string worstLoop;
    double worstDirectCost = 0.0;
    std::string worstDirect;
    struct Timing
    {
        double draws;    // Latest: reading the file and building the weights
        double attempts; // attempts the loop made
        double sets;     // passing sets the sampler listed
        double ms;
    };
    std::vector<Timing> timings;
    double rarest = 1.0;
    std::string rarestCase;
    double slowestRun = 0.0;
    std::string slowestCase;
    std::int64_t timedRuns = 0, tooSlowRuns = 0;

    DrawTable table;
    for (std::size_t i = 0; i < draws.size(); ++i) {
        table.rows.push_back(MakeDrawRow(draws[i]));
        const RecordNo latest = table.Latest();
        if (latest < 2 || (std::getenv("ONLY") && latest != std::atoi(std::getenv("ONLY"))))
            continue;
        const bool timed = latest % stride == 0 || latest == static_cast<RecordNo>(draws.size());
        std::unique_ptr<bench::BenchHistoryFile> file;
        if (timed)
            file = std::make_unique<bench::BenchHistoryFile>(
                std::vector<DrawRecord>(draws.begin(), draws.begin() + latest));
        const CarryLists lists = BuildCarryLists(table);
        const DrawRow& latestRow = table.row(latest);
        for (const GenerationSettings& weightSetting : weightSettings) {
            const WeightTable weights = BuildWeightTable(table, weightSetting);
            const AttemptChances chances(weightSetting, weights);
            for (const GenerationSettings& settings : RuleSettings(weightSetting)) {
                ++cases;
                const RulePlan rules(lists, latestRow, settings);
                if (rules.contradiction()) {
                    ++contradictions;
                    continue;
                }
                const std::int64_t passing =
                    CountPassingSets(settings, lists, latestRow, chances.reachable());
                if (passing == 0 || MaskSize(chances.reachable()) < kSetSize) {
                    ++infeasible;
                    continue;
                }
                const double floor = chances.passChanceFloor(rules);
                const bool direct = DrawsDirectly(kMaxSetCount, floor, passing, limits);
                // The work each way costs, in attempts of the loop: the loop's expected attempts
                // (at most, since the floor is a lower bound) or the sampler's sets.
                const double cost =
                    direct ? static_cast<double>(passing) * limits.setCostInAttempts : kMaxSetCount / floor;
                if (direct) {
                    ++directCases;
                    const DirectSampler sampler(chances, rules, limits.directSetBudget);
                    if (!sampler.ready()) {
                        ++notReady;
                        std::printf("sampler cannot draw: %s\n", Describe(settings, latest).c_str());
                    } else if (sampler.passChance() < rarest) {
                        rarest = sampler.passChance();
                        rarestCase = Describe(settings, latest);
                    }
                    if (cost > worstDirectCost) {
                        worstDirectCost = cost;
                        worstDirect = Describe(settings, latest);
                    }
                } else {
                    ++loopCases;
                    if (cost > worstLoopCost) {
                        worstLoopCost = cost;
                        worstLoop = Describe(settings, latest);
                    }
                }
                if (timed) {
                    HistoryFile history(file->path());
                    const std::clock_t runStart = std::clock();
                    (void)history.OpenHistory();
                    RandomSource random(static_cast<std::uint64_t>(cases));
                    QuietObserver observer;
                    const RunResult result = GenerateSets(settings, history, random, observer);
                    // Processor time: the machine may be shared, and waiting is not the run's work.
                    const double took = static_cast<double>(std::clock() - runStart) / CLOCKS_PER_SEC;
                    if (result.direct != direct)
                        std::printf("run took the other way: %s\n", Describe(settings, latest).c_str());
                    timings.push_back({static_cast<double>(latest), static_cast<double>(result.attempts),
                                       result.direct ? static_cast<double>(passing) : 0.0, took * 1e3});
                    ++timedRuns;
                    if (result.outcome == RunOutcome::TooSlow)
                        ++tooSlowRuns;
                    if (took > slowestRun) {
                        slowestRun = took;
                        slowestCase = Describe(settings, latest) + (result.direct ? " (direct)" : " (loop)");
                    }
                }
            }
        }
    }
    std::printf(
        "%lld setting cases: %lld contradictions, %lld with no passing set, %lld by the loop, %lld direct\n",
        static_cast<long long>(cases), static_cast<long long>(contradictions),
        static_cast<long long>(infeasible), static_cast<long long>(loopCases),
        static_cast<long long>(directCases));
    std::printf("loop: highest cost %.0f attempts at %s\n", worstLoopCost, worstLoop.c_str());
    std::printf("direct: highest cost %.0f attempts (%.0f sets) at %s; %lld could not draw\n",
                worstDirectCost, worstDirectCost / limits.setCostInAttempts, worstDirect.c_str(),
                static_cast<long long>(notReady));
    // Least squares fit of the timed runs: ms = k + a * Latest + b * attempts + c * listed sets.
    // The worst ratio of a measured time to its fit (over runs of a millisecond or more, where a
    // stray interruption does not dominate) says how far the fit can be trusted; the dearest
    // cases of the sweep are then predicted from their costs on the whole history.
    constexpr int kTerms = 4;
    double m[kTerms][kTerms + 1] = {};
    for (const Timing& t : timings) {
        const double x[kTerms] = {1.0, t.draws, t.attempts, t.sets};
        for (int r = 0; r < kTerms; ++r) {
            for (int c = 0; c < kTerms; ++c)
                m[r][c] += x[r] * x[c];
            m[r][kTerms] += x[r] * t.ms;
        }
    }
    for (int p = 0; p < kTerms; ++p) {
        for (int r = 0; r < kTerms; ++r) {
            if (r == p || m[p][p] == 0.0)
                continue;
            const double f = m[r][p] / m[p][p];
            for (int c = 0; c <= kTerms; ++c)
                m[r][c] -= f * m[p][c];
        }
    }
    double fit[kTerms] = {};
    for (int r = 0; r < kTerms; ++r)
        fit[r] = m[r][r] != 0.0 ? m[r][kTerms] / m[r][r] : 0.0;
    auto predict = [&](double draws, double attempts, double sets) {
        return fit[0] + fit[1] * draws + fit[2] * attempts + fit[3] * sets;
    };
    double worstRatio = 0.0;
    for (const Timing& t : timings)
        if (t.ms >= 1.0)
            worstRatio = std::max(worstRatio, t.ms / predict(t.draws, t.attempts, t.sets));
    std::printf(
        "timed runs fit: %.3f ms + %.2f us per draw read + %.3f us per attempt + %.3f us per listed set; "
        "runs of 1 ms or more took at most %.2f times the fit\n",
        fit[0], fit[1] * 1e3, fit[2] * 1e3, fit[3] * 1e3, worstRatio);
    const double wholeHistory = static_cast<double>(draws.size());
    const double loopMs = predict(wholeHistory, worstLoopCost, 0.0);
    const double directMs = predict(wholeHistory, 0.0, worstDirectCost / limits.setCostInAttempts);
    std::printf("predicted dearest runs on the whole history: loop %.1f ms, direct %.1f ms (%.1f and %.1f "
                "with that margin)\n",
                loopMs, directMs, loopMs * worstRatio, directMs * worstRatio);
    std::printf("direct: rarest pass chance %.3g at %s\n", rarest, rarestCase.c_str());
    std::printf("timed runs %lld, TooSlow %lld, slowest %.2f ms (processor time) at %s\n",
                static_cast<long long>(timedRuns), static_cast<long long>(tooSlowRuns), slowestRun * 1e3,
                slowestCase.c_str());
    std::printf("sweep took %.1f s\n", Seconds(Clock::now() - start));
    return tooSlowRuns == 0 && notReady == 0 ? 0 : 1;
}
