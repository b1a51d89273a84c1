#pragma once
// The archive's schema: one set of numbered migrations for both engines.
// Migration N takes an archive of schema N-1 to schema N; schema 0 is an
// empty database. The version lives in the one-row table archive_schema.
// A migration is only ever added, never changed once released. The tables
// are the same on both engines; the word index is each engine's own.
//   1  entries, their content, places, baselines
//   2  the word index of the search

#include "ArchiveLocation.h"

#include <string>
#include <vector>

namespace lumidrax {

// The schema this program writes.
inline constexpr int kArchiveSchemaVersion = 2;

// The statements of migration `version` (1..kArchiveSchemaVersion) in the
// engine's dialect, the schema version update last.
std::vector<std::string> MigrationStatements(int version, ArchiveEngine engine);

// The engine's words for the column types the migrations name:
// {id} the key column, {text} text (byte order on both engines), {real},
// {blob}.
std::string InDialect(const std::string& sql, ArchiveEngine engine);

} // namespace lumidrax
