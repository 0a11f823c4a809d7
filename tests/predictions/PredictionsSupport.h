// PredictionsSupport: batches to save in tests, and raw SQL on a database file.
#pragma once

#include "predictions/PredictionBatch.h"

#include <filesystem>
#include <string>

namespace zentrix::test {

/// A valid batch of `sets` sets for draw `draw`; the numbers depend on `variant`.
NewBatch SampleBatch(int draw, int sets, int variant = 0);

/// Runs SQL on the file with its own connection; returns SQLite's error text, empty on success.
std::string ExecSql(const std::filesystem::path& file, const std::string& sql);

/// The first column of the first row of a query, as text ("" when none).
std::string QuerySql(const std::filesystem::path& file, const std::string& sql);

} // namespace zentrix::test
