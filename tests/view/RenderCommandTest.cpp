// lumidrax-tool render as a whole process: PNG and PDF output without a
// display, and its usage errors.
#include "TestSupport.h"

#include <QImage>

#include <gtest/gtest.h>

#include <cstdlib>

namespace lumidrax {
namespace {

int CountColour(const QImage& img, QRgb colour)
{
    int n = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            n += (img.pixel(x, y) | 0xFF000000) == colour;
    return n;
}

std::string Tool()
{
    // The command runs without a display of its own choosing.
    return "env -u QT_QPA_PLATFORM -u DISPLAY " + test::BinPath("lumidrax-tool");
}

// Runs `lumidrax-tool render` with these arguments (its errors dropped);
// gives its exit status and fills its output.
int Render(const std::string& arguments, std::string& out)
{
    return test::RunCommand(Tool() + " render " + arguments + " 2>/dev/null", out);
}

// The example chart of street 5, pair 14.
std::string StreetChart()
{
    return test::SourcePath("examples/vkr103-street5-pair14.ndt");
}

// That chart rendered at 900 x 500 without and with the
// option --`option`, whose run names it in its output.
void RenderWithoutAndWith(const std::string& option, QImage& without, QImage& with)
{
    test::TempDir dir;
    std::string out;
    const std::string size = " --width 900 --height 500 -o ";
    ASSERT_EQ(Render(size + dir.File("without.png") + " " + StreetChart(), out), 0);
    ASSERT_EQ(Render("--" + option + size + dir.File("with.png") + " " + StreetChart(), out), 0);
    EXPECT_NE(out.find("\"" + option + "\": true"), std::string::npos) << out;
    without = QImage(QString::fromStdString(dir.File("without.png")));
    with = QImage(QString::fromStdString(dir.File("with.png")));
}

TEST(RenderCommand, WritesPngAndPdfOfTheExampleCharts)
{
    test::TempDir dir;
    const std::string charts =
        StreetChart() + " " + test::SourcePath("examples/vkr104-exchangeB-cable20.ndt");
    std::string out;
    const std::string png = dir.File("two.png");
    ASSERT_EQ(Render("--width 900 --height 500 -o " + png + " " + charts, out), 0) << out;
    EXPECT_NE(out.find("\"command\": \"render\""), std::string::npos) << out;
    const QImage image(QString::fromStdString(png));
    ASSERT_EQ(image.size(), QSize(900, 500));
    EXPECT_GT(CountColour(image, 0xFFFF0000), 100);
    EXPECT_GT(CountColour(image, 0xFF4040FF), 100);
    EXPECT_EQ(image.pixel(899, 1) | 0xFF000000, 0xFFFFFFFF);

    const std::string dark = dir.File("dark.png");
    ASSERT_EQ(Render("--dark --line-width 5 -o " + dark + " " + charts, out), 0);
    const QImage darkImage(QString::fromStdString(dark));
    ASSERT_EQ(darkImage.size(), QSize(1600, 900));
    EXPECT_EQ(darkImage.pixel(1599, 1) | 0xFF000000, 0xFF000000);
    EXPECT_GT(CountColour(darkImage, 0xFFFF0000), 16 * 100); // 4 x 4 dots

    const std::string pdf = dir.File("two.pdf");
    ASSERT_EQ(Render("-o " + pdf + " " + charts, out), 0);
    EXPECT_EQ(test::ReadFile(pdf).substr(0, 5), "%PDF-");
}

// --events marks the chart's events on the X strip as the viewer does; the
// rest of the picture, and the picture without the option, stay as they are.
TEST(RenderCommand, EventsMarkTheChartsEventsOnTheXStrip)
{
    QImage a, b;
    ASSERT_NO_FATAL_FAILURE(RenderWithoutAndWith("events", a, b));
    std::string events;
    ASSERT_EQ(test::RunCommand(test::BinPath("lumidrax-tool") + " events " + StreetChart(), events), 0);
    int count = 0;
    for (std::size_t at = events.find("\"Kind\""); at != std::string::npos;
         at = events.find("\"Kind\"", at + 1))
        ++count;
    ASSERT_GE(count, 3);

    ASSERT_EQ(a.size(), QSize(900, 500));
    ASSERT_EQ(b.size(), a.size());
    // The X strip is the page's bottom 25 rows; the marks are 6 rows high
    // at its top.
    const int strip = a.height() - 25;
    int changedElsewhere = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            if (a.pixel(x, y) != b.pixel(x, y) && (y < strip || y > strip + 6))
                ++changedElsewhere;
    EXPECT_EQ(changedElsewhere, 0);
    // One mark a event: runs of changed pixels along the row through them.
    int marks = 0;
    bool inside = false;
    for (int x = 0; x < a.width(); ++x) {
        const bool changed = a.pixel(x, strip + 5) != b.pixel(x, strip + 5);
        marks += changed && !inside;
        inside = changed;
    }
    EXPECT_EQ(marks, count);
}

TEST(RenderCommand, UsageErrorsAndMissingFiles)
{
    test::TempDir dir;
    const std::string chart = test::SourcePath("examples/series1.ndt");
    std::string out;
    EXPECT_EQ(Render("-o " + dir.File("a.jpg") + " " + chart, out), 2);
    EXPECT_EQ(Render("--line-width 4 -o " + dir.File("a.png") + " " + chart, out), 2);
    EXPECT_EQ(Render(chart, out), 2);
    // A missing chart fails the run, but the others are still painted.
    const std::string png = dir.File("b.png");
    EXPECT_EQ(Render("-o " + png + " " + chart + " " + dir.File("none.ndt"), out), 1);
    EXPECT_NE(out.find("does not exists"), std::string::npos) << out;
    EXPECT_FALSE(QImage(QString::fromStdString(png)).isNull());
    // An output folder that does not exist is an error entry, not a crash.
    EXPECT_EQ(Render("-o " + dir.File("no/such/c.png") + " " + chart, out), 1);
    EXPECT_NE(out.find("\"error\""), std::string::npos) << out;
}

// --lines joins the samples: the picture gains the chart's colour between
// the dots, and without the option it is the dots alone, as before.
TEST(RenderCommand, LinesJoinTheSamplesOnlyWhenAskedFor)
{
    QImage a, b;
    ASSERT_NO_FATAL_FAILURE(RenderWithoutAndWith("lines", a, b));
    ASSERT_EQ(b.size(), a.size());
    const int red = CountColour(a, 0xFFFF0000);
    EXPECT_GT(red, 100);
    // Steep flanks: a line joins dots many rows apart.
    EXPECT_GT(CountColour(b, 0xFFFF0000), red + 50);
    // Every dot stays where it was.
    int lost = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            lost += (a.pixel(x, y) | 0xFF000000) == 0xFFFF0000 && (b.pixel(x, y) | 0xFF000000) != 0xFFFF0000;
    EXPECT_EQ(lost, 0);
}

} // namespace
} // namespace lumidrax
