// PredictionStore: SQLite through its C API; one statement or one transaction per change.
#include "predictions/PredictionStore.h"

#include "generator/LotoNumbers.h"

#include <algorithm>
#include <sqlite3.h>

namespace zentrix {
namespace {

/// Each entry takes the schema one version up; entry v leads from version v to v + 1. A database
/// is brought from its version to the current one in a single transaction.
constexpr const char* kMigrations[] = {
    // 1: one row per batch; the sets are six bytes each, in the order the run kept them.
    "CREATE TABLE batch("
    " id INTEGER PRIMARY KEY AUTOINCREMENT,"
    " created_at INTEGER NOT NULL,"
    " draw INTEGER NOT NULL CHECK(draw >= 1),"
    " seed INTEGER NOT NULL,"
    " set_count INTEGER NOT NULL,"
    " weighting_on INTEGER NOT NULL,"
    " weight_basis INTEGER NOT NULL,"
    " total_level INTEGER NOT NULL,"
    " time_axis_level INTEGER NOT NULL,"
    " parity_on INTEGER NOT NULL,"
    " parity_level INTEGER NOT NULL,"
    " carry_count INTEGER NOT NULL,"
    " consecutive_on INTEGER NOT NULL,"
    " sets BLOB NOT NULL);",
    // 2: which program made the batch (the first version knew only the window); lists by draw.
    ("ALTER TABLE batch ADD COLUMN source INTEGER NOT NULL DEFAULT 0;"
     "CREATE INDEX batch_by_draw ON batch(draw);"),
    // 3: batches from the wheel window (source 2), described by a note instead of settings and seed.
    "ALTER TABLE batch ADD COLUMN note TEXT NOT NULL DEFAULT '';",
};
static_assert(std::size(kMigrations) == PredictionStore::kSchemaVersion);

constexpr const char* kSelectColumns =
    "SELECT id, created_at, draw, source, seed, set_count, weighting_on, weight_basis, total_level,"
    " time_axis_level, parity_on, parity_level, carry_count, consecutive_on, sets, note FROM batch";

/// A prepared statement, finalized with its scope.
class Statement
{
public:
    Statement(sqlite3* db, const char* sql) { m_rc = sqlite3_prepare_v2(db, sql, -1, &m_stmt, nullptr); }
    ~Statement() { sqlite3_finalize(m_stmt); }
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    int prepared() const { return m_rc; }
    sqlite3_stmt* get() const { return m_stmt; }
    int step() { return sqlite3_step(m_stmt); }
    void bind(int index, std::int64_t value) { sqlite3_bind_int64(m_stmt, index, value); }
    std::int64_t integer(int column) const { return sqlite3_column_int64(m_stmt, column); }

private:
    sqlite3_stmt* m_stmt = nullptr;
    int m_rc = SQLITE_OK;
};

/// The batch table is ours: every column this version reads is there, and `id` is the row id that
/// a save hands back. A table of that name with other columns is someone else's.
bool HasOurBatchTable(sqlite3* db)
{
    Statement columns(db, (std::string(kSelectColumns) + " LIMIT 0").c_str());
    Statement rowId(db, "SELECT rowid FROM batch LIMIT 0");
    Statement idColumn(db, "SELECT 1 FROM pragma_table_info('batch')"
                           " WHERE name = 'id' AND pk = 1 AND upper(type) = 'INTEGER'");
    return columns.prepared() == SQLITE_OK && rowId.prepared() == SQLITE_OK &&
           idColumn.prepared() == SQLITE_OK && idColumn.step() == SQLITE_ROW;
}

PredictionsStatus Failure(PredictionsError error, sqlite3* db = nullptr)
{
    return {error, db ? sqlite3_errmsg(db) : std::string()};
}

/// The store's error for an SQLite result code; `otherwise` for everything not singled out.
PredictionsStatus FailureFor(int rc, sqlite3* db, PredictionsError otherwise)
{
    switch (rc & 0xff) {
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return Failure(PredictionsError::Locked, db);
    case SQLITE_CORRUPT:
    case SQLITE_NOTADB:
    case SQLITE_FORMAT:
        return Failure(PredictionsError::Corrupt, db);
    case SQLITE_CANTOPEN:
    case SQLITE_PERM:
    case SQLITE_AUTH:
        return Failure(PredictionsError::CannotOpen, db);
    default:
        return Failure(otherwise, db);
    }
}

bool IsValidSet(const PredictionSet& set)
{
    for (std::size_t i = 0; i < set.size(); ++i) {
        if (!IsLotoNumber(set[i]) || (i > 0 && set[i - 1] >= set[i]))
            return false;
    }
    return true;
}

bool IsValidBatch(const NewBatch& batch)
{
    const std::size_t most =
        batch.source == BatchSource::Wheel ? kMaxWheelBatchSets : std::size_t{kMaxSetCount};
    return batch.draw >= 1 && !batch.sets.empty() && batch.sets.size() <= most &&
           std::all_of(batch.sets.begin(), batch.sets.end(), IsValidSet);
}

BatchHeader ReadHeader(const Statement& row)
{
    BatchHeader header;
    header.id = row.integer(0);
    header.createdAt = row.integer(1);
    header.draw = static_cast<int>(row.integer(2));
    switch (row.integer(3)) {
    case 1:
        header.source = BatchSource::CommandLine;
        break;
    case 2:
        header.source = BatchSource::Wheel;
        break;
    default:
        header.source = BatchSource::Window;
        break;
    }
    header.seed = static_cast<std::uint64_t>(row.integer(4));
    GenerationSettings& s = header.settings;
    s.setCount = static_cast<int>(row.integer(5));
    s.weightingOn = row.integer(6) != 0;
    s.weightBasis = row.integer(7) == 1 ? WeightBasis::TimeAxis : WeightBasis::TotalAppearances;
    s.totalLevel = static_cast<int>(row.integer(8));
    s.timeAxisLevel = static_cast<int>(row.integer(9));
    s.parityOn = row.integer(10) != 0;
    s.parityLevel = static_cast<int>(row.integer(11));
    s.carryCount = static_cast<int>(row.integer(12));
    s.consecutiveOn = row.integer(13) != 0;
    if (const unsigned char* note = sqlite3_column_text(row.get(), 15))
        header.note = reinterpret_cast<const char*>(note);
    return header;
}

std::string_view SetsBlob(const Statement& row)
{
    const void* bytes = sqlite3_column_blob(row.get(), 14);
    const int size = sqlite3_column_bytes(row.get(), 14);
    return bytes ? std::string_view(static_cast<const char*>(bytes), static_cast<std::size_t>(size))
                 : std::string_view();
}

} // namespace

std::string DescribePredictionsError(const PredictionsStatus& status, const std::filesystem::path& file)
{
    const std::string name = "「" + file.string() + "」";
    switch (status.error) {
    case PredictionsError::None:
        return {};
    case PredictionsError::CannotOpen:
        return "予想の保存先" + name + "を開けません。フォルダーとファイルの権限を確認して下さい。";
    case PredictionsError::Locked:
        return "予想の保存先" + name + "は別のプログラムが使用中です。しばらくしてからもう一度試して下さい。";
    case PredictionsError::Corrupt:
        return name + "は予想の保存先として読めません（壊れているか、別の種類のファイルです）。" +
               "ファイルは変更せずにそのまま残してあります。";
    case PredictionsError::NewerVersion:
        return name + "は新しい版の Zentrix で作られたため、この版では読み書きしません。" +
               "ファイルは変更せずにそのまま残してあります。";
    case PredictionsError::WriteFailed:
        return "予想を" + name + "に保存できませんでした。ディスクの空きと書き込みの権限を確認して下さい。" +
               "それまでに保存した予想はそのままです。";
    case PredictionsError::ReadFailed:
        return "予想の保存先" + name + "を読めませんでした。";
    case PredictionsError::NotFound:
        return "その番号の予想は" + name + "に保存されていません。";
    case PredictionsError::InvalidBatch:
        return "予想番号が正しくないため保存しませんでした。";
    case PredictionsError::NotOpen:
        return "予想の保存先" + name + "が開かれていません。";
    }
    return {};
}

std::filesystem::path PredictionStore::PathBeside(const std::filesystem::path& dataFile)
{
    return dataFile.parent_path() / kFileName;
}

PredictionStore::PredictionStore(std::filesystem::path path)
    : m_path(std::move(path))
{
}

PredictionStore::~PredictionStore()
{
    close();
}

void PredictionStore::close()
{
    if (m_db)
        sqlite3_close_v2(m_db);
    m_db = nullptr;
    m_exists = false;
    m_opened = false;
}

PredictionsStatus PredictionStore::open(Mode mode)
{
    close();
    std::error_code ec;
    const std::filesystem::file_status status = std::filesystem::status(m_path, ec);
    const bool present = std::filesystem::exists(status);
    if (present && !std::filesystem::is_regular_file(status))
        return Failure(PredictionsError::CannotOpen);
    if (!present && mode == Mode::ExistingOnly) {
        m_opened = true; // nothing saved yet: every read is empty
        return {};
    }
    m_writable = mode == Mode::CreateIfMissing;

    int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX;
    if (!present)
        flags |= SQLITE_OPEN_CREATE;
    if (const int rc = sqlite3_open_v2(m_path.c_str(), &m_db, flags, nullptr); rc != SQLITE_OK) {
        PredictionsStatus failed = FailureFor(rc, m_db, PredictionsError::CannotOpen);
        sqlite3_close_v2(m_db);
        m_db = nullptr;
        return failed;
    }
    sqlite3_extended_result_codes(m_db, 1);
    sqlite3_busy_timeout(m_db, 2000);
    m_exists = true;
    PredictionsStatus prepared = prepare();
    if (!prepared)
        close();
    else
        m_opened = true;
    return prepared;
}

PredictionsStatus PredictionStore::prepare()
{
    int version = 0;
    int objects = 0;
    {
        Statement query(m_db, "PRAGMA user_version");
        if (query.prepared() != SQLITE_OK)
            return FailureFor(query.prepared(), m_db, PredictionsError::ReadFailed);
        const int rc = query.step();
        if (rc != SQLITE_ROW)
            return FailureFor(rc, m_db, PredictionsError::ReadFailed);
        version = static_cast<int>(query.integer(0));
    }
    if (version > kSchemaVersion)
        return Failure(PredictionsError::NewerVersion);
    if (version < 0)
        return Failure(PredictionsError::Corrupt);
    {
        Statement query(m_db, "SELECT count(*) FROM sqlite_master WHERE type = 'table' AND name = 'batch'");
        Statement all(m_db, "SELECT count(*) FROM sqlite_master");
        if (query.prepared() != SQLITE_OK || all.prepared() != SQLITE_OK)
            return FailureFor(query.prepared() != SQLITE_OK ? query.prepared() : all.prepared(), m_db,
                              PredictionsError::ReadFailed);
        int rc = query.step();
        if (rc != SQLITE_ROW)
            return FailureFor(rc, m_db, PredictionsError::ReadFailed);
        const bool hasBatches = query.integer(0) == 1;
        rc = all.step();
        if (rc != SQLITE_ROW)
            return FailureFor(rc, m_db, PredictionsError::ReadFailed);
        objects = static_cast<int>(all.integer(0));
        // Version 0 must be an empty database; a versioned one must hold our table.
        if ((version == 0 && objects > 0) || (version > 0 && !hasBatches))
            return Failure(PredictionsError::Corrupt);
    }
    if (version == 0 && !m_writable) {
        m_exists = false; // an empty file: nothing saved yet, and reading creates nothing
        return {};
    }
    if (version == 0) {
        // WAL is a property of the file: set once, before the first transaction.
        Statement wal(m_db, "PRAGMA journal_mode = WAL");
        if (wal.prepared() == SQLITE_OK)
            wal.step();
    }
    // In WAL mode NORMAL keeps every commit safe from a killed program and the file consistent on
    // a power cut (which may lose the latest batches); FULL would sync the disk on every save.
    sqlite3_exec(m_db, "PRAGMA synchronous = NORMAL", nullptr, nullptr, nullptr);
    if (version < kSchemaVersion)
        return migrate(version);
    if (!HasOurBatchTable(m_db))
        return Failure(PredictionsError::Corrupt);
    return {};
}

PredictionsStatus PredictionStore::migrate(int from)
{
    if (int rc = sqlite3_exec(m_db, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr); rc != SQLITE_OK)
        return FailureFor(rc, m_db, PredictionsError::WriteFailed);
    for (int v = from; v < kSchemaVersion; ++v) {
        if (int rc = sqlite3_exec(m_db, kMigrations[v], nullptr, nullptr, nullptr); rc != SQLITE_OK) {
            PredictionsStatus failed = FailureFor(rc, m_db, PredictionsError::WriteFailed);
            sqlite3_exec(m_db, "ROLLBACK", nullptr, nullptr, nullptr);
            return failed;
        }
    }
    if (!HasOurBatchTable(m_db)) {
        // A table of our name but not of our making: leave the file as it was.
        sqlite3_exec(m_db, "ROLLBACK", nullptr, nullptr, nullptr);
        return Failure(PredictionsError::Corrupt);
    }
    const std::string setVersion = "PRAGMA user_version = " + std::to_string(kSchemaVersion);
    int rc = sqlite3_exec(m_db, setVersion.c_str(), nullptr, nullptr, nullptr);
    if (rc == SQLITE_OK)
        rc = sqlite3_exec(m_db, "COMMIT", nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK) {
        PredictionsStatus failed = FailureFor(rc, m_db, PredictionsError::WriteFailed);
        sqlite3_exec(m_db, "ROLLBACK", nullptr, nullptr, nullptr);
        return failed;
    }
    return {};
}

std::string PredictionStore::EncodeSets(const std::vector<PredictionSet>& sets)
{
    std::string bytes;
    bytes.reserve(sets.size() * 6);
    for (const PredictionSet& set : sets) {
        for (const std::int16_t n : set)
            bytes.push_back(static_cast<char>(n));
    }
    return bytes;
}

bool PredictionStore::DecodeSets(std::string_view bytes, std::vector<PredictionSet>& sets)
{
    sets.clear();
    if (bytes.size() % 6 != 0)
        return false;
    sets.resize(bytes.size() / 6);
    for (std::size_t i = 0; i < bytes.size(); ++i)
        sets[i / 6][i % 6] = static_cast<std::int16_t>(static_cast<unsigned char>(bytes[i]));
    return std::all_of(sets.begin(), sets.end(), IsValidSet);
}

PredictionsStatus PredictionStore::save(const NewBatch& batch, std::int64_t* id)
{
    if (!m_opened || !m_exists || !m_writable)
        return Failure(PredictionsError::NotOpen);
    if (!IsValidBatch(batch))
        return Failure(PredictionsError::InvalidBatch);
    // One statement is one transaction: the batch is there whole or not at all.
    PredictionsStatus saved = insert(batch);
    if (saved && id)
        *id = sqlite3_last_insert_rowid(m_db);
    return saved;
}

PredictionsStatus PredictionStore::saveAll(const std::vector<NewBatch>& batches)
{
    if (!m_opened || !m_exists || !m_writable)
        return Failure(PredictionsError::NotOpen);
    if (!std::all_of(batches.begin(), batches.end(), IsValidBatch))
        return Failure(PredictionsError::InvalidBatch);
    if (int rc = sqlite3_exec(m_db, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr); rc != SQLITE_OK)
        return FailureFor(rc, m_db, PredictionsError::WriteFailed);
    for (const NewBatch& batch : batches) {
        if (PredictionsStatus saved = insert(batch); !saved) {
            sqlite3_exec(m_db, "ROLLBACK", nullptr, nullptr, nullptr);
            return saved;
        }
    }
    if (int rc = sqlite3_exec(m_db, "COMMIT", nullptr, nullptr, nullptr); rc != SQLITE_OK) {
        PredictionsStatus failed = FailureFor(rc, m_db, PredictionsError::WriteFailed);
        sqlite3_exec(m_db, "ROLLBACK", nullptr, nullptr, nullptr);
        return failed;
    }
    return {};
}

PredictionsStatus PredictionStore::insert(const NewBatch& batch)
{
    Statement insert(m_db, "INSERT INTO batch(created_at, draw, source, seed, set_count, weighting_on,"
                           " weight_basis, total_level, time_axis_level, parity_on, parity_level,"
                           " carry_count, consecutive_on, sets, note) VALUES(?,?,?,?,?,?,?,?,?,?,?,?,?,?,?)");
    if (insert.prepared() != SQLITE_OK)
        return FailureFor(insert.prepared(), m_db, PredictionsError::WriteFailed);
    const GenerationSettings& s = batch.settings;
    insert.bind(1, batch.createdAt);
    insert.bind(2, batch.draw);
    insert.bind(3, batch.source == BatchSource::CommandLine ? 1 : batch.source == BatchSource::Wheel ? 2 : 0);
    insert.bind(4, static_cast<std::int64_t>(batch.seed));
    insert.bind(5, s.setCount);
    insert.bind(6, s.weightingOn);
    insert.bind(7, s.weightBasis == WeightBasis::TimeAxis ? 1 : 0);
    insert.bind(8, s.totalLevel);
    insert.bind(9, s.timeAxisLevel);
    insert.bind(10, s.parityOn);
    insert.bind(11, s.parityLevel);
    insert.bind(12, s.carryCount);
    insert.bind(13, s.consecutiveOn);
    const std::string bytes = EncodeSets(batch.sets);
    sqlite3_bind_blob(insert.get(), 14, bytes.data(), static_cast<int>(bytes.size()), SQLITE_STATIC);
    sqlite3_bind_text(insert.get(), 15, batch.note.data(), static_cast<int>(batch.note.size()),
                      SQLITE_STATIC);
    if (const int rc = insert.step(); rc != SQLITE_DONE)
        return FailureFor(rc, m_db, PredictionsError::WriteFailed);
    return {};
}

PredictionsStatus PredictionStore::forEach(const Visitor& visit)
{
    if (!m_opened)
        return Failure(PredictionsError::NotOpen);
    if (!m_exists)
        return {};
    const std::string sql = std::string(kSelectColumns) + " ORDER BY id DESC";
    Statement rows(m_db, sql.c_str());
    if (rows.prepared() != SQLITE_OK)
        return FailureFor(rows.prepared(), m_db, PredictionsError::ReadFailed);
    std::vector<PredictionSet> sets;
    int rc = SQLITE_ROW;
    while ((rc = rows.step()) == SQLITE_ROW) {
        if (!DecodeSets(SetsBlob(rows), sets))
            return Failure(PredictionsError::Corrupt);
        visit(ReadHeader(rows), sets);
    }
    if (rc != SQLITE_DONE)
        return FailureFor(rc, m_db, PredictionsError::ReadFailed);
    return {};
}

PredictionsStatus PredictionStore::load(std::int64_t id, Batch& batch)
{
    if (!m_opened)
        return Failure(PredictionsError::NotOpen);
    if (!m_exists)
        return Failure(PredictionsError::NotFound);
    const std::string sql = std::string(kSelectColumns) + " WHERE id = ?";
    Statement row(m_db, sql.c_str());
    if (row.prepared() != SQLITE_OK)
        return FailureFor(row.prepared(), m_db, PredictionsError::ReadFailed);
    row.bind(1, id);
    const int rc = row.step();
    if (rc == SQLITE_DONE)
        return Failure(PredictionsError::NotFound);
    if (rc != SQLITE_ROW)
        return FailureFor(rc, m_db, PredictionsError::ReadFailed);
    const BatchHeader header = ReadHeader(row);
    // A damaged file can lead the search by number to another batch's row: that is damage too.
    if (header.id != id || !DecodeSets(SetsBlob(row), batch.sets))
        return Failure(PredictionsError::Corrupt);
    batch.id = header.id;
    batch.createdAt = header.createdAt;
    batch.draw = header.draw;
    batch.source = header.source;
    batch.seed = header.seed;
    batch.settings = header.settings;
    batch.note = header.note;
    return {};
}

PredictionsStatus PredictionStore::remove(std::int64_t id)
{
    if (!m_opened)
        return Failure(PredictionsError::NotOpen);
    if (!m_exists)
        return Failure(PredictionsError::NotFound);
    Statement erase(m_db, "DELETE FROM batch WHERE id = ?");
    if (erase.prepared() != SQLITE_OK)
        return FailureFor(erase.prepared(), m_db, PredictionsError::WriteFailed);
    erase.bind(1, id);
    if (const int rc = erase.step(); rc != SQLITE_DONE)
        return FailureFor(rc, m_db, PredictionsError::WriteFailed);
    if (sqlite3_changes(m_db) == 0)
        return Failure(PredictionsError::NotFound);
    return {};
}

PredictionsStatus PredictionStore::count(std::int64_t& batches)
{
    batches = 0;
    if (!m_opened)
        return Failure(PredictionsError::NotOpen);
    if (!m_exists)
        return {};
    Statement query(m_db, "SELECT count(*) FROM batch");
    if (query.prepared() != SQLITE_OK)
        return FailureFor(query.prepared(), m_db, PredictionsError::ReadFailed);
    if (const int rc = query.step(); rc != SQLITE_ROW)
        return FailureFor(rc, m_db, PredictionsError::ReadFailed);
    batches = query.integer(0);
    return {};
}

} // namespace zentrix
