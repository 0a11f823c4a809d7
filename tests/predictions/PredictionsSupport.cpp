// PredictionsSupport: sample batches and a second SQLite connection for the tests.
#include "PredictionsSupport.h"

#include <sqlite3.h>

namespace zentrix::test {

NewBatch SampleBatch(int draw, int sets, int variant)
{
    NewBatch batch;
    batch.createdAt = 1'800'000'000 + variant;
    batch.draw = draw;
    batch.source = variant % 2 ? BatchSource::CommandLine : BatchSource::Window;
    batch.seed = 0xFEDC'BA98'7654'3210ull + static_cast<std::uint64_t>(variant);
    batch.settings.setCount = sets;
    batch.settings.parityLevel = 1 + variant % 7;
    batch.settings.weightingOn = variant % 3 != 0;
    for (int s = 0; s < sets; ++s) {
        PredictionSet set{};
        // Six ascending numbers spread over 1..43 that differ from set to set.
        const int start = 1 + (s + variant) % 13;
        for (int i = 0; i < 6; ++i)
            set[static_cast<std::size_t>(i)] = static_cast<std::int16_t>(start + i * 5 + (i * s) % 2);
        batch.sets.push_back(set);
    }
    return batch;
}

std::string ExecSql(const std::filesystem::path& file, const std::string& sql)
{
    sqlite3* db = nullptr;
    std::string error;
    if (sqlite3_open(file.c_str(), &db) != SQLITE_OK) {
        error = sqlite3_errmsg(db);
    } else {
        char* message = nullptr;
        if (sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &message) != SQLITE_OK)
            error = message ? message : "failed";
        sqlite3_free(message);
    }
    sqlite3_close(db);
    return error;
}

std::string QuerySql(const std::filesystem::path& file, const std::string& sql)
{
    sqlite3* db = nullptr;
    std::string value;
    if (sqlite3_open_v2(file.c_str(), &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK) {
        sqlite3_stmt* stmt = nullptr;
        if (sqlite3_prepare_v2(db, sql.c_str(), -1, &stmt, nullptr) == SQLITE_OK &&
            sqlite3_step(stmt) == SQLITE_ROW) {
            if (const unsigned char* text = sqlite3_column_text(stmt, 0))
                value = reinterpret_cast<const char*>(text);
        }
        sqlite3_finalize(stmt);
    }
    sqlite3_close(db);
    return value;
}

} // namespace zentrix::test
