#include "ArchiveSettings.h"

#include <QStandardPaths>

namespace lumidrax {

ArchiveLocation ArchiveLocationOf(const Settings& s)
{
    ArchiveLocation where;
    where.Enabled = s.ArchiveEnabled;
    where.Engine =
        s.ArchiveEngine == kArchiveEnginePostgreSQL ? ArchiveEngine::PostgreSQL : ArchiveEngine::SQLite;
    where.File = s.ArchiveFile;
    where.Host = s.ArchiveHost;
    where.Port = s.ArchivePort;
    where.Database = s.ArchiveDatabase.empty() ? ArchiveLocation{}.Database : s.ArchiveDatabase;
    where.User = s.ArchiveUser;
    return where;
}

std::string DefaultSpoolFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation).toStdString() +
           "/lumidrax/archive-spool";
}

} // namespace lumidrax
