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

TEST(RenderCommand, WritesPngAndPdfOfTheExampleCharts)
{
    test::TempDir dir;
    const std::string charts = test::SourcePath("examples/vkr103-street5-pair14.ndt") + " " +
                               test::SourcePath("examples/vkr104-exchangeB-cable20.ndt");
    std::string out;
    const std::string png = dir.File("two.png");
    ASSERT_EQ(test::RunCommand(
                  Tool() + " render --width 900 --height 500 -o " + png + " " + charts + " 2>/dev/null", out),
              0)
        << out;
    EXPECT_NE(out.find("\"command\": \"render\""), std::string::npos) << out;
    const QImage image(QString::fromStdString(png));
    ASSERT_EQ(image.size(), QSize(900, 500));
    EXPECT_GT(CountColour(image, 0xFFFF0000), 100);
    EXPECT_GT(CountColour(image, 0xFF4040FF), 100);
    EXPECT_EQ(image.pixel(899, 1) | 0xFF000000, 0xFFFFFFFF);

    const std::string dark = dir.File("dark.png");
    ASSERT_EQ(test::RunCommand(
                  Tool() + " render --dark --line-width 5 -o " + dark + " " + charts + " 2>/dev/null", out),
              0);
    const QImage darkImage(QString::fromStdString(dark));
    ASSERT_EQ(darkImage.size(), QSize(1600, 900));
    EXPECT_EQ(darkImage.pixel(1599, 1) | 0xFF000000, 0xFF000000);
    EXPECT_GT(CountColour(darkImage, 0xFFFF0000), 16 * 100); // 4 x 4 dots

    const std::string pdf = dir.File("two.pdf");
    ASSERT_EQ(test::RunCommand(Tool() + " render -o " + pdf + " " + charts + " 2>/dev/null", out), 0);
    EXPECT_EQ(test::ReadFile(pdf).substr(0, 5), "%PDF-");
}

// --events marks the chart's events on the X strip as the viewer does; the
// rest of the picture, and the picture without the option, stay as they are.
TEST(RenderCommand, EventsMarkTheChartsEventsOnTheXStrip)
{
    test::TempDir dir;
    const std::string chart = test::SourcePath("examples/vkr103-street5-pair14.ndt");
    std::string out;
    const std::string plain = dir.File("plain.png");
    const std::string marked = dir.File("marked.png");
    ASSERT_EQ(test::RunCommand(Tool() + " render --width 900 --height 500 -o " + plain + " " + chart +
                                   " 2>/dev/null",
                               out),
              0);
    ASSERT_EQ(test::RunCommand(Tool() + " render --events --width 900 --height 500 -o " + marked + " " +
                                   chart + " 2>/dev/null",
                               out),
              0);
    EXPECT_NE(out.find("\"events\": true"), std::string::npos) << out;
    std::string events;
    ASSERT_EQ(test::RunCommand(test::BinPath("lumidrax-tool") + " events " + chart, events), 0);
    int count = 0;
    for (std::size_t at = events.find("\"Kind\""); at != std::string::npos;
         at = events.find("\"Kind\"", at + 1))
        ++count;
    ASSERT_GE(count, 3);

    const QImage a(QString::fromStdString(plain));
    const QImage b(QString::fromStdString(marked));
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
    EXPECT_EQ(
        test::RunCommand(Tool() + " render -o " + dir.File("a.jpg") + " " + chart + " 2>/dev/null", out), 2);
    EXPECT_EQ(test::RunCommand(Tool() + " render --line-width 4 -o " + dir.File("a.png") + " " + chart +
                                   " 2>/dev/null",
                               out),
              2);
    EXPECT_EQ(test::RunCommand(Tool() + " render " + chart + " 2>/dev/null", out), 2);
    // A missing chart fails the run, but the others are still painted.
    const std::string png = dir.File("b.png");
    EXPECT_EQ(test::RunCommand(Tool() + " render -o " + png + " " + chart + " " + dir.File("none.ndt") +
                                   " 2>/dev/null",
                               out),
              1);
    EXPECT_NE(out.find("does not exists"), std::string::npos) << out;
    EXPECT_FALSE(QImage(QString::fromStdString(png)).isNull());
    // An output folder that does not exist is an error entry, not a crash.
    EXPECT_EQ(test::RunCommand(
                  Tool() + " render -o " + dir.File("no/such/c.png") + " " + chart + " 2>/dev/null", out),
              1);
    EXPECT_NE(out.find("\"error\""), std::string::npos) << out;
}

// --lines joins the samples: the picture gains the chart's colour between
// the dots, and without the option it is the dots alone, as before.
TEST(RenderCommand, LinesJoinTheSamplesOnlyWhenAskedFor)
{
    test::TempDir dir;
    const std::string chart = test::SourcePath("examples/vkr103-street5-pair14.ndt");
    std::string out;
    const std::string dots = dir.File("dots.png");
    const std::string lines = dir.File("lines.png");
    const std::string size = " --width 900 --height 500 -o ";
    ASSERT_EQ(test::RunCommand(Tool() + " render" + size + dots + " " + chart + " 2>/dev/null", out), 0);
    ASSERT_EQ(test::RunCommand(Tool() + " render --lines" + size + lines + " " + chart + " 2>/dev/null", out),
              0);
    EXPECT_NE(out.find("\"lines\": true"), std::string::npos) << out;
    const QImage a(QString::fromStdString(dots));
    const QImage b(QString::fromStdString(lines));
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
