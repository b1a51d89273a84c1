// Fitting names and descriptions into the chart list columns: the same
// texts as the step-by-step rule, with a bounded amount of measuring.

#include "ListTextFit.h"
#include "Utf8Text.h"

#include <gtest/gtest.h>

#include <array>
#include <random>

namespace lumidrax {
namespace {

// The rule as first written: one step, one measurement of the whole rest.
std::string StepwiseFromLeft(const std::string& name, int maxWidth, const ListTextWidthFn& width)
{
    if (width(name) <= maxWidth)
        return name;
    std::string rest = name;
    std::string shown = "..." + rest;
    while (width(shown) > maxWidth && !rest.empty()) {
        rest = rest.substr(Utf8Prefix(rest, 1).size());
        shown = "..." + rest;
    }
    return shown;
}

std::string StepwiseFromRight(const std::string& text, int maxWidth, const ListTextWidthFn& width)
{
    if (width(text) <= maxWidth)
        return text;
    std::string rest = text;
    std::string shown = rest + "...";
    while (width(shown) > maxWidth && !rest.empty()) {
        rest = Utf8DropLast(rest, 2);
        shown = rest + "...";
    }
    return shown;
}

// Pieces of random texts: ASCII, two- to four-byte characters, and bytes
// that are not UTF-8 (a stray continuation byte, a cut-off sequence).
const std::array<std::string, 9> kPieces = {
    "a", "W", ".", " ", "\xc5\x99", "\xe2\x82\xac", "\xf0\x9f\x93\x88", "\x80", "\xc4"};

TEST(ListTextFit, GivesTheStepwiseResultForRandomTextsWidthsAndColumns)
{
    std::mt19937 rng(20261209);
    for (int round = 0; round < 3000; ++round) {
        // Widths per byte, some of them zero (combining marks take no room).
        std::array<int, 256> byteWidth{};
        const int widest = 1 + static_cast<int>(rng() % 9);
        for (int& w : byteWidth)
            w = static_cast<int>(rng() % (widest + 1));
        const ListTextWidthFn width = [&](std::string_view s) {
            int sum = 0;
            for (const char c : s)
                sum += byteWidth[static_cast<unsigned char>(c)];
            return sum;
        };
        // Mostly short texts; every tenth is long enough to pass the first
        // probe of the fitting, a few are several kilobytes.
        const std::size_t pieces = rng() % (round % 1000 == 0 ? 3000 : round % 10 == 0 ? 700 : 40);
        std::string text;
        for (std::size_t i = 0; i < pieces; ++i)
            text += kPieces[rng() % kPieces.size()];
        const int column = static_cast<int>(rng() % 1200) - 20;

        SCOPED_TRACE(testing::Message() << "round " << round << ", column " << column);
        EXPECT_EQ(ShortenFromLeft(text, column, width), StepwiseFromLeft(text, column, width));
        EXPECT_EQ(ShortenFromRight(text, column, width), StepwiseFromRight(text, column, width));
    }
}

// A description of a megabyte in a column of 300 pixels: a handful of
// measurements of short texts, not thousands of the whole rest.
TEST(ListTextFit, MeasuresLittleOfAHugeText)
{
    const std::string huge(1 << 20, 'x');
    int calls = 0;
    std::size_t measured = 0;
    const ListTextWidthFn width = [&](std::string_view s) {
        ++calls;
        measured += s.size();
        return static_cast<int>(s.size()) * 6;
    };
    // 300 pixels hold 50 characters: "..." and the last 47, or the first
    // 46 (an even count, as the megabyte's) and "...".
    const struct {
        std::string (*shorten)(const std::string&, int, const ListTextWidthFn&);
        std::string expected;
    } cases[] = {{ShortenFromLeft, "..." + std::string(47, 'x')},
                 {ShortenFromRight, std::string(46, 'x') + "..."}};
    for (const auto& c : cases) {
        calls = 0;
        measured = 0;
        EXPECT_EQ(c.shorten(huge, 300, width), c.expected);
        EXPECT_LE(calls, 12);
        EXPECT_LE(measured, 2000u);
    }
}

} // namespace
} // namespace lumidrax
