// The predictions layer's inputs: a database file with arbitrary bytes (damaged, truncated, from
// another program) and arbitrary bytes as stored sets. Nothing may crash; a database the store
// refuses keeps every byte; whatever it accepts can be listed, loaded, saved into and deleted from;
// stored sets decode only when they are whole sets of six ascending numbers 1..43, and decoded sets
// encode back to the same bytes.
//
// Input: one byte choosing the case, then the database file's bytes or the sets' bytes.
#include "FuzzSupport.h"
#include "predictions/PredictionStore.h"

#include <filesystem>

namespace zentrix::fuzz {
namespace {

bool AllValid(const std::vector<PredictionSet>& sets)
{
    for (const PredictionSet& set : sets) {
        for (std::size_t i = 0; i < set.size(); ++i) {
            if (set[i] < 1 || set[i] > 43 || (i > 0 && set[i - 1] >= set[i]))
                return false;
        }
    }
    return true;
}

void CheckSets(std::span<const std::uint8_t> bytes)
{
    const std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    std::vector<PredictionSet> sets;
    if (!PredictionStore::DecodeSets(text, sets))
        return;
    Require(bytes.size() % 6 == 0, "sets of a size other than whole sets decoded");
    Require(AllValid(sets), "a bad set decoded");
    Require(PredictionStore::EncodeSets(sets) == text, "decoded sets encode to other bytes");
}

void CheckDatabase(std::span<const std::uint8_t> bytes, bool forWriting)
{
    const std::filesystem::path file = ScratchDir() / "zentrix-predictions.sqlite3";
    for (const char* suffix : {"", "-wal", "-shm", "-journal"})
        std::filesystem::remove(file.string() + suffix);
    WriteFileBytes(file, bytes);

    PredictionStore store(file);
    const PredictionsStatus opened =
        store.open(forWriting ? PredictionStore::Mode::CreateIfMissing : PredictionStore::Mode::ExistingOnly);
    if (!opened) {
        store.close();
        Require(ReadFileBytes(file) == std::vector<std::uint8_t>(bytes.begin(), bytes.end()),
                "a refused database was changed");
        Require(!DescribePredictionsError(opened, file).empty(), "a failure without a message");
        return;
    }
    std::int64_t first = 0;
    std::int64_t listed = 0;
    const PredictionsStatus walked = store.forEach([&](const BatchHeader& header, const auto& sets) {
        Require(AllValid(sets), "a listed batch holds a bad set");
        if (listed++ == 0)
            first = header.id;
    });
    if (walked && listed > 0) {
        Batch batch;
        const PredictionsStatus loaded = store.load(first, batch);
        Require(!loaded || batch.id == first, "load gave another batch");
    }
    if (forWriting) {
        NewBatch batch;
        batch.draw = 1;
        batch.settings.setCount = 1;
        batch.sets = {{1, 2, 3, 4, 5, 6}};
        std::int64_t id = 0;
        if (store.save(batch, &id)) {
            Batch back;
            Require(store.load(id, back) && back.sets == batch.sets, "a saved batch did not come back");
            Require(static_cast<bool>(store.remove(id)), "a saved batch could not be deleted");
        }
    }
}

} // namespace
} // namespace zentrix::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace zentrix::fuzz;
    InputReader input({data, size});
    const std::uint8_t choice = input.byte();
    switch (choice % 3) {
    case 0:
        CheckSets(input.rest());
        break;
    case 1:
        CheckDatabase(input.rest(), false);
        break;
    default:
        CheckDatabase(input.rest(), true);
        break;
    }
    return 0;
}
