// The archive writer never costs a chart: while the archive cannot be
// written the charts wait (in memory and on disk), the writer says why, an
// exit keeps them in the spool, and the next writer records them once the
// archive can be written. What feeds it, and the spool on its own.

#include "ArchiveWriter.h"
#include "ArchiveFeed.h"
#include "ArchiveSpool.h"
#include "ChartArchive.h"
#include "ChartGenerator.h"
#include "ChartNotifier.h"
#include "TMereni.h"
#include "TestSupport.h"

#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

namespace lumidrax {
namespace {

constexpr int kCharts = 3;
constexpr int kWaitMs = 15000;

ArchiveItem Item(int k)
{
    chartgen::ChartOptions o;
    o.form = chartgen::HeaderForm::Tokens23;
    o.seed = static_cast<std::uint64_t>(k);
    o.description = "waiting chart " + std::to_string(k);
    return {chartgen::GenerateChart(o), ArchiveOrigin::Port, "/dev/ttyS3", {"C1", "", "", ""}};
}

// An archive that cannot be written (its folder is a file) and one that can.
struct Archives {
    test::TempDir dir;
    ArchiveLocation broken, good;
    Archives()
    {
        dir.Write("blocked", "a file where the archive's folder should be");
        broken.File = dir.File("blocked/archive.sqlite");
        good.File = dir.File("archive.sqlite");
    }
};

TEST(ArchiveWriter, ChartsWaitWhileTheArchiveCannotBeWrittenAndAreAddedWhenItIsBack)
{
    const Archives a;
    const ArchiveLocation &broken = a.broken, &good = a.good;
    const std::string spool = a.dir.File("spool");
    {
        ArchiveWriter writer({broken, spool, 50});
        for (int k = 1; k <= kCharts; ++k)
            writer.Enqueue(Item(k));
        ASSERT_TRUE(
            QTest::qWaitFor([&] { return writer.BehindText().contains("(3 charts waiting)"); }, kWaitMs))
            << writer.BehindText().toStdString();
        EXPECT_TRUE(writer.BehindText().startsWith("Archive behind: ")) << writer.BehindText().toStdString();
        EXPECT_EQ(writer.Pending(), kCharts);
    } // the program ends while the archive is behind
    const std::vector<SpooledItem> waiting = ArchiveSpool(spool).Load();
    ASSERT_EQ(waiting.size(), static_cast<std::size_t>(kCharts));
    EXPECT_EQ(waiting.front().Item.chart.Description, "waiting chart 1");
    EXPECT_EQ(waiting.front().Item.detail, "/dev/ttyS3");

    // The next start, with the archive where it can be written.
    ArchiveWriter writer({broken, spool, 50});
    ASSERT_TRUE(QTest::qWaitFor([&] { return !writer.BehindText().isEmpty(); }, kWaitMs));
    QSignalSpy recorded(&writer, &ArchiveWriter::recorded);
    writer.SetLocation(good);
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return writer.Pending() == 0 && writer.BehindText().isEmpty(); }, kWaitMs))
        << writer.BehindText().toStdString();
    EXPECT_GE(recorded.count(), 1);
    ChartArchive archive(good, "archive-writer-test");
    ASSERT_TRUE(archive.isOpen()) << archive.status().Message;
    ArchiveQuery all;
    all.SortBy = ArchiveColumn::Description;
    all.Descending = false;
    const std::optional<std::vector<ArchiveEntry>> entries = archive.Search(all);
    ASSERT_TRUE(entries);
    ASSERT_EQ(entries->size(), static_cast<std::size_t>(kCharts));
    EXPECT_EQ(entries->front().Description, "waiting chart 1");
    EXPECT_EQ(entries->front().Tags.Cable, "C1");
    EXPECT_EQ(entries->front().Origin, ArchiveOrigin::Port);
    EXPECT_TRUE(ArchiveSpool(spool).Load().empty());
}

// A verdict waits behind the chart queued before it, in memory and across
// an exit, and one of a chart never recorded is dropped.
TEST(ArchiveWriter, AVerdictIsStoredAfterItsChartIsRecorded)
{
    for (const bool restart : {false, true}) {
        SCOPED_TRACE(restart ? "the program ends while the archive is behind" : "one run");
        const Archives a;
        const ArchiveLocation &broken = a.broken, &good = a.good;
        const std::string spool = a.dir.File("spool");
        auto writer = std::make_unique<ArchiveWriter>(ArchiveWriterOptions{broken, spool, 50});
        const ArchiveItem reported = Item(1);
        writer->Enqueue(reported);
        writer->StoreVerdict(reported.chart, "FAIL");
        writer->StoreVerdict(Item(2).chart, "PASS");
        ASSERT_TRUE(
            QTest::qWaitFor([&] { return writer->BehindText().contains("(1 chart waiting)"); }, kWaitMs))
            << writer->BehindText().toStdString();
        if (restart) {
            writer.reset();
            const std::vector<SpooledItem> waiting = ArchiveSpool(spool).Load();
            ASSERT_EQ(waiting.size(), 3u);
            EXPECT_FALSE(waiting[0].Verdict);
            ASSERT_TRUE(waiting[1].Verdict);
            EXPECT_EQ(waiting[1].Verdict->Verdict, "FAIL");
            ASSERT_TRUE(waiting[2].Verdict);
            EXPECT_EQ(waiting[2].Verdict->Verdict, "PASS");
            writer = std::make_unique<ArchiveWriter>(ArchiveWriterOptions{broken, spool, 50});
        }
        QSignalSpy stored(writer.get(), &ArchiveWriter::verdictsStored);
        writer->SetLocation(good);
        ASSERT_TRUE(
            QTest::qWaitFor([&] { return stored.count() > 0 && writer->BehindText().isEmpty(); }, kWaitMs))
            << writer->BehindText().toStdString();
        ChartArchive archive(good, "archive-writer-verdict-test");
        const std::optional<std::vector<ArchiveEntry>> entries = archive.Search({});
        ASSERT_TRUE(entries) << archive.status().Message;
        ASSERT_EQ(entries->size(), 1u);
        EXPECT_EQ(entries->front().Description, "waiting chart 1");
        EXPECT_EQ(entries->front().Verdict, "FAIL");
        writer.reset();
        EXPECT_TRUE(ArchiveSpool(spool).Load().empty());
    }
}

} // namespace
} // namespace lumidrax

