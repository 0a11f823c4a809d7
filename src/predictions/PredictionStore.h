// PredictionStore: the saved batches, in an SQLite database beside the history file.
#pragma once

#include "predictions/PredictionBatch.h"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

struct sqlite3;

namespace zentrix {

enum class PredictionsError
{
    None,
    CannotOpen,   ///< the file cannot be opened or created (permissions, a folder in the way)
    Locked,       ///< another program holds the database and did not let go in time
    Corrupt,      ///< not a database, a damaged one, or one with tables that are not ours
    NewerVersion, ///< made by a newer Zentrix: read and written by nothing here
    WriteFailed,  ///< a write did not complete (disk full, read-only file); nothing was changed
    ReadFailed,   ///< a query failed for another reason
    NotFound,     ///< no batch with that number
    InvalidBatch, ///< the batch to save is not a run's result (no sets, numbers out of range)
    NotOpen,      ///< the operation needs an open store
};

struct PredictionsStatus
{
    PredictionsError error = PredictionsError::None;
    std::string detail; ///< SQLite's own words, for the curious; never shown alone

    bool ok() const { return error == PredictionsError::None; }
    explicit operator bool() const { return ok(); }
};

/// One clear Japanese sentence (UTF-8) for both programs; names the database file.
std::string DescribePredictionsError(const PredictionsStatus& status, const std::filesystem::path& file);

/// A batch as a list shows it: everything but the sets, which come scored through the visitor.
struct BatchHeader
{
    std::int64_t id = 0;
    std::int64_t createdAt = 0;
    int draw = 0;
    BatchSource source = BatchSource::Window;
    std::uint64_t seed = 0;
    GenerationSettings settings;
    std::string note; ///< see NewBatch::note
};

/**
 * The predictions database `zentrix-predictions.sqlite3`, always in the same folder as the history
 * file. It holds one row per batch: when it ran, the predicted draw, which program made it, the nine
 * settings, the seed, a note (a wheel's guarantee) and the sets (six bytes per set, in order). The schema's
 * version is PRAGMA user_version; an older database is brought up to date in one transaction when it is
 * opened for writing, a newer one is refused and left as it is. The journal is in WAL mode and every change
 * is one transaction, so a program killed while saving leaves the batch whole or absent.
 *
 * A database that cannot be read, is locked, damaged or newer is never written, replaced or
 * repaired: the status says why, and the caller goes on without it.
 */
class PredictionStore
{
public:
    static constexpr std::string_view kFileName = "zentrix-predictions.sqlite3";
    static constexpr int kSchemaVersion = 3;

    /// The database beside the history file `dataFile` (the working folder for a bare name).
    static std::filesystem::path PathBeside(const std::filesystem::path& dataFile);

    explicit PredictionStore(std::filesystem::path path);
    ~PredictionStore();
    PredictionStore(const PredictionStore&) = delete;
    PredictionStore& operator=(const PredictionStore&) = delete;

    enum class Mode
    {
        CreateIfMissing, ///< for saving: a missing database is created, an old one migrated
        ExistingOnly,    ///< for reading and deleting: a missing database is Ok and empty
    };
    PredictionsStatus open(Mode mode);
    void close();
    bool isOpen() const { return m_opened; }
    /// False after open(ExistingOnly) found no database: every read is empty then.
    bool exists() const { return m_exists; }
    const std::filesystem::path& path() const { return m_path; }

    /// Saves the batch in one transaction (the store must be open CreateIfMissing); `id` receives
    /// its number.
    PredictionsStatus save(const NewBatch& batch, std::int64_t* id = nullptr);

    /// Saves several batches in one transaction: all of them or none.
    PredictionsStatus saveAll(const std::vector<NewBatch>& batches);

    /// Visits every batch, newest first, with its decoded sets (valid only during the call).
    using Visitor = std::function<void(const BatchHeader&, const std::vector<PredictionSet>&)>;
    PredictionsStatus forEach(const Visitor& visit);

    /// The batch with this number; NotFound when there is none.
    PredictionsStatus load(std::int64_t id, Batch& batch);

    /// Deletes the batch; NotFound when there is none.
    PredictionsStatus remove(std::int64_t id);

    /// How many batches there are.
    PredictionsStatus count(std::int64_t& batches);

    /// Six bytes per set, the numbers in order.
    static std::string EncodeSets(const std::vector<PredictionSet>& sets);
    /// False when the bytes are not whole sets of six distinct ascending numbers 1..43.
    static bool DecodeSets(std::string_view bytes, std::vector<PredictionSet>& sets);

private:
    PredictionsStatus insert(const NewBatch& batch);
    PredictionsStatus prepare();
    PredictionsStatus migrate(int from);

    std::filesystem::path m_path;
    sqlite3* m_db = nullptr;
    bool m_exists = false;
    bool m_writable = false;
    bool m_opened = false;
};

} // namespace zentrix
