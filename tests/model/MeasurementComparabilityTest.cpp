// Two charts' settings compared before a chart is compared with its
// cable's baseline: each setting that differs is named with both values.

#include "MeasurementComparability.h"

#include <gtest/gtest.h>

#include <functional>

using namespace lumidrax;

namespace {

TJednoMereni Measured()
{
    TJednoMereni c;
    c.VerzeVKR = "VKR104";
    c.Interval = 10;
    c.Velocity = 0.66L;
    c.Impedance = 100;
    c.Noise = 2;
    c.Filter = 1;
    c.XStart = 0;
    c.XEnd = 1000;
    return c;
}

} // namespace

TEST(MeasurementComparability, EachDifferenceIsNamedWithBothValues)
{
    const struct {
        const char* what;
        std::function<void(TJednoMereni&)> change;
        std::vector<std::string> texts;
    } cases[] = {
        {"same settings", [](TJednoMereni&) {}, {}},
        {"velocity",
         [](TJednoMereni& b) { b.Velocity = 0.62L; },
         {"velocity 0,660 vs 0,620: every distance scales"}},
        {"velocity within the stored precision", [](TJednoMereni& b) { b.Velocity = 0.6601L; }, {}},
        {"interval",
         [](TJednoMereni& b) { b.Interval = 20; },
         {"interval 10 vs 20: the samples lie at other distances"}},
        {"model",
         [](TJednoMereni& b) { b.VerzeVKR = "VKR103"; },
         {"model VKR104 vs VKR103: other instruments give other levels and pulses"}},
        {"model unknown in an old file", [](TJednoMereni& b) { b.VerzeVKR.clear(); }, {}},
        {"impedance",
         [](TJednoMereni& b) { b.Impedance = 75; },
         {"impedance 100 vs 75: every reflection level changes"}},
        {"pulse",
         [](TJednoMereni& b) { b.Noise = 3; },
         {"pulse 2 vs 3: reflections have other widths and heights"}},
        {"filter", [](TJednoMereni& b) { b.Filter = 0; }, {"filter 1 vs 0: the trace is smoothed otherwise"}},
        {"range",
         [](TJednoMereni& b) { b.XEnd = 2000.5L; },
         {"range 1000 m vs 2000,5 m: the charts cover different lengths"}},
        {"range shifted, same length",
         [](TJednoMereni& b) {
             b.XStart = -5;
             b.XEnd = 995;
         },
         {}},
        {"velocity and filter, in order",
         [](TJednoMereni& b) {
             b.Filter = 4;
             b.Velocity = 0.7L;
         },
         {"velocity 0,660 vs 0,700: every distance scales",
          "filter 1 vs 4: the trace is smoothed otherwise"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        TJednoMereni b = Measured();
        c.change(b);
        std::vector<std::string> texts;
        for (const SettingDifference& d : CompareMeasurementSettings(Measured(), b))
            texts.push_back(d.Text);
        EXPECT_EQ(texts, c.texts);
    }
    TJednoMereni other = Measured();
    other.Velocity = 0.62L;
    other.Interval = 20;
    EXPECT_EQ(DifferenceLines(CompareMeasurementSettings(Measured(), other)),
              "- interval 10 vs 20: the samples lie at other distances\n"
              "- velocity 0,660 vs 0,620: every distance scales");
}
