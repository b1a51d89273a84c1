// Saves charts one after the other into one folder, as the viewer saves
// received charts automatically; the interrupted-save tests kill it at
// random moments.
//
//   interrupted_saver FOLDER RUN COUNT
//
// Makes charts 1..COUNT of run RUN (SaverCharts.h) first, says "ready", then
// saves each with SaveChartFile under FOLDER/SaverChartName and says
// "recovered PATH" for each file its clean-up recovered, then "saved PATH"
// (or "failed PATH: MESSAGE"). Exit status 0 when every chart was saved.

#include "ChartFile.h"
#include "SaverCharts.h"
#include "TMereni.h"

#include <cstdio>
#include <cstdlib>
#include <string>

int main(int argc, char* argv[])
{
    if (argc != 4) {
        std::fprintf(stderr, "usage: interrupted_saver FOLDER RUN COUNT\n");
        return 2;
    }
    const std::string folder = argv[1];
    const int run = std::atoi(argv[2]);
    const int count = std::atoi(argv[3]);
    lumidrax::TMereni charts;
    for (int k = 1; k <= count; ++k) {
        lumidrax::TJednoMereni c = lumidrax::test::SaverChart(run, k);
        c.AutoFileName = folder + "/" + lumidrax::test::SaverChartName(run, k);
        charts.AppendRecord(std::move(c));
    }
    std::printf("ready\n");
    std::fflush(stdout);
    int failed = 0;
    for (int k = 1; k <= count; ++k) {
        const lumidrax::SaveOutcome saved = lumidrax::SaveChartFile(charts, k, false);
        for (const std::string& path : saved.Recovered)
            std::printf("recovered %s\n", path.c_str());
        if (saved.Done()) {
            std::printf("saved %s\n", charts.Rec(k).FileName.c_str());
        } else {
            std::printf("failed %s: %s\n", charts.Rec(k).FileName.c_str(), saved.Message.c_str());
            ++failed;
        }
        std::fflush(stdout);
    }
    return failed == 0 ? 0 : 1;
}
