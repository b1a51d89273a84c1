// The print strip's layout with fixed font measures, and the palette PNG
// of printed pages read back.

#include "PagePng.h"
#include "PrintInfo.h"
#include "TestSupport.h"

#include <QBuffer>
#include <QPainter>

#include <gtest/gtest.h>

namespace lumidrax {
namespace {

// "0" 5 x 10 pixels, every character 5 wide.
PrintInfoMetrics Fixed()
{
    return {10, 5, [](const QString& s) { return int(s.size()) * 5; }};
}

TMereni Shown(int count)
{
    TMereni m;
    for (int i = 1; i <= count; ++i)
        m.AppendRecord(test::RampChart("/data/site" + std::to_string(i) + "/cable.ndt"));
    for (int i = 1; i <= count; ++i) {
        m.Rec(i).Shown = true;
        m.Rec(i).DisplayName = m.Rec(i).FileName;
    }
    return m;
}

TEST(PrintInfo, LegendFillsTwoColumnsOfFiveRowsAndTheReferenceGetsThreeLinesAtMost)
{
    TMereni m = Shown(7);
    const PrintInfoLayout plain = LayoutPrintInfo(m, 400, Fixed());
    EXPECT_EQ(plain.Height, 10 * 8 + 14);
    ASSERT_EQ(plain.Squares.size(), 7u);
    struct Place {
        int k, squareX, y, textX;
    };
    for (const Place p :
         {Place{1, 10, 3, 24}, Place{5, 10, 43, 24}, Place{6, 210, 3, 234}, Place{7, 210, 13, 234}}) {
        const auto& s = plain.Squares[std::size_t(p.k - 1)];
        EXPECT_EQ(std::make_tuple(s.X, s.Y, s.Width, s.Height), std::make_tuple(p.squareX, p.y, 10, 8))
            << p.k;
        const auto& t = plain.Texts[std::size_t(p.k - 1)];
        EXPECT_EQ(std::make_tuple(t.X, t.Y), std::make_tuple(p.textX, p.y)) << p.k;
    }
    EXPECT_EQ(plain.Texts[5].Text, "6 site6/cable.ndt");

    m.RefIndex = 2;
    m.Rec(2).Description = std::string(500, 'x');
    m.Rec(2).Description.replace(78, 1, "A").replace(156, 1, "B").replace(234, 1, "C");
    const PrintInfoLayout ref = LayoutPrintInfo(m, 400, Fixed());
    EXPECT_EQ(ref.Height, 10 * (3 + 7) + 14);
    ASSERT_EQ(ref.Texts.size(), 7u + 5u);
    EXPECT_TRUE(ref.Texts[7].Text.startsWith("Ref. Chart (2): Imp. ")) << ref.Texts[7].Text.toStdString();
    EXPECT_EQ(std::make_tuple(ref.Texts[7].Y, ref.Texts[8].Y, ref.Texts[8].Text.toStdString()),
              std::make_tuple(53, 60, std::string("Description:")));
    // 400 div 5 - 2 = 78 characters a line; the fourth line is cut.
    for (int line = 0; line < 3; ++line) {
        EXPECT_EQ(ref.Texts[std::size_t(9 + line)].Y, 10 * (7 + line));
        EXPECT_EQ(ref.Texts[std::size_t(9 + line)].Text.size(), 78);
    }
    EXPECT_TRUE(ref.Texts[10].Text.startsWith('A') && ref.Texts[11].Text.startsWith('B'));
    m.Rec(2).Description = "short";
    EXPECT_EQ(LayoutPrintInfo(m, 400, Fixed()).Height, 10 * 8 + 14);
}

TEST(PagePng, APalettePngReadsBackPixelForPixelAndManyColoursAreLeftToQt)
{
    QImage page = NewPageImage(QSize(300, 120));
    page.fill(QColor(240, 240, 240));
    QPainter p(&page);
    p.fillRect(10, 10, 50, 50, Qt::red);
    p.setPen(Qt::blue);
    p.drawLine(0, 119, 299, 0);
    p.end();
    const auto png = EncodePalettePng(page);
    ASSERT_TRUE(png.has_value());
    const QImage back = QImage::fromData(*png, "PNG").convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(back, page);

    QImage ramp(300, 2, QImage::Format_RGB32);
    for (int x = 0; x < 300; ++x)
        ramp.setPixel(x, 0, qRgb(x % 256, x / 256, 0)), ramp.setPixel(x, 1, qRgb(0, 0, 0));
    EXPECT_FALSE(EncodePalettePng(ramp).has_value());
}

} // namespace
} // namespace lumidrax