namespace lumidrax {
namespace {

// Where each chart the viewer meets is said to come from.
TEST(ArchiveFeed, EachChartIsRecordedOnceWithItsOrigin)
{
    TMereni charts;
    ChartNotifier notifier;
    ArchiveFeed feed(charts, notifier);
    std::vector<ArchiveItem> fed;
    feed.SetSink([&](ArchiveItem item) { fed.push_back(std::move(item)); });
    feed.SetPortDetail([] { return std::string("/dev/ttyUSB0"); });
    feed.SetTags({"K7", "Depot", "", ""});
    const auto add = [&](const std::string& description, const std::string& file) {
        TJednoMereni c = Item(static_cast<int>(charts.Count) + 1).chart;
        c.Description = description;
        c.FileName = file;
        c.Saved = !file.empty();
        charts.AddChart(std::move(c));
        return charts.Rec(charts.Count).Id;
    };
    add("opened", "/data/opened.ndt");
    add("received", "");
    emit notifier.chartsAdded();
    {
        const ArchiveFeed::CommandScope scope(feed, "filter");
        add("filtered", "");
        emit notifier.chartsAdded();
    }
    const ChartId fromArchive = add("from the archive", "");
    feed.Seen(fromArchive);
    emit notifier.chartsAdded(); // nothing new but the archive's own chart
    TJednoMereni saved = charts.Rec(2);
    saved.FileName = "/data/received.ndt";
    feed.Saved(saved);

    const struct {
        const char* description;
        ArchiveOrigin origin;
        const char* detail;
    } want[] = {{"opened", ArchiveOrigin::File, "/data/opened.ndt"},
                {"received", ArchiveOrigin::Port, "/dev/ttyUSB0"},
                {"filtered", ArchiveOrigin::Command, "filter"},
                {"received", ArchiveOrigin::Saved, "/data/received.ndt"}};
    ASSERT_EQ(fed.size(), std::size(want));
    for (std::size_t k = 0; k < fed.size(); ++k) {
        SCOPED_TRACE(k);
        EXPECT_EQ(fed[k].chart.Description, want[k].description);
        EXPECT_EQ(fed[k].origin, want[k].origin);
        EXPECT_EQ(fed[k].detail, want[k].detail);
        EXPECT_EQ(fed[k].tags, (ArchiveTags{"K7", "Depot", "", ""}));
    }
}

// Only whole items come back from the spool; a damaged one is named and
// left for the user, the others are read.
TEST(ArchiveSpool, DamagedAndUnfinishedItemsAreNotRead)
{
    test::TempDir dir;
    ArchiveSpool spool(dir.File("spool"));
    std::string error;
    const std::string first = spool.Put(Item(1), error);
    const std::string second = spool.Put(Item(2), error);
    ASSERT_FALSE(first.empty()) << error;
    ASSERT_FALSE(second.empty()) << error;
    // An item whose meta file was never written, one whose chart is bad, and
    // a verdict file without its verdict.
    dir.Write("spool/00000000000000000001-000001.ndt", "half a chart");
    dir.Write("spool/00000000000000000001-000002.verdict", "hash=\n");
    std::filesystem::path bad = std::filesystem::path(second).replace_extension(".ndt");
    dir.Write(std::filesystem::relative(bad, dir.Path()).string(), "not a chart\r\n");
    std::vector<std::string> problems;
    const std::vector<SpooledItem> items = spool.Load(&problems);
    ASSERT_EQ(items.size(), 1u);
    EXPECT_EQ(items.front().Item.chart.Description, "waiting chart 1");
    EXPECT_EQ(items.front().Item.tags.Cable, "C1");
    EXPECT_EQ(problems.size(), 2u); // the bad chart, and the verdict without one
    spool.Remove(items.front().Path);
    EXPECT_FALSE(std::filesystem::exists(first));
    EXPECT_TRUE(std::filesystem::exists(second)); // kept for the user to look at
}

} // namespace
} // namespace lumidrax
