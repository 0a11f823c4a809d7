// PredictionStore: saving and reading batches, the schema's versions, and databases that must be
// left alone (damaged, newer, not ours, locked).
#include "predictions/PredictionStore.h"

#include "PredictionsSupport.h"
#include "support/HistoryFixtures.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

namespace zentrix {
namespace {

using test::ExecSql;
using test::QuerySql;
using test::SampleBatch;

/// The batch table as the schema `version` (1..3) made it, with `id` declared as given, and the
/// version set; `rows` are INSERT statements run after it.
std::string BatchTableSql(int version, const std::string& id = "id INTEGER PRIMARY KEY AUTOINCREMENT",
                          const std::string& rows = "")
{
    std::string sql =
        "CREATE TABLE batch(" + id +
        ", created_at INTEGER NOT NULL, draw INTEGER NOT NULL, seed INTEGER NOT NULL,"
        " set_count INTEGER NOT NULL, weighting_on INTEGER NOT NULL, weight_basis INTEGER NOT NULL,"
        " total_level INTEGER NOT NULL, time_axis_level INTEGER NOT NULL, parity_on INTEGER NOT"
        " NULL, parity_level INTEGER NOT NULL, carry_count INTEGER NOT NULL, consecutive_on"
        " INTEGER NOT NULL, sets BLOB NOT NULL";
    if (version >= 2)
        sql += ", source INTEGER NOT NULL DEFAULT 0";
    if (version >= 3)
        sql += ", note TEXT NOT NULL DEFAULT ''";
    return sql + ");" + rows + "PRAGMA user_version = " + std::to_string(version) + ";";
}

class PredictionStoreTest : public ::testing::Test
{
protected:
    std::filesystem::path file() const { return m_dir / PredictionStore::kFileName; }

    /// Every batch as forEach gives it, newest first.
    std::vector<Batch> all(PredictionStore& store)
    {
        std::vector<Batch> batches;
        const PredictionsStatus listed = store.forEach([&](const BatchHeader& h, const auto& sets) {
            Batch b;
            static_cast<NewBatch&>(b) = {h.createdAt, h.draw, h.source, h.seed, h.settings, sets, h.note};
            b.id = h.id;
            batches.push_back(b);
        });
        EXPECT_TRUE(listed) << listed.detail;
        return batches;
    }

    std::int64_t saveSample(PredictionStore& store, int draw, int sets, int variant)
    {
        std::int64_t id = 0;
        const PredictionsStatus saved = store.save(SampleBatch(draw, sets, variant), &id);
        EXPECT_TRUE(saved) << saved.detail;
        return id;
    }

