#include "ArchiveTestCharts.h"

#include "ChartMaker.h"
#include "TMereni.h"

namespace lumidrax::test {

TJednoMereni ArchiveChart(std::uint64_t seed, const std::string& description, const std::string& datumCas,
                          int serial, chartgen::HeaderForm form, int samples)
{
    const chartgen::ChartOptions o =
        RecordedChartOptions(seed, samples, description, datumCas, serial, 12.5F, 0.25F, 1, form);
    // Through the collection, as the viewer records charts.
    TMereni collection;
    collection.AddChart(chartgen::GenerateChart(o),
                        AddChartOptions{RawBaseline::FirstSampleBelowStart, true});
    return collection.Rec(1);
}

void ExpectSameChart(const TJednoMereni& back, const TJednoMereni& recorded)
{
    // The content holds the samples as a chart file does, to two decimals.
    ASSERT_EQ(back.Samples.size(), recorded.Samples.size());
    for (std::size_t k = 0; k < back.Samples.size(); ++k)
        ASSERT_NEAR(static_cast<double>(back.Samples[k]), static_cast<double>(recorded.Samples[k]), 1e-9)
            << "sample " << k + 1;
    EXPECT_EQ(back.SampleCount, recorded.SampleCount);
    EXPECT_EQ(back.Description, recorded.Description);
    EXPECT_EQ(back.Interval, recorded.Interval);
    EXPECT_EQ(back.Velocity, recorded.Velocity);
    EXPECT_EQ(back.Impedance, recorded.Impedance);
    EXPECT_EQ(back.Noise, recorded.Noise);
    EXPECT_EQ(back.DC, recorded.DC);
    EXPECT_EQ(back.Filter, recorded.Filter);
    EXPECT_EQ(back.FilterPost, recorded.FilterPost);
    EXPECT_EQ(back.Pozice0X, recorded.Pozice0X);
    EXPECT_EQ(back.Pozice0Y, recorded.Pozice0Y);
    EXPECT_EQ(back.NegEdge, recorded.NegEdge);
    EXPECT_EQ(back.StatusIDX, recorded.StatusIDX);
    EXPECT_EQ(back.DCVoltageStr, recorded.DCVoltageStr);
    EXPECT_EQ(back.DCResistStr, recorded.DCResistStr);
    EXPECT_EQ(back.DCResistanceSingle, recorded.DCResistanceSingle);
    EXPECT_EQ(back.DatumCas, recorded.DatumCas);
    EXPECT_EQ(back.SerialNumber, recorded.SerialNumber);
    EXPECT_EQ(back.SeriePrvni, recorded.SeriePrvni);
    EXPECT_EQ(back.VerzeVKR, recorded.VerzeVKR);
    EXPECT_EQ(back.Index, recorded.Index);
}

} // namespace lumidrax::test
