// PredictionsFixtures: reading back what a run saved in the predictions database.
#pragma once

#include "predictions/PredictionStore.h"

#include <filesystem>
#include <vector>

namespace zentrix::test {

/// Every batch of the database, newest first; empty when it cannot be opened.
inline std::vector<Batch> SavedBatches(const std::filesystem::path& database)
{
    PredictionStore store(database);
    std::vector<Batch> batches;
    if (!store.open(PredictionStore::Mode::ExistingOnly))
        return batches;
    store.forEach([&](const BatchHeader& h, const auto& sets) {
        Batch b;
        static_cast<NewBatch&>(b) = {h.createdAt, h.draw, h.source, h.seed, h.settings, sets, h.note};
        b.id = h.id;
        batches.push_back(b);
    });
    return batches;
}

} // namespace zentrix::test