    test::TempDir m_dir;
};

TEST_F(PredictionStoreTest, SavedBatchComesBackExactlyWithEveryField)
{
    PredictionStore store(file());
    ASSERT_TRUE(store.open(PredictionStore::Mode::CreateIfMissing));
    const NewBatch saved = SampleBatch(2038, 100, 3);
    std::int64_t id = 0;
    ASSERT_TRUE(store.save(saved, &id));

    PredictionStore again(file());
    ASSERT_TRUE(again.open(PredictionStore::Mode::ExistingOnly));
    Batch loaded;
    ASSERT_TRUE(again.load(id, loaded));
    EXPECT_EQ(loaded.id, id);
    EXPECT_EQ(loaded.createdAt, saved.createdAt);
    EXPECT_EQ(loaded.draw, 2038);
    EXPECT_EQ(loaded.source, BatchSource::CommandLine);
    EXPECT_EQ(loaded.seed, saved.seed); // all 64 bits, above INT64_MAX included
    EXPECT_EQ(loaded.settings, saved.settings);
    EXPECT_EQ(loaded.sets, saved.sets); // in the order the run kept them
}

TEST_F(PredictionStoreTest, ListsNewestFirstAndNeverReusesTheNumberOfADeletedBatch)
{
    PredictionStore store(file());
    ASSERT_TRUE(store.open(PredictionStore::Mode::CreateIfMissing));
    const std::int64_t first = saveSample(store, 10, 5, 0);
    const std::int64_t second = saveSample(store, 11, 3, 1);
    const std::int64_t third = saveSample(store, 10, 1, 2);
    std::vector<Batch> batches = all(store);
    ASSERT_EQ(batches.size(), 3u);
    EXPECT_EQ(batches[0].id, third);
    EXPECT_EQ(batches[1].id, second);
    EXPECT_EQ(batches[2].id, first);
    EXPECT_EQ(batches[1].sets, SampleBatch(11, 3, 1).sets);

    ASSERT_TRUE(store.remove(third));
    EXPECT_EQ(store.remove(third).error, PredictionsError::NotFound);
    Batch gone;
    EXPECT_EQ(store.load(third, gone).error, PredictionsError::NotFound);
    const std::int64_t fourth = saveSample(store, 12, 2, 3);
    EXPECT_GT(fourth, third);
    std::int64_t count = 0;
    ASSERT_TRUE(store.count(count));
    EXPECT_EQ(count, 3);
}

TEST_F(PredictionStoreTest, ReadingCreatesNothingWhereNothingWasSaved)
{
    PredictionStore store(file());
    ASSERT_TRUE(store.open(PredictionStore::Mode::ExistingOnly));
    EXPECT_FALSE(store.exists());
    EXPECT_TRUE(all(store).empty());
    Batch batch;
    EXPECT_EQ(store.load(1, batch).error, PredictionsError::NotFound);
    EXPECT_EQ(store.remove(1).error, PredictionsError::NotFound);
    EXPECT_FALSE(std::filesystem::exists(file()));
}

TEST_F(PredictionStoreTest, NewDatabaseIsVersionedAndInWalMode)
{
    PredictionStore store(file());
    ASSERT_TRUE(store.open(PredictionStore::Mode::CreateIfMissing));
    saveSample(store, 5, 2, 0);
    store.close();
    EXPECT_EQ(QuerySql(file(), "PRAGMA user_version"), std::to_string(PredictionStore::kSchemaVersion));
    EXPECT_EQ(QuerySql(file(), "PRAGMA journal_mode"), "wal");
}

TEST_F(PredictionStoreTest, WheelBatchKeepsItsSourceNoteAndEveryTicket)
{
    PredictionStore store(file());
    ASSERT_TRUE(store.open(PredictionStore::Mode::CreateIfMissing));
    // A wheel may hold more tickets than a generation run keeps sets.
    NewBatch wheel = SampleBatch(2038, 100, 2);
    wheel.sets.insert(wheel.sets.end(), wheel.sets.begin(), wheel.sets.begin() + 50);
    wheel.source = BatchSource::Wheel;
    wheel.seed = 0;
    wheel.note = "組み合わせ保証 3個一致で5等を保証（3 if 3） 数字 01 02 03 04 05 06 07";
    std::int64_t id = 0;
    ASSERT_TRUE(store.save(wheel, &id));
    saveSample(store, 2038, 3, 1); // a later run keeps its own source

    Batch loaded;
    ASSERT_TRUE(store.load(id, loaded));
    EXPECT_EQ(loaded.source, BatchSource::Wheel);
    EXPECT_EQ(loaded.note, wheel.note);
    EXPECT_EQ(loaded.seed, 0u);
    EXPECT_EQ(loaded.sets, wheel.sets);
    const std::vector<Batch> listed = all(store);
    ASSERT_EQ(listed.size(), 2u);
    EXPECT_EQ(listed[0].source, BatchSource::CommandLine); // variant 1 is a command-line run
    EXPECT_TRUE(listed[0].note.empty());
    EXPECT_EQ(listed[1].source, BatchSource::Wheel);
    EXPECT_EQ(listed[1].note, wheel.note);

    // A generation run is still held to its own limit, and a wheel to its own.
    NewBatch tooManySets = wheel;
    tooManySets.source = BatchSource::Window;
    EXPECT_EQ(store.save(tooManySets).error, PredictionsError::InvalidBatch);
    NewBatch hugeWheel = wheel;
    hugeWheel.sets.resize(kMaxWheelBatchSets + 1, wheel.sets[0]);
    EXPECT_EQ(store.save(hugeWheel).error, PredictionsError::InvalidBatch);
    std::int64_t count = 0;
    ASSERT_TRUE(store.count(count));
    EXPECT_EQ(count, 2);
}

TEST_F(PredictionStoreTest, OlderVersionsAreMigratedKeepingTheirBatches)
{
    struct Case
    {
        int version;
        std::string row; ///< one batch as that version stored it
        std::int64_t id;
        std::uint64_t seed;
        BatchSource source;
    };
    const std::vector<Case> cases = {
        // The first schema: no source column (only the window made batches), no index.
        {1, "INSERT INTO batch VALUES(7, 1700000000, 1500, 99, 1, 1, 0, 1, 1, 1, 4, 1, 1, x'010203040506');",
         7, 99, BatchSource::Window},
        // The second: no note column; a batch from the command line.
        {2,
         "INSERT INTO batch VALUES(3, 1700000000, 1600, 42, 1, 1, 0, 1, 1, 1, 4, 1, 1, x'010203040506', 1);",
         3, 42, BatchSource::CommandLine},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.version);
        std::filesystem::remove(file());
        ASSERT_EQ(ExecSql(file(), BatchTableSql(c.version, "id INTEGER PRIMARY KEY AUTOINCREMENT", c.row)),
                  "");
        PredictionStore store(file());
        ASSERT_TRUE(store.open(PredictionStore::Mode::ExistingOnly));
        Batch old;
        ASSERT_TRUE(store.load(c.id, old));
        EXPECT_EQ(old.seed, c.seed);
        EXPECT_EQ(old.source, c.source);
        EXPECT_TRUE(old.note.empty());
        EXPECT_EQ(old.sets, (std::vector<PredictionSet>{{1, 2, 3, 4, 5, 6}}));
        store.close();
        EXPECT_EQ(QuerySql(file(), "PRAGMA user_version"), std::to_string(PredictionStore::kSchemaVersion));
        if (c.version == 1) {
            EXPECT_EQ(QuerySql(file(), "SELECT name FROM sqlite_master WHERE type = 'index'"),
                      "batch_by_draw");
        }
        PredictionStore writer(file());
        ASSERT_TRUE(writer.open(PredictionStore::Mode::CreateIfMissing));
        EXPECT_GT(saveSample(writer, 1501, 2, 1), c.id);
    }
}

/// Databases the store must refuse without changing a byte of them.
class UntouchableDatabaseTest : public PredictionStoreTest
{
protected:
    void expectRefused(PredictionsError expected)
    {
        const std::vector<std::uint8_t> before = test::ReadBytes(file());
        for (const auto mode :
             {PredictionStore::Mode::CreateIfMissing, PredictionStore::Mode::ExistingOnly}) {
            PredictionStore store(file());
            const PredictionsStatus opened = store.open(mode);
            EXPECT_EQ(opened.error, expected);
            EXPECT_FALSE(store.isOpen());
            EXPECT_EQ(store.save(SampleBatch(3, 1)).error, PredictionsError::NotOpen);
            EXPECT_FALSE(DescribePredictionsError(opened, file()).empty());
        }
        EXPECT_EQ(test::ReadBytes(file()), before);
        EXPECT_FALSE(std::filesystem::exists(file().string() + "-wal"));
    }
};

TEST_F(UntouchableDatabaseTest, DatabasesThatAreNotOursOrAreNewerAreNeitherReadNorWritten)
{
    struct Case
    {
        const char* name;
        std::string sql; ///< empty: the file is bytes that are no database at all
        PredictionsError expected;
    };
    const std::vector<Case> cases = {
        {"newer version", "CREATE TABLE batch(id INTEGER PRIMARY KEY, future TEXT); PRAGMA user_version = 9;",
         PredictionsError::NewerVersion},
        {"not a database", "", PredictionsError::Corrupt},
        {"someone else's", "CREATE TABLE addresses(name TEXT); INSERT INTO addresses VALUES('x');",
         PredictionsError::Corrupt},
        {"version without its table", "CREATE TABLE other(x); PRAGMA user_version = 2;",
         PredictionsError::Corrupt},
        // Found by fuzzing: a second-version table whose id column has another name took the
        // migration, saved, and then could not load what it had saved.
        {"id of another name", BatchTableSql(2, "ad INTEGER PRIMARY KEY AUTOINCREMENT"),
         PredictionsError::Corrupt},
        {"id that is not the row id", BatchTableSql(3, "id TEXT"), PredictionsError::Corrupt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::filesystem::remove(file());
        if (c.sql.empty()) {
            std::vector<std::uint8_t> junk(3000);
            for (std::size_t i = 0; i < junk.size(); ++i)
                junk[i] = static_cast<std::uint8_t>(i * 7 + 3);
            test::WriteBytes(file(), junk);
        } else {
            ASSERT_EQ(ExecSql(file(), c.sql), "");
        }
        expectRefused(c.expected);
    }
    EXPECT_NE(DescribePredictionsError({PredictionsError::NewerVersion, {}}, file()).find("新しい版"),
              std::string::npos);
}

TEST_F(PredictionStoreTest, DamagedSetsAreReportedNotShown)
{
    {
        PredictionStore store(file());
        ASSERT_TRUE(store.open(PredictionStore::Mode::CreateIfMissing));
        saveSample(store, 4, 2, 0);
    }
    // Numbers out of order and a set cut short.
    ASSERT_EQ(ExecSql(file(), "UPDATE batch SET sets = x'0605040302010203'"), "");
    PredictionStore store(file());
    ASSERT_TRUE(store.open(PredictionStore::Mode::ExistingOnly));
    Batch batch;
    EXPECT_EQ(store.load(1, batch).error, PredictionsError::Corrupt);
    EXPECT_EQ(store.forEach([](const BatchHeader&, const auto&) {}).error, PredictionsError::Corrupt);
}

TEST_F(PredictionStoreTest, FolderWhereTheDatabaseBelongsCannotBeOpened)
{
    std::filesystem::create_directory(file());
    PredictionStore store(file());
    EXPECT_EQ(store.open(PredictionStore::Mode::CreateIfMissing).error, PredictionsError::CannotOpen);
    EXPECT_EQ(store.open(PredictionStore::Mode::ExistingOnly).error, PredictionsError::CannotOpen);
}

TEST_F(PredictionStoreTest, BatchesThatNoRunCouldMakeAreRefused)
{
    PredictionStore store(file());
    ASSERT_TRUE(store.open(PredictionStore::Mode::CreateIfMissing));
    NewBatch empty = SampleBatch(5, 1);
    empty.sets.clear();
    NewBatch noDraw = SampleBatch(0, 1);
    NewBatch outOfRange = SampleBatch(5, 1);
    outOfRange.sets[0][5] = 44;
    NewBatch unordered = SampleBatch(5, 1);
    std::swap(unordered.sets[0][0], unordered.sets[0][1]);
    for (const NewBatch& bad : {empty, noDraw, outOfRange, unordered})
        EXPECT_EQ(store.save(bad).error, PredictionsError::InvalidBatch);
    // A batch with one bad member saves nothing of the others either.
    EXPECT_EQ(store.saveAll({SampleBatch(5, 2), outOfRange}).error, PredictionsError::InvalidBatch);
    std::int64_t count = -1;
    ASSERT_TRUE(store.count(count));
    EXPECT_EQ(count, 0);
}

TEST_F(PredictionStoreTest, DatabaseHeldByAnotherWriterIsLockedAndKeepsItsBatches)
{
    {
        PredictionStore store(file());
        ASSERT_TRUE(store.open(PredictionStore::Mode::CreateIfMissing));
        saveSample(store, 8, 4, 0);
    }
    // A second program in the middle of a write transaction.
    sqlite3* other = nullptr;
    ASSERT_EQ(sqlite3_open(file().c_str(), &other), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(other,
                           "BEGIN IMMEDIATE; INSERT INTO batch(created_at, draw, seed, set_count,"
                           " weighting_on, weight_basis, total_level, time_axis_level, parity_on,"
                           " parity_level, carry_count, consecutive_on, sets) VALUES(1, 9, 1, 1, 1, 0, 1,"
                           " 1, 1, 4, 1, 1, x'010203040506')",
                           nullptr, nullptr, nullptr),
              SQLITE_OK);
    PredictionStore store(file());
    ASSERT_TRUE(store.open(PredictionStore::Mode::CreateIfMissing));
    const PredictionsStatus saved = store.save(SampleBatch(9, 2, 1));
    EXPECT_EQ(saved.error, PredictionsError::Locked);
    EXPECT_NE(DescribePredictionsError(saved, file()).find("使用中"), std::string::npos);
    EXPECT_EQ(all(store).size(), 1u); // readers still see the committed batch
    sqlite3_exec(other, "ROLLBACK", nullptr, nullptr, nullptr);
    sqlite3_close(other);
    EXPECT_TRUE(store.save(SampleBatch(9, 2, 1)));
}

TEST(PredictionStorePathTest, DatabaseSitsBesideTheDataFile)
{
    EXPECT_EQ(PredictionStore::PathBeside("/home/a/loto/Loto6data.dt"),
              std::filesystem::path("/home/a/loto/zentrix-predictions.sqlite3"));
    EXPECT_EQ(PredictionStore::PathBeside("Loto6data.dt"),
              std::filesystem::path("zentrix-predictions.sqlite3"));
}

TEST(PredictionSetsEncodingTest, SixBytesPerSetAndOnlyValidSetsDecode)
{
    const std::vector<PredictionSet> sets{{1, 2, 3, 4, 5, 43}, {10, 20, 30, 31, 32, 33}};
    const std::string bytes = PredictionStore::EncodeSets(sets);
    EXPECT_EQ(bytes.size(), 12u);
    std::vector<PredictionSet> decoded;
    ASSERT_TRUE(PredictionStore::DecodeSets(bytes, decoded));
    EXPECT_EQ(decoded, sets);
    EXPECT_FALSE(PredictionStore::DecodeSets(bytes.substr(0, 11), decoded));
    EXPECT_FALSE(PredictionStore::DecodeSets(std::string("\x01\x02\x03\x04\x05\x00", 6), decoded));
    EXPECT_FALSE(PredictionStore::DecodeSets(std::string("\x01\x02\x03\x04\x05\x2c", 6), decoded));
    EXPECT_FALSE(PredictionStore::DecodeSets(std::string("\x01\x02\x03\x03\x05\x06", 6), decoded));
}

} // namespace
} // namespace zentrix
