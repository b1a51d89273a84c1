#include "DCTexts.h"

#include <gtest/gtest.h>

using namespace lumidrax;

TEST(DCTexts, VKR103Voltage)
{
    EXPECT_EQ(FormatDCVoltage(66, 250), "-0,60 V"); // bit 6 set: 250 - 256 = -6, c = 2
    EXPECT_EQ(FormatDCVoltage(9, 123), "Overload");
    EXPECT_EQ(FormatDCVoltage(25, -5), "Overload");
    EXPECT_EQ(FormatDCVoltage(0, 7), "Not measured");
    EXPECT_EQ(FormatDCVoltage(8, 7), "Non-measurable");
    EXPECT_EQ(FormatDCVoltage(3, 12), "12 V");
    EXPECT_EQ(FormatDCVoltage(1, 250), "2,50 V");
    // -1 has bit 6 set as a two's-complement integer and falls under "any other c".
    EXPECT_EQ(FormatDCVoltage(-1, 300), "0,44 V");
}

TEST(DCTexts, VKR103Resistance)
{
    EXPECT_EQ(FormatDCResistance(0, 5), "Not measured");
    for (int s : {2, 3, 10})
        EXPECT_EQ(FormatDCResistance(s, 5), "Non-measurable");
    EXPECT_EQ(FormatDCResistance(4, 47), "47 kOhm");
    EXPECT_EQ(FormatDCResistance(5, 205), "2,05 MOhm");
    EXPECT_EQ(FormatDCResistance(6, 205), "20,50 MOhm");
    EXPECT_EQ(FormatDCResistance(7, 205), ">20,50 MOhm");
    EXPECT_EQ(FormatDCResistance(23, 205), ">20,50 MOhm"); // 23 mod 16 = 7
    EXPECT_EQ(FormatDCResistance(1, 205), "");
    EXPECT_EQ(FormatDCResistance(-1, 205), "");
}

TEST(DCTexts, VKR104ResistanceRanges)
{
    EXPECT_EQ(FormatResistanceOhms(49.9L), "< 0,1 kOhm");
    EXPECT_EQ(FormatResistanceOhms(50), "0,1 kOhm");
    EXPECT_EQ(FormatResistanceOhms(12345), "12,3 kOhm");
    EXPECT_EQ(FormatResistanceOhms(150000), "150 kOhm");
    EXPECT_EQ(FormatResistanceOhms(1500000), "1,5 MOhm");
    EXPECT_EQ(FormatResistanceOhms(20000000), "> 20 MOhm");
}

TEST(DCTexts, VKR104StatusByte)
{
    EXPECT_EQ(FormatVKR104DCTexts(128, 0.5f, 1000), std::make_pair(std::string("---"), std::string("---")));
    EXPECT_EQ(FormatVKR104DCTexts(192, 0.5f, 1000), std::make_pair(std::string("---"), std::string("---")));
    EXPECT_EQ(FormatVKR104DCTexts(129, 0.5f, 1000),
              std::make_pair(std::string("---"), std::string("1,0 kOhm")));
    EXPECT_EQ(FormatVKR104DCTexts(64, 0.5f, 1000).second, "---");
    EXPECT_EQ(FormatVKR104DCTexts(0, 1.0f, 1000).first, "1,00 V");
    EXPECT_EQ(FormatVKR104DCTexts(0, 1.01f, 1000).first, ">1V");
    EXPECT_EQ(FormatVKR104DCTexts(0, -1.0f, 1000).first, "-1,00 V");
    EXPECT_EQ(FormatVKR104DCTexts(0, -1.01f, 1000).first, "<-1V");
    EXPECT_EQ(FormatVKR104DCTexts(0, 0.25f, 30000000).second, "> 20 MOhm");
}
