#include "NumberText.h"
#include "Cp1250.h"
#include "MessageCatalogue.h"
#include "Utf8Text.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>

using namespace lumidrax;

TEST(NumberText, FixedFormUsesDecimalCommaAndRoundsHalfAwayFromZero)
{
    EXPECT_EQ(FormatFixed(-12.5L, 2), "-12,50");
    EXPECT_EQ(FormatFixed(0, 2), "0,00");
    EXPECT_EQ(FormatFixed(0.125L, 2), "0,13");
    EXPECT_EQ(FormatFixed(-0.125L, 2), "-0,13");
    EXPECT_EQ(FormatFixed(99.995L, 2), "100,00");
    EXPECT_EQ(FormatFixed(1234567.891L, 1), "1234567,9");
    EXPECT_EQ(FormatFixed(150000.0L / 1000, 0), "150");
    EXPECT_EQ(FormatFixed(0.004L, 2), "0,00");
    // A value that is not exactly representable is taken to 18 digits first,
    // so 10.015 rounds up as its decimal text suggests.
    EXPECT_EQ(FormatFixed(10.015L, 2), "10,02");
    EXPECT_EQ(FormatFixed(1e-30L, 2), "0,00");
}

TEST(NumberText, FixedFormOfValuesOnTheirGridAgreesWithThePrintedDigits)
{
    // Samples as the instruments deliver them, read back from their text,
    // and values a hair off the grid: the printed digits, with a comma.
    for (long long n = -1000000; n <= 1000000; n += 997) {
        for (const int decimals : {0, 1, 2, 4}) {
            const long double unit = decimals == 0   ? 1
                                     : decimals == 1 ? 0.1L
                                     : decimals == 2 ? 0.01L
                                                     : 0.0001L;
            for (const long double v : {n * unit, n * unit + unit * 1e-7L, n * unit - unit * 1e-7L,
                                        static_cast<long double>(static_cast<double>(n * unit))}) {
                char buf[64];
                std::snprintf(buf, sizeof buf, "%.*Lf", decimals, v);
                std::string expected = buf;
                std::replace(expected.begin(), expected.end(), '.', ',');
                if (expected.find_first_not_of("-0,") == std::string::npos)
                    expected.erase(0, expected[0] == '-' ? 1 : 0);
                ASSERT_EQ(FormatFixed(v, decimals), expected) << static_cast<double>(v) << " " << decimals;
            }
        }
    }
}

TEST(NumberText, GeneralFormDropsTrailingZerosAndSwitchesToScientific)
{
    EXPECT_EQ(FormatGeneral(static_cast<long double>(0.1f)), "0,100000001490116");
    EXPECT_EQ(FormatGeneral(static_cast<long double>(2.5f)), "2,5");
    EXPECT_EQ(FormatGeneral(0), "0");
    EXPECT_EQ(FormatGeneral(-3), "-3");
    EXPECT_EQ(FormatGeneral(123456), "123456");
    EXPECT_EQ(FormatGeneral(0.00001L), "0,00001");
    EXPECT_EQ(FormatGeneral(1.5e-7L), "1,5E-7");
    EXPECT_EQ(FormatGeneral(1e20L), "1E20");
    EXPECT_EQ(FormatGeneral(static_cast<long double>(1e7f)), "10000000");
}

TEST(NumberText, ParsesOnlyDecimalCommaNumbers)
{
    EXPECT_EQ(ParseDecimal("-12,50"), -12.5L);
    EXPECT_EQ(ParseDecimal("12"), 12.0L);
    EXPECT_EQ(ParseDecimal("+0,25"), 0.25L);
    EXPECT_EQ(ParseDecimal(",5"), 0.5L);
    EXPECT_EQ(ParseDecimal("5,"), 5.0L);
    EXPECT_EQ(ParseDecimal("1,5E3"), 1500.0L);
    EXPECT_EQ(ParseDecimal("15e-1"), 1.5L);
    EXPECT_EQ(ParseDecimal("0,1"), 0.1L); // correctly rounded, like the compiler's literal
    EXPECT_EQ(ParseDecimal("12,34"), 12.34L);
    for (const char* bad : {"", "-", ",", "12.50", "1 2", " 1", "1,5E", "abc", "1,2,3", "0x10", "inf", "nan"})
        EXPECT_FALSE(ParseDecimal(bad).has_value()) << bad;
    EXPECT_FALSE(ParseDecimal("1E99999").has_value());

    EXPECT_EQ(ParseInteger("-17"), -17);
    EXPECT_EQ(ParseInteger("+5"), 5);
    EXPECT_FALSE(ParseInteger("5,0").has_value());
    EXPECT_FALSE(ParseInteger("99999999999").has_value());
    EXPECT_FALSE(ParseInteger("").has_value());
}

