// The Archive page's table over a real SQLite archive: the rows the query
// finds, fetched a page at a time anywhere in the list, in the order of the
// column clicked, and the texts the cells show.

#include "ArchiveTableModel.h"
#include "ChartArchive.h"
#include "ChartGenerator.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <cstdio>

namespace lumidrax {
namespace {

constexpr int kEntries = 450; // more than two pages

TEST(ArchiveTableModel, PagesAreFetchedWhereTheViewLooksInTheOrderChosen)
{
    test::TempDir dir;
    ArchiveLocation where;
    where.File = dir.File("archive.sqlite");
    ChartArchive archive(where, "table-model-test");
    ASSERT_TRUE(archive.isOpen()) << archive.status().Message;
    std::vector<ArchiveItem> items;
    for (int k = 0; k < kEntries; ++k) {
        chartgen::ChartOptions o;
        o.form = chartgen::HeaderForm::Tokens23;
        o.seed = static_cast<std::uint64_t>(k) + 1;
        o.sampleCount = 200;
        o.serialNumber = 4000 + k % 3;
        char when[32];
        std::snprintf(when, sizeof when, "%02d.%02d.2024 08:%02d:00", 1 + k % 28, 1 + (k / 28) % 12, k % 60);
        o.datumCas = when;
        o.description = (k % 2 ? "trunk " : "spare ") + std::to_string(k);
        items.push_back({chartgen::GenerateChart(o),
                         ArchiveOrigin::Import,
                         "",
                         {"K" + std::to_string(k % 5), "", "", ""}});
    }
    ASSERT_TRUE(archive.RecordBatch(items)) << archive.status().Message;

    ArchiveTableModel model;
    model.SetArchive(&archive);
    ASSERT_EQ(model.rowCount(), kEntries);
    EXPECT_EQ(model.columnCount(), ArchiveTableModel::kColumns);
    // Newest first by default; the last row lies on the third page.
    const std::optional<ArchiveEntry> newest = model.EntryAt(0);
    const std::optional<ArchiveEntry> oldest = model.EntryAt(kEntries - 1);
    ASSERT_TRUE(newest && oldest);
    EXPECT_GT(newest->MeasuredSort, oldest->MeasuredSort);
    for (int row : {1, 199, 200, 201, 399, 400, 449}) {
        const std::optional<ArchiveEntry> e = model.EntryAt(row);
        ASSERT_TRUE(e) << row;
        EXPECT_GE(model.EntryAt(row - 1)->MeasuredSort, e->MeasuredSort) << row;
    }
    EXPECT_FALSE(model.EntryAt(kEntries));

    // A click on "Description": ascending by it.
    const int description = static_cast<int>(ArchiveColumn::Description);
    model.sort(description, Qt::AscendingOrder);
    EXPECT_EQ(model.index(0, description).data().toString(), "spare 0");
    EXPECT_EQ(model.index(kEntries - 1, description).data().toString(), "trunk 99");
    model.sort(ArchiveTableModel::kBaselineColumn, Qt::DescendingOrder); // not a sort column: unchanged
    EXPECT_EQ(model.index(0, description).data().toString(), "spare 0");

    // A filter keeps the sort; the cells show the entry's texts.
    ArchiveQuery q;
    q.Text = "trunk";
    q.SerialNumber = 4001;
    model.SetQuery(q);
    EXPECT_EQ(model.rowCount(), kEntries / 6);
    const std::optional<ArchiveEntry> first = model.EntryAt(0);
    ASSERT_TRUE(first);
    EXPECT_EQ(first->SerialNumber, 4001);
    EXPECT_EQ(model.index(0, description).data().toString(), "trunk 1");
    EXPECT_EQ(model.index(0, static_cast<int>(ArchiveColumn::SerialNumber)).data().toString(), "4001");
    EXPECT_EQ(model.index(0, static_cast<int>(ArchiveColumn::Cable)).data().toString(), "K1");
    EXPECT_EQ(model.index(0, static_cast<int>(ArchiveColumn::Model)).data().toString(), "VKR104");
    EXPECT_TRUE(model.Problem().empty());
    const QString end = ArchiveCellText(*first, static_cast<int>(ArchiveColumn::EndDistance));
    EXPECT_TRUE(end.isEmpty() || end.contains(",")) << end.toStdString(); // decimal comma

    model.SetArchive(nullptr);
    EXPECT_EQ(model.rowCount(), 0);
}

} // namespace
} // namespace lumidrax
