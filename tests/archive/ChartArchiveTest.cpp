// The archive's behaviour, the same suite on both engines: an SQLite file
// in a temporary folder, and a database on a private PostgreSQL server.

#include "ChartArchive.h"
#include "ArchiveContent.h"
#include "ArchiveSchema.h"
#include "ArchiveTestCharts.h"
#include "PostgresServer.h"
#include "TestSupport.h"

#include "ChartFile.h"
#include "TMereni.h"

#include <QSqlDatabase>
#include <QSqlQuery>

#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <memory>
#include <thread>
#include <vector>

namespace lumidrax::test {

namespace {

class ChartArchiveTest : public ::testing::TestWithParam<ArchiveEngine> {
  protected:
    void SetUp() override
    {
        if (GetParam() == ArchiveEngine::SQLite) {
            where_.File = dir_.File("archive.sqlite");
        } else {
            PostgresServer& server = PostgresServer::Shared();
            if (!server.Running())
                GTEST_SKIP() << "no PostgreSQL server for the archive tests: " << server.Reason();
            where_ = server.NewDatabase();
        }
        archive_ = std::make_unique<ChartArchive>(where_);
        ASSERT_TRUE(archive_->isOpen()) << archive_->status().Message;
    }

    ArchiveId Add(const TJednoMereni& chart, const ArchiveTags& tags = {},
                  ArchiveOrigin origin = ArchiveOrigin::Port, const std::string& detail = "/dev/ttyS0")
    {
        const auto r = archive_->Record(chart, origin, detail, tags);
        EXPECT_TRUE(r) << archive_->status().Message;
        return r ? r->Id : 0;
    }

    std::vector<std::string> Descriptions(const ArchiveQuery& q)
    {
        std::vector<std::string> out;
        const auto found = archive_->Search(q);
        EXPECT_TRUE(found) << archive_->status().Message;
        for (const ArchiveEntry& e : found.value_or(std::vector<ArchiveEntry>{}))
            out.push_back(e.Description);
        return out;
    }