TEST(NumberText, FixedFormReadsBackToTheSameTwoDecimalValue)
{
    for (int cents = -100000; cents <= 100000; cents += 37) {
        const long double v = static_cast<long double>(cents) / 100;
        const auto back = ParseDecimal(FormatFixed(v, 2));
        ASSERT_TRUE(back.has_value());
        EXPECT_EQ(*back, v) << FormatFixed(v, 2);
    }
}

TEST(TextCodec, Windows1250RoundTripsCentralEuropeanLetters)
{
    const std::string utf8 = "Kabel \xC4\x8C"
                             "EZ, p\xC5\x99\xC3\xADpojka \xE2\x82\xAC"; // Kabel ČEZ, přípojka €
    const std::string cp = Utf8ToCp1250(utf8);
    EXPECT_EQ(cp, "Kabel \xC8"
                  "EZ, p\xF8\xEDpojka \x80");
    EXPECT_EQ(Cp1250ToUtf8(cp), utf8);
    EXPECT_EQ(Utf8ToCp1250("\xE2\x98\x83"), "?"); // a snowman has no place in the code page
    EXPECT_EQ(FileTextToUtf8("plain"), "plain");
    EXPECT_EQ(FileTextToUtf8(utf8), utf8); // valid UTF-8 is kept
    EXPECT_EQ(FileTextToUtf8(cp), utf8);   // anything else is Windows-1250
    EXPECT_FALSE(IsValidUtf8("\xC0\x80")); // overlong
}

TEST(TextCodec, CharacterCutsCountCharactersNotBytes)
{
    EXPECT_EQ(Utf8DropLast("line7.ndt", 4), "line7");
    EXPECT_EQ(Utf8CharFromEnd("line3.ndt", 5), "3");
    EXPECT_EQ(Utf8CharFromEnd("\xC4\x8D.ndt", 5), "\xC4\x8D");
    EXPECT_EQ(Utf8CharFromEnd("a", 5), "");
    EXPECT_EQ(Utf8DropLast("abc", 5), "");
    EXPECT_EQ(Utf8Prefix("\xC4\x8D\xC4\x8D\xC4\x8D", 2), "\xC4\x8D\xC4\x8D");
}

TEST(MessageCatalogue, EveryCodeHasItsText)
{
    EXPECT_EQ(ErrorText(-1, "x"), "Error: file x does not exists.");
    EXPECT_EQ(ErrorText(-2, "x"), "Error: could not open file x.");
    EXPECT_EQ(ErrorText(-3, "x"), "Error: chart x already loaded.");
    EXPECT_EQ(ErrorText(-4, ""), "Error: noise on line.");
    EXPECT_EQ(ErrorText(-5, ""), "Error: data read error.");
    EXPECT_EQ(ErrorText(-6, ""), "Error: data read error.");
    EXPECT_EQ(ErrorText(-7, ""), "Error: too many charts opened.");
    EXPECT_EQ(ErrorText(-8, "/d"), "Error: unable to create directory /d.");
    EXPECT_EQ(ErrorText(-9, "COM3"), "Error: unable to open port COM3.");
    EXPECT_EQ(ErrorText(-10, ""), "Error: some of selected charts are already loaded.");
    EXPECT_EQ(ErrorText(-11, ""), "Error: Selected charts were not measured in batch mode.");
    EXPECT_EQ(ErrorText(-12, ""), "Error: Incorrect byte count (chart was not transfered).");
    EXPECT_EQ(ErrorText(-13, ""), "Error: Port numbers for BT communication can not be the same.");
    EXPECT_EQ(ErrorText(5, ""), "Error: internal error no. 5.");
    EXPECT_EQ(ErrorText(-14, ""), "Error: internal error no. -14.");
}
