// An import killed again and again loses at most the batch in progress and
// never leaves the archive damaged; two writers on one server at once lose
// nothing and make no duplicate.

#include "ArchiveTestCharts.h"
#include "ChartArchive.h"
#include "PostgresServer.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>
#include <set>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace lumidrax::test {

namespace {

constexpr int kCharts = 2000;
constexpr int kKills = 20;

std::string Quote(const std::string& text)
{
    return "'" + text + "'";
}

// Runs `lumidrax-tool archive import` on the folder until it has printed
// `lines` progress lines (one per file), then kills it; or, with lines 0,
// lets it finish. Returns false when it could not be run.
bool ImportUntil(const std::string& folder, const std::string& file, int lines)
{
    // Progress (standard error) on the pipe, the summary away.
    const std::string command = "exec " + Quote(BinPath("lumidrax-tool")) + " archive import " +
                                Quote(folder) + " --archive " + Quote(file) +
                                " --progress-every 1 2>&1 >/dev/null";
    pid_t pid = -1;
    const int fd = SpawnWithOutputPipe({"/bin/sh", "-c", command}, false, pid);
    if (fd < 0)
        return false;
    FILE* in = ::fdopen(fd, "r");
    char* line = nullptr;
    std::size_t size = 0;
    int seen = 0;
    while ((lines == 0 || seen < lines) && ::getline(&line, &size, in) > 0)
        ++seen;
    if (lines > 0)
        ::kill(pid, SIGKILL);
    std::free(line);
    std::fclose(in);
    int status = 0;
    ::waitpid(pid, &status, 0);
    return true;
}

TEST(ArchiveKill, AnImportKilledTwentyTimesLeavesASoundArchive)
{
    TempDir dir;
    const std::string charts = dir.File("charts");
    std::string output;
    ASSERT_EQ(RunCommand(Quote(BinPath("chartgen")) + " --form 23 --samples 300 --count " +
                             std::to_string(kCharts) + " --out-dir " + Quote(charts),
                         output),
              0);
    ArchiveLocation where;
    where.File = dir.File("archive.sqlite");
    int lastCount = 0;
    for (int kill = 0; kill < kKills; ++kill) {
        // Each run passes over what is in already (a progress line per
        // file), then is killed somewhere in the next two batches: while
        // reading, while writing or while committing.
        const int offset = 1 + (kill * 149) % (2 * kImportBatch);
        ASSERT_TRUE(ImportUntil(charts, where.File, std::min(lastCount + offset, kCharts)));
        ChartArchive archive(where);
        ASSERT_TRUE(archive.isOpen()) << "after kill " << kill << ": " << archive.status().Message;
        const auto count = archive.Count({});
        ASSERT_TRUE(count);
        EXPECT_GE(*count, lastCount) << "a committed batch was lost";
        EXPECT_EQ(*count % kImportBatch == 0 || *count == kCharts, true)
            << "whole batches only, not " << *count;
        lastCount = *count;
    }
    ASSERT_TRUE(ImportUntil(charts, where.File, 0));
    ChartArchive archive(where);
    ASSERT_TRUE(archive.isOpen()) << archive.status().Message;
    EXPECT_EQ(archive.Count({}), kCharts);
    const std::vector<std::string> problems = archive.Check();
    EXPECT_TRUE(problems.empty()) << problems.front();
}

TEST(ArchiveConcurrency, TwoWritersOnOneServerLoseNothingAndMakeNoDuplicate)
{
    PostgresServer& server = PostgresServer::Shared();
    if (!server.Running())
        GTEST_SKIP() << "no PostgreSQL server for the archive tests: " << server.Reason();
    const ArchiveLocation where = server.NewDatabase();
    // Writer A records charts 0..239, writer B 120..359: a third in both.
    std::vector<TJednoMereni> charts;
    for (int k = 0; k < 360; ++k)
        charts.push_back(ArchiveChart(1000 + k, "chart " + std::to_string(k), "01.01.2020 10:00:00", k,
                                      chartgen::HeaderForm::Tokens23, 200));
    {
        ChartArchive first(where); // made and migrated before the writers start
        ASSERT_TRUE(first.isOpen()) << first.status().Message;
    }
    std::vector<std::string> errors(2);
    auto writer = [&](int self, int from, int to) {
        ChartArchive archive(where);
        if (!archive.isOpen()) {
            errors[self] = archive.status().Message;
            return;
        }
        // Batches of different sizes in opposite directions, and single
        // records: every kind of overlap.
        std::vector<ArchiveItem> batch;
        for (int n = 0; n < to - from; ++n) {
            const int k = self == 0 ? from + n : to - 1 - n;
            if (n % 7 == 3) {
                if (!archive.Record(charts[k], ArchiveOrigin::Port, "writer " + std::to_string(self), {}))
                    errors[self] = archive.status().Message;
                continue;
            }
            batch.push_back({charts[k], ArchiveOrigin::Port, "writer " + std::to_string(self), {}});
            if (static_cast<int>(batch.size()) == (self == 0 ? 16 : 25)) {
                if (!archive.RecordBatch(batch))
                    errors[self] = archive.status().Message;
                batch.clear();
            }
        }
        if (!batch.empty() && !archive.RecordBatch(batch))
            errors[self] = archive.status().Message;
    };
    std::thread a(writer, 0, 0, 240), b(writer, 1, 120, 360);
    a.join();
    b.join();
    EXPECT_EQ(errors[0], "");
    EXPECT_EQ(errors[1], "");
    ChartArchive archive(where);
    ArchiveQuery all;
    all.Limit = 0;
    const auto entries = archive.Search(all);
    ASSERT_TRUE(entries);
    std::set<int> serials;
    std::set<std::string> hashes;
    for (const ArchiveEntry& e : *entries) {
        serials.insert(e.SerialNumber);
        hashes.insert(e.Hash);
    }
    EXPECT_EQ(entries->size(), 360u);
    EXPECT_EQ(hashes.size(), 360u);
    EXPECT_EQ(serials.size(), 360u) << "every chart of the union is there";
    EXPECT_TRUE(archive.Check().empty());
}

TEST(ArchiveServerDown, EveryCallSaysWhyAndNothingThrows)
{
    PostgresServer& server = PostgresServer::Shared();
    if (!server.Running())
        GTEST_SKIP() << "no PostgreSQL server for the archive tests: " << server.Reason();
    const ArchiveLocation where = server.NewDatabase();
    ChartArchive archive(where);
    ASSERT_TRUE(archive.isOpen());
    ASSERT_TRUE(archive.Record(ArchiveChart(1), ArchiveOrigin::Port, "", {}));
    server.Stop();
    EXPECT_FALSE(archive.Record(ArchiveChart(2), ArchiveOrigin::Port, "", {}));
    EXPECT_FALSE(archive.status().Ok);
    EXPECT_NE(archive.status().Message.find("The archive PostgreSQL " + where.Database + " on " + where.Host),
              std::string::npos)
        << archive.status().Message;
    EXPECT_FALSE(archive.Search({}));
    EXPECT_FALSE(archive.Count({}));
    EXPECT_FALSE(archive.Chart(1));
    EXPECT_FALSE(archive.SetTags({1}, {"x", "", "", ""}));
    ChartArchive later(where);
    EXPECT_FALSE(later.isOpen());
    EXPECT_NE(later.status().Message.find("cannot be reached"), std::string::npos) << later.status().Message;
    ASSERT_TRUE(server.Start());
    ChartArchive back(where);
    ASSERT_TRUE(back.isOpen()) << back.status().Message;
    EXPECT_EQ(back.Count({}), 1);
}

} // namespace

} // namespace lumidrax::test
