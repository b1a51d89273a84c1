#include "ChartMaker.h"

namespace lumidrax::test {

chartgen::ChartOptions RecordedChartOptions(std::uint64_t seed, int samples, const std::string& description,
                                            const std::string& datumCas, int serial, float dcResistance,
                                            float dcVoltage, int statusIDX, chartgen::HeaderForm form)
{
    return {.form = form,
            .seed = seed,
            .description = description,
            .sampleCount = samples,
            .faults = {}, // the seed places them
            .statusIDX = statusIDX,
            .dcResistanceSingle = dcResistance,
            .dcVoltageSingle = dcVoltage,
            .datumCas = datumCas,
            .serialNumber = serial};
}

} // namespace lumidrax::test
