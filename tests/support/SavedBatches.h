// SavedBatches: every batch of a predictions database, read back for a test to check.
#pragma once

#include "predictions/PredictionStore.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <vector>

namespace zentrix::test {

/// Every batch in the database at `file`, newest first; fails the test when it cannot be read.
inline std::vector<Batch> SavedBatches(const std::filesystem::path& file)
{
    std::vector<Batch> batches;
    PredictionStore store(file);
    EXPECT_TRUE(store.open(PredictionStore::Mode::ExistingOnly));
    EXPECT_TRUE(store.forEach([&](const BatchHeader& h, const std::vector<PredictionSet>& sets) {
        Batch batch;
        static_cast<NewBatch&>(batch) = {h.createdAt, h.draw, h.source, h.seed, h.settings, sets, h.note};
        batch.id = h.id;
        batches.push_back(batch);
    }));
    return batches;
}

} // namespace zentrix::test
