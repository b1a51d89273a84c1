#include "ArchiveLocation.h"

#include <QStandardPaths>

namespace lumidrax {

ArchiveLocation PostgresLocation(const std::string& host, int port, const std::string& database,
                                 const std::string& user)
{
    ArchiveLocation where;
    where.Engine = ArchiveEngine::PostgreSQL;
    where.Host = host;
    where.Port = port;
    where.Database = database;
    where.User = user;
    return where;
}

std::string DefaultArchiveFile()
{
    const QString data = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    return (data + "/lumidrax/archive.sqlite").toStdString();
}

std::string ArchiveFileOf(const ArchiveLocation& where)
{
    return where.File.empty() ? DefaultArchiveFile() : where.File;
}

std::string DescribeLocation(const ArchiveLocation& where)
{
    if (where.Engine == ArchiveEngine::SQLite)
        return "SQLite file " + ArchiveFileOf(where);
    const std::string host = where.Host.empty() ? std::string("localhost") : where.Host;
    return "PostgreSQL " + where.Database + " on " + host + ":" + std::to_string(where.Port);
}

} // namespace lumidrax
