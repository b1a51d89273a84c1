#pragma once
// Where the chart archive lives: an SQLite file on this machine (the
// default, made on first use) or a PostgreSQL database a team shares. The
// [ARCHIVE] section of the settings file holds the same fields.

#include <string>

namespace lumidrax {

enum class ArchiveEngine { SQLite, PostgreSQL };

struct ArchiveLocation {
    bool Enabled = true;                          // ENABLED=1
    ArchiveEngine Engine = ArchiveEngine::SQLite; // ENGINE=SQLITE|POSTGRESQL
    std::string File;                             // FILE: SQLite file; empty = DefaultArchiveFile()
    std::string Host;                             // HOST: PostgreSQL host name or socket folder
    int Port = 5432;                              // PORT
    std::string Database = "lumidrax";            // DATABASE
    std::string User;                             // USER (empty: libpq's default)
    // No password, ever: libpq finds it in PGPASSWORD, ~/.pgpass or PGPASSFILE.
    bool operator==(const ArchiveLocation&) const = default;
};

// The PostgreSQL database `database` on `host` (name or socket folder) and
// `port`, as `user` (empty: libpq's default).
ArchiveLocation PostgresLocation(const std::string& host, int port, const std::string& database,
                                 const std::string& user);

// $XDG_DATA_HOME/lumidrax/archive.sqlite (the generic data folder + "/lumidrax").
std::string DefaultArchiveFile();

// The SQLite file a location names: File, or DefaultArchiveFile() when empty.
std::string ArchiveFileOf(const ArchiveLocation& where);

// "SQLite file /home/u/.local/share/lumidrax/archive.sqlite" or
// "PostgreSQL lumidrax on host:5432".
std::string DescribeLocation(const ArchiveLocation& where);

} // namespace lumidrax
