#include "ExpectedChart.h"

#include <gtest/gtest.h>

namespace lumidrax::test {

void ExpectChart(const TJednoMereni& c, const ExpectedChart& e)
{
#define LUMIDRAX_EXPECT_FIELD(name)                                                                          \
    if (e.name) {                                                                                            \
        EXPECT_EQ(c.name, *e.name) << #name;                                                                 \
    }
    LUMIDRAX_EXPECT_FIELD(VerzeVKR)
    LUMIDRAX_EXPECT_FIELD(Index)
    LUMIDRAX_EXPECT_FIELD(Description)
    LUMIDRAX_EXPECT_FIELD(SeriePrvni)
    LUMIDRAX_EXPECT_FIELD(SeriePosledni)
    LUMIDRAX_EXPECT_FIELD(Interval)
    LUMIDRAX_EXPECT_FIELD(Velocity)
    LUMIDRAX_EXPECT_FIELD(Impedance)
    LUMIDRAX_EXPECT_FIELD(Noise)
    LUMIDRAX_EXPECT_FIELD(DC)
    LUMIDRAX_EXPECT_FIELD(Filter)
    LUMIDRAX_EXPECT_FIELD(Pozice0X)
    LUMIDRAX_EXPECT_FIELD(Pozice0Y)
    LUMIDRAX_EXPECT_FIELD(Pozice0YSingle)
    LUMIDRAX_EXPECT_FIELD(NegEdge)
    LUMIDRAX_EXPECT_FIELD(StatusIDX)
    LUMIDRAX_EXPECT_FIELD(FilterPost)
    LUMIDRAX_EXPECT_FIELD(DCResistance)
    LUMIDRAX_EXPECT_FIELD(DCVoltage)
    LUMIDRAX_EXPECT_FIELD(DCResistanceSingle)
    LUMIDRAX_EXPECT_FIELD(DCVoltageSingle)
    LUMIDRAX_EXPECT_FIELD(DCVoltageStr)
    LUMIDRAX_EXPECT_FIELD(DCResistStr)
    LUMIDRAX_EXPECT_FIELD(DatumCas)
    LUMIDRAX_EXPECT_FIELD(SerialNumber)
    LUMIDRAX_EXPECT_FIELD(SampleCount)
    LUMIDRAX_EXPECT_FIELD(Samples)
    LUMIDRAX_EXPECT_FIELD(DisplayName)
    LUMIDRAX_EXPECT_FIELD(FileName)
    LUMIDRAX_EXPECT_FIELD(AutoFileName)
    LUMIDRAX_EXPECT_FIELD(Saved)
    LUMIDRAX_EXPECT_FIELD(IsNew)
#undef LUMIDRAX_EXPECT_FIELD
}

} // namespace lumidrax::test
