// The archive writer never costs a chart: while the archive cannot be
// written the charts wait (in memory and on disk), the writer says why, an
// exit keeps them in the spool, and the next writer records them once the
// archive can be written.

#include "ArchiveWriter.h"
#include "ArchiveSpool.h"
#include "ChartArchive.h"
#include "ChartGenerator.h"
#include "TestSupport.h"

#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

#include <filesystem>

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

TEST(ArchiveWriter, ChartsWaitWhileTheArchiveCannotBeWrittenAndAreAddedWhenItIsBack)
{
    test::TempDir dir;
    dir.Write("blocked", "a file where the archive's folder should be");
    ArchiveLocation broken;
    broken.File = dir.File("blocked/archive.sqlite");
    ArchiveLocation good;
    good.File = dir.File("archive.sqlite");
    const std::string spool = dir.File("spool");
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

} // namespace
} // namespace lumidrax
