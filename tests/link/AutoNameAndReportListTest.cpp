// Automatic names and the report list's bookkeeping.

#include "AutoName.h"
#include "TReportList.h"

#include <gtest/gtest.h>

namespace lumidrax {
namespace {

TEST(AutoName, OlderModelsNumberPartAndPadding)
{
    const LocalDateTime t{2011, 3, 5, 14, 2, 9};
    EXPECT_EQ(MakeAutoName("/root/", 0, t), "/root/11-03-05/140209.ndt");
    EXPECT_EQ(MakeAutoName("/root/", 7, t), "/root/11-03-05/14020907.ndt");
    EXPECT_EQ(MakeAutoName("/root/", 12, t), "/root/11-03-05/14020912.ndt");
    EXPECT_EQ(MakeAutoName("/root", 0, {2009, 12, 31, 0, 0, 0}), "/root/09-12-31/000000.ndt");
    EXPECT_EQ(ReportName(MakeAutoName("/root/", 0, t)), "/root/11-03-05/140209.txt");
}

TEST(AutoName, VKR104NamesComeFromTheChartsOwnDate)
{
    // Chart 7 of a series whose first chart is 7, measured at 14:02:09 on
    // 5 March 2011.
    EXPECT_EQ(MakeAutoNameVKR104("/root/", "05.03.2011 14:02:09", 7, SeriesLetter(7, 7)),
              "/root/11-03-05/140209_007a.ndt");
    EXPECT_EQ(MakeAutoNameVKR104("/root/", "05.03.2011 14:02:09", 1234, SeriesLetter(1234, 0)),
              "/root/11-03-05/140209_234.ndt");
    // One-character parts get a leading zero.
    EXPECT_EQ(MakeAutoNameVKR104("/r/", "5.3.2011 4:2:9", 9, ""), "/r/11-03-05/040209_009.ndt");
    EXPECT_EQ(SeriesLetter(9, 7), "c");
    EXPECT_EQ(SeriesLetter(32, 7), "z");
    EXPECT_EQ(SeriesLetter(12, 0), "");
    // A letter that would leave the day's folder or is not printable.
    EXPECT_EQ(SeriesLetter(7, 57), "_"); // "/"
    EXPECT_EQ(SeriesLetter(7, 12), "_"); // "\\"
    EXPECT_EQ(SeriesLetter(500, 1), "_");
    EXPECT_EQ(SeriesLetter(0, 100), "_");
}

TEST(ReportList, UnnamedNumberingAndRemoveReport)
{
    TReportList list;
    EXPECT_EQ(list.AddReceived({"a"}, ""), 0);
    EXPECT_EQ(list.AddReceived({"b"}, ""), 1);
    EXPECT_EQ(list.AddReceived({"c"}, ""), 2);
    EXPECT_EQ(list.At(0).DisplayName, "UNNAMED 1");
    EXPECT_EQ(list.At(2).DisplayName, "UNNAMED 3");
    EXPECT_EQ(list.AutoNumber(), 4);

    // Removing one while unsaved ones remain keeps the running number.
    list.RemoveReport(2);
    EXPECT_EQ(list.Count(), 2);
    EXPECT_EQ(list.At(1).Lines, std::vector<std::string>{"c"});
    EXPECT_EQ(list.AutoNumber(), 4);

    // Saved them all and closed one: the next unnamed report is 1 again.
    list.MarkSaved(0, "/x/a.txt");
    list.MarkSaved(1, "/x/c.txt");
    EXPECT_EQ(list.At(0).DisplayName, "/x/a.txt");
    EXPECT_EQ(list.At(0).FileName, "/x/a.txt");
    EXPECT_TRUE(list.At(0).Saved);
    list.RemoveReport(1);
    EXPECT_EQ(list.AutoNumber(), 1);
    list.AddReceived({"d"}, "");
    EXPECT_EQ(list.At(1).DisplayName, "UNNAMED 1");

    // Removing the last report resets the number as well.
    list.RemoveReport(2);
    list.RemoveReport(1);
    EXPECT_EQ(list.Count(), 0);
    list.AddReceived({"e"}, "");
    list.AddReceived({"f"}, "");
    list.RemoveReport(1);
    list.RemoveReport(1);
    EXPECT_EQ(list.AutoNumber(), 1);
    // Out-of-range numbers change nothing.
    list.RemoveReport(0);
    list.RemoveReport(5);
}

TEST(ReportList, OpenedReportsAndTheLimit)
{
    TReportList list;
    EXPECT_EQ(list.AddOpened("/x/r.txt", {"l1", "l2"}), 0);
    EXPECT_EQ(list.At(0).FileName, "/x/r.txt");
    EXPECT_EQ(list.At(0).AutoFileName, "/x/r.txt");
    EXPECT_EQ(list.At(0).DisplayName, "/x/r.txt");
    EXPECT_TRUE(list.At(0).Saved);
    EXPECT_EQ(list.AddReceived({}, "/auto/140209.txt"), 1);
    EXPECT_EQ(list.At(1).AutoFileName, "/auto/140209.txt");
    EXPECT_EQ(list.At(1).DisplayName, "/auto/140209.txt");
    EXPECT_EQ(list.AutoNumber(), 1);
    while (!list.IsFull())
        list.AddReceived({}, "");
    EXPECT_EQ(list.Count(), kMaxReports);
    EXPECT_EQ(list.AddOpened("/x/s.txt", {}), -1);
    EXPECT_EQ(list.AddReceived({}, ""), -1);
    EXPECT_EQ(list.Count(), kMaxReports);
}

} // namespace
} // namespace lumidrax
