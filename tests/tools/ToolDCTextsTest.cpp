// DC value texts as the chart reader gives them (13 tokens: coded values of
// the VKR103; 22/23 tokens: floats of the VKR104), through `info`.

#include "ToolTestSupport.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <string>

namespace lumidrax::test {
namespace {

// Writes a one-sample chart per case, its header line made by `header`,
// runs `info` on them all and checks the DC texts of each chart.
template <typename Case, std::size_t N, typename MakeHeader>
void ExpectDCTexts(const Case (&cases)[N], MakeHeader header)
{
    TempDir dir;
    std::string args = "info";
    for (std::size_t k = 0; k < N; ++k) {
        const std::string name = "dc" + std::to_string(k + 1) + ".ndt";
        dir.Write(name, NdtText("", header(cases[k]), {"0"}));
        args += " " + name;
    }
    const ToolRun run = RunTool(dir.Path(), args);
    ASSERT_EQ(run.status, 0);
    for (std::size_t k = 0; k < N; ++k) {
        const Json& chart = Chart(run, static_cast<int>(k) + 1);
        EXPECT_EQ(chart["DCVoltageStr"], cases[k].voltageText) << "header " << header(cases[k]);
        EXPECT_EQ(chart["DCResistStr"], cases[k].resistanceText) << "header " << header(cases[k]);
    }
}

TEST(ToolDCTexts, CodedValuesOfTheVKR103)
{
    struct Case {
        int status, resistance, voltage;
        const char* voltageText;
        const char* resistanceText;
    };
    const Case cases[] = {
        {66, 0, 250, "-0,60 V", "Non-measurable"}, // bit 6 takes 256 off; c = 2
        {9, 0, 77, "Overload", ""},
        {-1, 0, 250, "-0,06 V", ""}, // -1 has bit 6 set; c = -1 is "any other c"
        {-1, 0, 50, "-2,06 V", ""},
        {7, 205, 5, "0,05 V", ">20,50 MOhm"},
        {1, 205, 5, "0,05 V", ""},
        {0, 12, 34, "Not measured", "Not measured"},
        {3, 0, 12, "12 V", "Non-measurable"},
        {8, 0, 12, "Non-measurable", ""},
        {4, 850, 12, "0,12 V", "850 kOhm"},
        {5, 250, 0, "0,00 V", "2,50 MOhm"},
        {6, 250, 0, "0,00 V", "25,00 MOhm"},
        {10, 1, 1, "0,01 V", "Non-measurable"},
    };
    ExpectDCTexts(cases, [](const Case& c) { return Header13(11, 128, c.status, c.resistance, c.voltage); });
}

TEST(ToolDCTexts, FloatsOfTheVKR104)
{
    struct Case {
        int status;
        const char* voltage;
        const char* resistance;
        const char* voltageText;
        const char* resistanceText;
    };
    const Case cases[] = {
        {0, "0", "49,9", "0,00 V", "< 0,1 kOhm"},    {0, "0", "50", "0,00 V", "0,1 kOhm"},
        {0, "0", "150000", "0,00 V", "150 kOhm"},    {0, "0", "1500000", "0,00 V", "1,5 MOhm"},
        {0, "0", "20000000", "0,00 V", "> 20 MOhm"}, {128, "0,5", "150000", "---", "---"},
        {192, "0,5", "150000", "---", "---"},        {129, "0,5", "150000", "---", "150 kOhm"},
        {64, "0,5", "150000", "0,50 V", "---"},      {0, "1", "0", "1,00 V", "< 0,1 kOhm"},
        {0, "1,01", "0", ">1V", "< 0,1 kOhm"},       {0, "-1", "0", "-1,00 V", "< 0,1 kOhm"},
        {0, "-1,01", "0", "<-1V", "< 0,1 kOhm"},
    };
    ExpectDCTexts(cases, [](const Case& c) {
        return Header23("12.05.2009 10:22:31", c.status, c.resistance, c.voltage);
    });
}

} // namespace
} // namespace lumidrax::test