    TempDir dir_;
    ArchiveLocation where_;
    std::unique_ptr<ChartArchive> archive_;
};

TEST_P(ChartArchiveTest, TheSameChartIsOneEntryHoweverOftenItArrives)
{
    const TJednoMereni chart = ArchiveChart(1);
    const auto first = archive_->Record(chart, ArchiveOrigin::Port, "/dev/ttyS0", {});
    ASSERT_TRUE(first);
    EXPECT_TRUE(first->Added);
    // The memory read out again and again, then the chart saved to a file.
    for (int k = 0; k < 3; ++k) {
        const auto again = archive_->Record(chart, ArchiveOrigin::Port, "/dev/ttyS0", {});
        ASSERT_TRUE(again);
        EXPECT_FALSE(again->Added);
        EXPECT_EQ(again->Id, first->Id);
    }
    TJednoMereni saved = chart;
    saved.FileName = dir_.File("09-05-12/102231_001.ndt");
    ASSERT_TRUE(archive_->Record(saved, ArchiveOrigin::Saved, "", {"Feeder 2", "", "", ""}));
    // A batch holding it twice and a new chart.
    const auto batch = archive_->RecordBatch({{chart, ArchiveOrigin::File, "a.ndt", {}},
                                              {ArchiveChart(2), ArchiveOrigin::File, "b.ndt", {}},
                                              {chart, ArchiveOrigin::File, "c.ndt", {}}});
    ASSERT_TRUE(batch);
    EXPECT_FALSE((*batch)[0].Added);
    EXPECT_TRUE((*batch)[1].Added);
    EXPECT_EQ((*batch)[2].Id, first->Id);

    EXPECT_EQ(archive_->Count({}), 2);
    const auto entry = archive_->Entry(first->Id);
    ASSERT_TRUE(entry);
    EXPECT_EQ(entry->FilePath, saved.FileName);
    EXPECT_EQ(entry->FileName, "102231_001.ndt");
    EXPECT_EQ(entry->Origin, ArchiveOrigin::Port);
    EXPECT_EQ(entry->Tags.Cable, "Feeder 2") << "a tag the entry lacked is filled in";
    const auto places = archive_->Places(first->Id);
    ASSERT_TRUE(places);
    EXPECT_EQ(places->size(), 4u) << "the port, the saved file, a.ndt and c.ndt";
}

TEST_P(ChartArchiveTest, EntriesCarryTheChartsFieldsAndEventSummary)
{
    const TJednoMereni chart = ArchiveChart(3, "Substation 2 feeder", "03.04.2024 08:15:00", 815);
    const ArchiveId id = Add(chart, {"K1", "Substation 2", "J-17", "Eva"});
    const auto e = archive_->Entry(id);
    ASSERT_TRUE(e);
    EXPECT_EQ(e->Hash.size(), 64u);
    EXPECT_EQ(e->Model, "VKR104");
    EXPECT_EQ(e->SerialNumber, 815);
    EXPECT_EQ(e->MeasuredAt, "03.04.2024 08:15:00");
    EXPECT_EQ(e->MeasuredSort, "2024-04-03 08:15:00");
    EXPECT_EQ(e->Interval, chart.Interval);
    EXPECT_DOUBLE_EQ(static_cast<double>(e->Velocity), static_cast<double>(chart.Velocity));
    EXPECT_EQ(e->SampleCount, 400);
    EXPECT_NEAR(static_cast<double>(e->RangeMetres), static_cast<double>(chart.XEnd - chart.XStart), 1e-9);
    EXPECT_EQ(e->DCResistanceText, chart.DCResistStr);
    EXPECT_GE(e->EventCount, 2);
    EXPECT_TRUE(e->EndFound);
    EXPECT_EQ(e->EndKind, "open");
    EXPECT_GT(e->EndDistance, 0);
    EXPECT_EQ(e->Tags, (ArchiveTags{"K1", "Substation 2", "J-17", "Eva"}));
    EXPECT_EQ(e->OriginDetail, "/dev/ttyS0");
    EXPECT_EQ(e->RecordedAt.size(), 20u) << e->RecordedAt;
    EXPECT_FALSE(e->IsBaseline);
    EXPECT_FALSE(archive_->Entry(id + 1000)) << "no such entry";
    EXPECT_FALSE(archive_->status().Ok);
}

TEST_P(ChartArchiveTest, SearchFiltersSortsAndPages)
{
    struct Row {
        const char* description;
        const char* date;
        int serial;
        chartgen::HeaderForm form;
        const char* cable;
    };
    using F = chartgen::HeaderForm;
    const std::vector<Row> rows = {
        {"Rozvodna ČISTÁ pair 1", "01.02.2023 10:00:00", 11, F::Tokens23, "K1"},
        {"Rozvodna Čistá pair 2", "15.06.2023 09:30:00", 11, F::Tokens23, "K1"},
        {"Feeder 3 100% load", "31.12.2023 23:59:59", 12, F::Tokens23, "K2"},
        {"Feeder 3 spare", "01.01.2024 00:00:00", 12, F::Tokens23, ""},
        {"old pair", "", 0, F::Tokens13, ""},
    };
    std::uint64_t seed = 10;
    for (const Row& r : rows)
        Add(ArchiveChart(seed++, r.description, r.date, r.serial, r.form), {r.cable, "", "", ""});

    struct Case {
        const char* name;
        ArchiveQuery query;
        std::vector<std::string> expected;
    };
    auto q = [](auto change) {
        ArchiveQuery query;
        change(query);
        return query;
    };
    const std::vector<Case> cases = {
        {"all, newest first, undated last",
         {},
         {"Feeder 3 spare", "Feeder 3 100% load", "Rozvodna Čistá pair 2", "Rozvodna ČISTÁ pair 1",
          "old pair"}},
        {"words in any case and order",
         q([](auto& x) { x.Text = "PAIR čistá"; }),
         {"Rozvodna Čistá pair 2", "Rozvodna ČISTÁ pair 1"}},
        {"a cable tag is searched", q([](auto& x) { x.Text = "k2"; }), {"Feeder 3 100% load"}},
        {"% is a character", q([](auto& x) { x.Text = "0%"; }), {"Feeder 3 100% load"}},
        {"_ is a character", q([](auto& x) { x.Text = "r_3"; }), {}},
        {"dates inclusive",
         q([](auto& x) {
             x.From = "2023-06-15";
             x.To = "2023-12-31";
         }),
         {"Feeder 3 100% load", "Rozvodna Čistá pair 2"}},
        {"undated charts fall outside any date range",
         q([](auto& x) { x.To = "2023-02-01"; }),
         {"Rozvodna ČISTÁ pair 1"}},
        {"serial number", q([](auto& x) { x.SerialNumber = 12; }), {"Feeder 3 spare", "Feeder 3 100% load"}},
        {"model", q([](auto& x) { x.Model = "VKR103/VKR103RAM"; }), {"old pair"}},
        {"exact cable",
         q([](auto& x) { x.Cable = "K1"; }),
         {"Rozvodna Čistá pair 2", "Rozvodna ČISTÁ pair 1"}},
        {"by description ascending",
         q([](auto& x) {
             x.SortBy = ArchiveColumn::Description;
             x.Descending = false;
         }),
         {"Feeder 3 100% load", "Feeder 3 spare", "Rozvodna ČISTÁ pair 1", "Rozvodna Čistá pair 2",
          "old pair"}},
        {"a page",
         q([](auto& x) {
             x.Offset = 1;
             x.Limit = 2;
         }),
         {"Feeder 3 100% load", "Rozvodna Čistá pair 2"}},
        {"the rest from an offset",
         q([](auto& x) {
             x.Offset = 3;
             x.Limit = 0;
         }),
         {"Rozvodna ČISTÁ pair 1", "old pair"}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Descriptions(c.query), c.expected) << c.name;
        ArchiveQuery unpaged = c.query;
        unpaged.Offset = 0;
        unpaged.Limit = 0;
        EXPECT_EQ(archive_->Count(c.query), static_cast<int>(Descriptions(unpaged).size())) << c.name;
    }
}

TEST_P(ChartArchiveTest, FindsTheEntryOfAChartByTheHashOfItsContent)
{
    const TJednoMereni chart = ArchiveChart(60, "found by its content");
    const ArchiveId id = Add(chart, {"Feeder 9", "Substation 4", "", ""});
    Add(ArchiveChart(61, "another"));
    const auto found = archive_->EntryByHash(ContentHash(ArchiveContentText(chart)));
    ASSERT_TRUE(found) << archive_->status().Message;
    EXPECT_EQ(found->Id, id);
    EXPECT_EQ(found->Description, "found by its content");
    EXPECT_EQ(found->Tags, (ArchiveTags{"Feeder 9", "Substation 4", "", ""}));
    // A chart never recorded has none, and that is no failure.
    EXPECT_FALSE(archive_->EntryByHash(ContentHash(ArchiveContentText(ArchiveChart(62)))));
    EXPECT_TRUE(archive_->status().Ok) << archive_->status().Message;
}

TEST_P(ChartArchiveTest, GivesTheChartBackFromItsContentAlone)
{
    using F = chartgen::HeaderForm;
    for (const F form : {F::Tokens8, F::Tokens13, F::Tokens23}) {
        const TJednoMereni recorded =
            ArchiveChart(40 + static_cast<int>(form), "given back", "07.08.2021 11:12:13", 99, form);
        const ArchiveId id = Add(recorded);
        const auto back = archive_->Chart(id);
        ASSERT_TRUE(back) << archive_->status().Message;
        ExpectSameChart(*back, recorded);
        EXPECT_TRUE(back->FileName.empty()) << "never saved";
        EXPECT_FALSE(back->Saved);
    }
    // Saved to a file: given back as that file while it holds the chart.
    TMereni collection;
    collection.AddChart(ArchiveChart(50, "saved one"));
    collection.Rec(1).FileName = dir_.File("saved.ndt");
    ASSERT_EQ(SaveChart(collection, 1, false), kSaveDone);
    const ArchiveId id = Add(collection.Rec(1), {}, ArchiveOrigin::Saved, "");
    auto back = archive_->Chart(id);
    ASSERT_TRUE(back);
    EXPECT_EQ(back->FileName, dir_.File("saved.ndt"));
    EXPECT_TRUE(back->Saved);
    std::filesystem::remove(dir_.File("saved.ndt"));
    back = archive_->Chart(id);
    ASSERT_TRUE(back);
    EXPECT_EQ(back->FileName, "");
    EXPECT_FALSE(back->Saved);
    EXPECT_EQ(back->AutoFileName, dir_.File("saved.ndt")) << "a save writes it where it was";
    ExpectSameChart(*back, collection.Rec(1));
}

TEST_P(ChartArchiveTest, TagsForManyEntriesAndOneBaselinePerCable)
{
    const ArchiveId a = Add(ArchiveChart(60, "a", "01.01.2020 10:00:00"), {"", "Old site", "", ""});
    const ArchiveId b = Add(ArchiveChart(61, "b", "01.01.2021 10:00:00"));
    const ArchiveId c = Add(ArchiveChart(62, "c", "01.01.2022 10:00:00"));
    EXPECT_FALSE(archive_->SetBaseline(a)) << "no cable yet";
    EXPECT_FALSE(archive_->status().Ok);

    ASSERT_TRUE(archive_->SetTags({a, b, c}, {"Feeder 7", "", "Job 3", "Jan"}));
    const auto ea = archive_->Entry(a);
    ASSERT_TRUE(ea);
    EXPECT_EQ(ea->Tags, (ArchiveTags{"Feeder 7", "Old site", "Job 3", "Jan"}))
        << "empty fields left as they were";
    ArchiveQuery q;
    q.Text = "feeder 7 job";
    EXPECT_EQ(archive_->Count(q), 3) << "the search follows the tags";

    ASSERT_TRUE(archive_->SetBaseline(a));
    ASSERT_TRUE(archive_->SetBaseline(b));
    EXPECT_EQ(archive_->Baseline("Feeder 7"), b);
    EXPECT_FALSE(archive_->Entry(a)->IsBaseline);
    EXPECT_TRUE(archive_->Entry(b)->IsBaseline);
    ArchiveQuery all;
    int baselines = 0;
    const auto listed = archive_->Search(all);
    ASSERT_TRUE(listed);
    for (const ArchiveEntry& e : *listed)
        baselines += e.IsBaseline ? 1 : 0;
    EXPECT_EQ(baselines, 1);

    // The baseline moved to another cable is no longer this cable's.
    ASSERT_TRUE(archive_->SetTags({b}, {"Feeder 8", "", "", ""}));
    EXPECT_FALSE(archive_->Baseline("Feeder 7"));
    EXPECT_FALSE(archive_->Baseline("Feeder 8"));
    EXPECT_EQ(archive_->Cables(), (std::vector<std::string>{"Feeder 7", "Feeder 8"}));

    ASSERT_TRUE(archive_->SetVerdict(c, "FAIL"));
    EXPECT_EQ(archive_->Entry(c)->Verdict, "FAIL");
    EXPECT_FALSE(archive_->SetVerdict(c, "MAYBE"));
}

TEST_P(ChartArchiveTest, HistoryIsOldestFirst)
{
    const ArchiveTags cable{"K9", "", "", ""};
    Add(ArchiveChart(70, "2019", "05.05.2019 10:00:00"), cable);
    Add(ArchiveChart(71, "2017", "05.05.2017 10:00:00"), cable);
    Add(ArchiveChart(72, "2018b", "05.05.2018 12:00:00"), cable);
    Add(ArchiveChart(73, "2018a", "05.05.2018 09:00:00"), cable);
    Add(ArchiveChart(74, "other cable", "05.05.2016 10:00:00"), {"K10", "", "", ""});
    const auto history = archive_->History("K9");
    ASSERT_TRUE(history);
    std::vector<std::string> order;
    for (const ArchiveEntry& e : *history)
        order.push_back(e.Description);
    EXPECT_EQ(order, (std::vector<std::string>{"2017", "2018a", "2018b", "2019"}));
}

TEST_P(ChartArchiveTest, ImportsAFolderTreeListingWhatCannotBeRead)
{
    const std::string root = dir_.File("charts");
    std::filesystem::create_directories(root + "/2023/june");
    for (int k = 0; k < 5; ++k) {
        TJednoMereni c = ArchiveChart(80 + k, "imported " + std::to_string(k));
        const std::string sub = k % 2 ? "/2023/june/" : "/";
        dir_.Write("charts" + sub + "c" + std::to_string(k) + ".NDT", ChartFileText(c));
    }
    dir_.Write("charts/2023/broken.ndt", "a description\r\n2000 660 x\r\n");
    dir_.Write("charts/2023/notes.txt", "not a chart");
    int calls = 0;
    const ImportResult first = archive_->Import(root, [&](const ImportProgress& p) {
        EXPECT_EQ(p.Total, 6);
        ++calls;
        return true;
    });
    EXPECT_EQ(first.Added, 5);
    EXPECT_EQ(first.Skipped, 0);
    ASSERT_EQ(first.Failed.size(), 1u);
    EXPECT_EQ(first.Failed[0].first, root + "/2023/broken.ndt");
    EXPECT_NE(first.Failed[0].second.find("line 2"), std::string::npos) << first.Failed[0].second;
    EXPECT_GE(calls, 6);

    const ImportResult again = archive_->Import(root);
    EXPECT_EQ(again.Added, 0);
    EXPECT_EQ(again.Skipped, 5);
    EXPECT_EQ(archive_->Count({}), 5);
    ArchiveQuery q;
    q.Text = "c3.ndt";
    const auto found = archive_->Search(q);
    ASSERT_TRUE(found);
    ASSERT_EQ(found->size(), 1u);
    EXPECT_EQ(found->front().Origin, ArchiveOrigin::Import);
    EXPECT_EQ(found->front().FilePath, root + "/2023/june/c3.NDT");

    // Cancelled before the first file: nothing recorded.
    ChartArchive other(where_);
    const ImportResult cancelled = other.Import(dir_.Path(), [](const ImportProgress&) { return false; });
    EXPECT_TRUE(cancelled.Cancelled);
    EXPECT_EQ(cancelled.Added + cancelled.Skipped, 0);
    EXPECT_TRUE(archive_->Check().empty());
}

TEST_P(ChartArchiveTest, ASecondConnectionSeesTheSameArchiveAtTheCurrentSchema)
{
    Add(ArchiveChart(90));
    ChartArchive second(where_);
    ASSERT_TRUE(second.isOpen()) << second.status().Message;
    EXPECT_EQ(second.schemaVersion(), archive_->schemaVersion());
    EXPECT_EQ(second.Count({}), 1);
    EXPECT_TRUE(second.Check().empty());
}

TEST_P(ChartArchiveTest, ANewArchiveOpenedFromSeveralThreadsAtOnceIsOneArchiveToAll)
{
    // The background writer and the Archive page open a new archive at the
    // same moment when it is turned on: whoever comes second must see the
    // archive the first is creating, never "another database".
    constexpr int kRounds = 12;
    constexpr int kThreads = 4;
    for (int round = 0; round < kRounds; ++round) {
        ArchiveLocation fresh = where_;
        if (GetParam() == ArchiveEngine::SQLite)
            fresh.File = dir_.File("fresh-" + std::to_string(round) + ".sqlite");
        else
            fresh = PostgresServer::Shared().NewDatabase();
        std::vector<std::string> failures(kThreads);
        std::atomic<int> ready{0};
        std::vector<std::thread> threads;
        for (int t = 0; t < kThreads; ++t)
            threads.emplace_back([&, t] {
                ++ready;
                while (ready < kThreads)
                    std::this_thread::yield();
                ChartArchive archive(fresh, "concurrent-" + std::to_string(round) + "-" + std::to_string(t));
                if (!archive.isOpen())
                    failures[t] = archive.status().Message;
                else if (archive.schemaVersion() != kArchiveSchemaVersion)
                    failures[t] = "schema " + std::to_string(archive.schemaVersion());
            });
        for (std::thread& t : threads)
            t.join();
        for (int t = 0; t < kThreads; ++t)
            EXPECT_EQ(failures[t], "") << "round " << round << ", thread " << t;
    }
}

TEST_P(ChartArchiveTest, AnOlderArchiveIsMigratedAndItsEntriesFound)
{
    Add(ArchiveChart(95, "Riser north 12"));
    Add(ArchiveChart(96, "Riser south 13"));
    archive_.reset();
    // Back to schema 1: no word index.
    const std::vector<QString> downgrade =
        GetParam() == ArchiveEngine::SQLite
            ? std::vector<QString>{"DROP TRIGGER charts_words_insert", "DROP TRIGGER charts_words_update",
                                   "DROP TRIGGER charts_words_delete", "DROP TABLE chart_words",
                                   "UPDATE archive_schema SET version = 1"}
            : std::vector<QString>{"DROP INDEX charts_words", "UPDATE archive_schema SET version = 1"};
    {
        QSqlDatabase db =
            QSqlDatabase::addDatabase(GetParam() == ArchiveEngine::SQLite ? "QSQLITE" : "QPSQL", "downgrade");
        db.setDatabaseName(
            QString::fromStdString(GetParam() == ArchiveEngine::SQLite ? where_.File : where_.Database));
        db.setHostName(QString::fromStdString(where_.Host));
        db.setPort(where_.Port);
        db.setUserName(QString::fromStdString(where_.User));
        ASSERT_TRUE(db.open());
        QSqlQuery q(db);
        for (const QString& sql : downgrade)
            ASSERT_TRUE(q.exec(sql)) << sql.toStdString();
    }
    QSqlDatabase::removeDatabase("downgrade");

    ChartArchive migrated(where_);
    ASSERT_TRUE(migrated.isOpen()) << migrated.status().Message;
    EXPECT_EQ(migrated.schemaVersion(), kArchiveSchemaVersion);
    ArchiveQuery q;
    q.Text = "riser NORTH";
    const auto found = migrated.Search(q);
    ASSERT_TRUE(found);
    ASSERT_EQ(found->size(), 1u);
    EXPECT_EQ(found->front().Description, "Riser north 12");
    ASSERT_TRUE(migrated.Record(ArchiveChart(97, "Riser north 14"), ArchiveOrigin::Port, "", {}));
    EXPECT_EQ(migrated.Count(q), 2) << "new entries are indexed";
    ASSERT_TRUE(migrated.SetTags({found->front().Id}, {"Trunk 5", "", "", ""}));
    q.Text = "trunk";
    EXPECT_EQ(migrated.Count(q), 1) << "changed tags are indexed";
}

INSTANTIATE_TEST_SUITE_P(Engines, ChartArchiveTest,
                         ::testing::Values(ArchiveEngine::SQLite, ArchiveEngine::PostgreSQL),
                         [](const ::testing::TestParamInfo<ArchiveEngine>& info) {
                             return info.param == ArchiveEngine::SQLite ? "SQLite" : "PostgreSQL";
                         });

} // namespace

} // namespace lumidrax::test
