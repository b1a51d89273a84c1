// An SQLite archive that this program cannot use (newer, damaged, another
// program's database) is reported and left exactly as it was.

#include "ArchiveSchema.h"
#include "ArchiveTestCharts.h"
#include "ChartArchive.h"
#include "TestSupport.h"

#include <QSqlDatabase>
#include <QSqlQuery>

#include <gtest/gtest.h>

#include <filesystem>

namespace lumidrax::test {

namespace {

#define LUMIDRAX_STRING(x) #x
#define LUMIDRAX_ARCHIVE_SCHEMA LUMIDRAX_STRING(2)
static_assert(kArchiveSchemaVersion == 2, "the messages below name schema 2");

// Runs statements on an SQLite file with a connection of its own.
void ExecOn(const std::string& file, const std::vector<QString>& statements)
{
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "safety-test");
        db.setDatabaseName(QString::fromStdString(file));
        ASSERT_TRUE(db.open());
        QSqlQuery q(db);
        for (const QString& s : statements)
            ASSERT_TRUE(q.exec(s)) << s.toStdString();
    }
    QSqlDatabase::removeDatabase("safety-test");
}

std::string ArchiveWithOneChart(const TempDir& dir)
{
    ArchiveLocation where;
    where.File = dir.File("archive.sqlite");
    ChartArchive archive(where);
    EXPECT_TRUE(archive.Record(ArchiveChart(1), ArchiveOrigin::Port, "/dev/ttyS0", {}));
    return where.File;
}

TEST(ArchiveFileSafety, UnusableFilesAreReportedAndLeftByteForByte)
{
    struct Case {
        const char* name;
        std::function<std::string(const TempDir&)> make; // returns the file
        const char* message;                             // part of the status message
    };
    const std::vector<Case> cases = {
        {"a newer schema",
         [](const TempDir& d) {
             const std::string file = ArchiveWithOneChart(d);
             ExecOn(file, {"UPDATE archive_schema SET version = 7"});
             return file;
         },
         "is newer (schema 7) than this program (schema " LUMIDRAX_ARCHIVE_SCHEMA "): it is left untouched."},
        {"bytes that are no database",
         [](const TempDir& d) {
             std::string bytes(8192, '\0');
             for (std::size_t k = 0; k < bytes.size(); ++k)
                 bytes[k] = static_cast<char>((k * 7919) % 251);
             return d.Write("archive.sqlite", bytes);
         },
         "cannot be read (file is not a database): it is left untouched."},
        {"an archive with its header damaged",
         [](const TempDir& d) {
             std::string bytes = ReadFile(ArchiveWithOneChart(d));
             bytes.replace(0, 16, "not an archive!!");
             return d.Write("archive.sqlite", bytes);
         },
         "it is left untouched."},
        {"another program's database",
         [](const TempDir& d) {
             const std::string file = d.File("archive.sqlite");
             ExecOn(file, {"CREATE TABLE addresses (name TEXT)", "INSERT INTO addresses VALUES ('x')"});
             return file;
         },
         "holds another database, not a chart archive: it is left untouched."},
    };
    for (const Case& c : cases) {
        TempDir dir;
        const std::string file = c.make(dir);
        const std::string before = ReadFile(file);
        ASSERT_FALSE(before.empty()) << c.name;
        ArchiveLocation where;
        where.File = file;
        {
            ChartArchive archive(where);
            EXPECT_FALSE(archive.isOpen()) << c.name;
            EXPECT_FALSE(archive.status().Ok) << c.name;
            EXPECT_NE(archive.status().Message.find("The archive SQLite file " + file), std::string::npos)
                << c.name << ": " << archive.status().Message;
            EXPECT_NE(archive.status().Message.find(c.message), std::string::npos)
                << c.name << ": " << archive.status().Message;
            // Every use fails the same way, and nothing is written.
            EXPECT_FALSE(archive.Record(ArchiveChart(2), ArchiveOrigin::Port, "", {})) << c.name;
            EXPECT_FALSE(archive.Search({})) << c.name;
            EXPECT_FALSE(archive.Check().empty()) << c.name;
        }
        EXPECT_EQ(ReadFile(file), before) << c.name << ": the file was changed";
    }
}

TEST(ArchiveFileSafety, ADamagedPageIsFoundByTheCheck)
{
    TempDir dir;
    ArchiveLocation where;
    where.File = dir.File("archive.sqlite");
    {
        ChartArchive archive(where);
        for (int k = 0; k < 30; ++k)
            ASSERT_TRUE(archive.Record(ArchiveChart(100 + k), ArchiveOrigin::Port, "", {}));
        EXPECT_TRUE(archive.Check().empty());
    }
    // Scribble over the middle of the file: pages of the entries or their
    // content.
    std::string bytes = ReadFile(where.File);
    ASSERT_GT(bytes.size(), 40000u);
    for (std::size_t k = bytes.size() / 2; k < bytes.size() / 2 + 8192; ++k)
        bytes[k] = static_cast<char>(k * 31);
    dir.Write("archive.sqlite", bytes);
    ChartArchive archive(where);
    if (archive.isOpen())
        EXPECT_FALSE(archive.Check().empty());
    else
        EXPECT_FALSE(archive.status().Ok);
}

TEST(ArchiveFileSafety, TheDefaultArchiveIsMadeInTheUsersDataFolder)
{
    TempDir dir;
    qputenv("XDG_DATA_HOME", QByteArray::fromStdString(dir.Path()));
    EXPECT_EQ(DefaultArchiveFile(), dir.Path() + "/lumidrax/archive.sqlite");
    {
        ChartArchive archive(ArchiveLocation{});
        ASSERT_TRUE(archive.isOpen()) << archive.status().Message;
        EXPECT_EQ(DescribeLocation(archive.location()),
                  "SQLite file " + dir.Path() + "/lumidrax/archive.sqlite");
    }
    EXPECT_TRUE(std::filesystem::is_regular_file(dir.Path() + "/lumidrax/archive.sqlite"));
    qunsetenv("XDG_DATA_HOME");
}

} // namespace

} // namespace lumidrax::test
