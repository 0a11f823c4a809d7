// A program killed at any moment while it saves predictions: every batch in the database is whole
// or absent, every batch the program had finished saving is there, and the database stays usable.
#include "predictions/PredictionStore.h"
#include "support/ChildProcess.h"
#include "support/TempDir.h"

#include <algorithm>
#include <csignal>
#include <gtest/gtest.h>
#include <random>
#include <unistd.h>

namespace zentrix::test {
namespace {

/// A batch whose every field follows from its seed, so a reader can tell a whole one.
NewBatch BatchFor(std::uint64_t seed)
{
    NewBatch batch;
    batch.createdAt = static_cast<std::int64_t>(seed);
    batch.seed = seed;
    batch.draw = 1 + static_cast<int>(seed % 2000);
    batch.settings.setCount = 1 + static_cast<int>(seed % 100);
    std::mt19937 random(static_cast<std::uint32_t>(seed));
    for (int s = 0; s < batch.settings.setCount; ++s) {
        PredictionSet set{};
        int n = 0;
        for (auto& number : set) {
            n += 1 + static_cast<int>(random() % 7);
            number = static_cast<std::int16_t>(n);
        }
        batch.sets.push_back(set);
    }
    return batch;
}

/// Saves batches with seeds round*100000 + i until it is killed; writes one byte per batch that
/// save() has reported as saved.
[[noreturn]] void SaveUntilKilled(const std::filesystem::path& database, int round, int report)
{
    PredictionStore store(database);
    if (!store.open(PredictionStore::Mode::CreateIfMissing))
        ::_exit(2);
    for (std::uint64_t i = 0;; ++i) {
        if (!store.save(BatchFor(static_cast<std::uint64_t>(round) * 100000 + i)))
            ::_exit(3);
        const char saved = 's';
        if (::write(report, &saved, 1) != 1)
            ::_exit(4);
    }
}

TEST(KilledWhileSavingTest, EveryBatchIsWholeOrAbsentAndFinishedOnesStay)
{
    TempDir dir;
    const auto database = dir / PredictionStore::kFileName;
    std::mt19937 delays(20261207);
    std::vector<std::uint64_t> finished; // seeds the killed programs had been told were saved

    for (int round = 0; round < 30; ++round) {
        ChildProcess saver([&](int channel) -> int { SaveUntilKilled(database, round, channel); });
        ASSERT_TRUE(saver.started());
        // The first rounds kill while the database is being created; later ones mid-stream.
        ::usleep(round < 3 ? round * 300 : 1000 + delays() % 30000);
        const ChildOutcome outcome = saver.kill(SIGKILL);
        ASSERT_EQ(outcome.signal, SIGKILL) << "the saving program ended by itself with " << outcome.exitCode;
        const std::uint64_t reported = outcome.report.size();
        for (std::uint64_t i = 0; i < reported; ++i)
            finished.push_back(static_cast<std::uint64_t>(round) * 100000 + i);

        PredictionStore store(database);
        const PredictionsStatus opened = store.open(PredictionStore::Mode::ExistingOnly);
        ASSERT_TRUE(opened) << "round " << round << ": " << opened.detail;
        std::vector<std::uint64_t> present;
        const PredictionsStatus listed = store.forEach([&](const BatchHeader& header, const auto& sets) {
            const NewBatch expected = BatchFor(header.seed);
            EXPECT_EQ(header.draw, expected.draw);
            EXPECT_EQ(header.settings, expected.settings);
            EXPECT_EQ(sets, expected.sets) << "batch " << header.seed << " is not whole";
            present.push_back(header.seed);
        });
        ASSERT_TRUE(listed) << "round " << round << ": " << listed.detail;
        std::sort(present.begin(), present.end());
        for (const std::uint64_t seed : finished)
            ASSERT_TRUE(std::binary_search(present.begin(), present.end(), seed))
                << "batch " << seed << " was lost";
        // At most the one batch in flight is there without having been reported.
        std::uint64_t fromThisRound = 0;
        for (const std::uint64_t seed : present)
            fromThisRound += seed / 100000 == static_cast<std::uint64_t>(round) ? 1 : 0;
        EXPECT_LE(fromThisRound, reported + 1);
    }
    EXPECT_GT(finished.size(), 30u); // the rounds did save something
}

} // namespace
} // namespace zentrix::test
