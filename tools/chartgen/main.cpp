// chartgen: writes synthetic chart files (.ndt) made by the chart generator.
//
//   chartgen --form 23 --seed 7 --description "Feeder 3, pair 2" -o feeder3.ndt
//   chartgen --form 13 --count 999 --samples 10000 --out-dir DIR   (DIR/chart001.ndt ...)
//
//   chartgen --edges --truth --count 50 --samples 10000 --out-dir DIR
//       charts with pulses of a known leading edge and Gaussian noise, each
//       with its truth file beside it (DIR/chart001.truth ...)
//
//   chartgen --edges --clean --end matched --truth -o matched.ndt
//       a clean trace: band-limited pulses with a little ringing, no sampling
//       noise, ripple below 1 %, and an open, shorted or matched line end
//
// Without -o and --out-dir the file text goes to standard output.

#include "ChartFile.h"
#include "ChartGenerator.h"
#include "CommandLine.h"
#include "EdgeChart.h"
#include "NumberText.h"

#include <CLI/CLI.hpp>

#include <cstdio>
#include <filesystem>
#include <iostream>
#include <optional>

namespace {

using lumidrax::chartgen::ChartOptions;
using lumidrax::chartgen::Fault;
using lumidrax::chartgen::HeaderForm;

// "DIST:LEVEL" in metres and percent, with a decimal point or comma.
bool ParseFault(const std::string& text, Fault& fault)
{
    const auto colon = text.find(':');
    if (colon == std::string::npos)
        return false;
    auto number = [](std::string s) {
        for (char& ch : s)
            if (ch == '.')
                ch = ',';
        return lumidrax::ParseDecimal(s);
    };
    const auto d = number(text.substr(0, colon));
    const auto l = number(text.substr(colon + 1));
    if (!d || !l)
        return false;
    fault.distance = *d;
    fault.level = *l;
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    CLI::App app{"Writes synthetic chart files (.ndt) of the VKR instruments."};
    ChartOptions o;
    int tokens = 13;
    std::string out;
    std::string outDir;
    std::string prefix = "chart";
    int count = 1;
    double length = 0;
    double noiseLevel = 0.3;
    std::vector<std::string> faults;
    std::string dcVoltage;
    std::string dcResistance;
    bool edges = false;
    bool truth = false;
    lumidrax::chartgen::EdgeChartOptions edgeOptions;
    double noiseSd = -1;
    std::string lineEnd = "random";

    app.add_option("--form", tokens, "header tokens: 7, 8 (VKR102), 13 (VKR103), 22 or 23 (VKR104)")
        ->check(CLI::IsMember({7, 8, 13, 22, 23}));
    app.add_option("--seed", o.seed, "seed of the cable layout and the noise");
    app.add_option("--description", o.description, "line 1 of the file (UTF-8)");
    app.add_option("--samples", o.sampleCount, "sample count")->check(CLI::Range(0, 10000));
    app.add_option("--interval", o.interval, "sampling interval in picoseconds");
    app.add_option("--velocity", o.velocityPerMille, "velocity factor in thousandths (660 = 0.66)");
    app.add_option("--impedance", o.impedance, "impedance setting in ohms");
    app.add_option("--noise", o.noise, "noise setting in percent");
    app.add_option("--dc", o.dc, "DC level setting in percent");
    app.add_option("--filter", o.filter, "instrument filter setting (1 = off)");
    app.add_option("--pozice0x", o.pozice0X, "sample of the cable start")->check(CLI::PositiveNumber);
    app.add_option("--negedge", o.negEdge, "active edge (-1, 0, 1)");
    app.add_option("--length", length, "cable length in metres (0 = chosen from the seed)");
    app.add_flag("--shorted-end", o.shortedEnd, "the cable end is shorted (negative reflection)");
    app.add_option("--fault", faults, "a fault DIST:LEVEL in metres and percent (repeatable)");
    app.add_option("--faults", o.faultCount, "number of faults placed by the seed when no --fault is given");
    app.add_option("--noise-level", noiseLevel, "peak noise in percent");
    app.add_option("--status", o.statusIDX, "DC status code (-1 = no DC measurement)");
    app.add_option("--dc-resistance", o.dcResistance, "coded DC resistance (VKR103)");
    app.add_option("--dc-voltage", o.dcVoltage, "coded DC voltage (VKR103)");
    app.add_option("--dc-volts", dcVoltage, "DC voltage in volts (VKR104)");
    app.add_option("--dc-ohms", dcResistance, "DC resistance in ohms (VKR104)");
    app.add_option("--datumcas", o.datumCas, "date and time (VKR104), e.g. \"12.05.2009 10:22:31\"");
    app.add_option("--series", o.seriePrvni, "first chart of the series (VKR104)");
    app.add_option("--series-last", o.seriePosledni, "last chart of the series (VKR104)");
    app.add_option("--serial", o.serialNumber, "instrument serial number (VKR104)");
    app.add_option("--index", o.index, "chart index in the instrument's memory (VKR104, 23 tokens)");
    app.add_flag("--edges", edges,
                 "pulses with a known leading edge and Gaussian noise: launch, random faults, end, echo");
    app.add_option("--reflections", edgeOptions.reflectionCount, "--edges: number of random faults")
        ->check(CLI::Range(0, 100));
    app.add_option("--noise-sd", noiseSd,
                   "--edges: noise standard deviation in percent (default: from the seed)");
    app.add_flag("--pure-noise", edgeOptions.pureNoise, "--edges: noise only, no pulses");
    app.add_flag("--clean", edgeOptions.clean,
                 "--edges: a clean trace: band-limited pulses with a little ringing, no sampling noise, "
                 "ripple of 0.04..0.7 %");
    app.add_option("--end", lineEnd, "--edges --clean: the line's end: open, short, matched or random")
        ->check(CLI::IsMember({"open", "short", "matched", "random"}));
    app.add_option("--ripples", edgeOptions.rippleCount, "--edges --clean: number of ripple reflections")
        ->check(CLI::Range(0, 1000));
    app.add_flag("--truth", truth, "--edges: write the truth (NAME.truth) beside each chart file");
    app.add_option("-o,--output", out, "file to write (default: standard output)");
    app.add_option("--count", count, "number of files to write into --out-dir (seeds seed, seed+1, ...)")
        ->check(CLI::Range(1, 100000));
    app.add_option("--out-dir", outDir, "folder for --count files named PREFIXnnn.ndt");
    app.add_option("--prefix", prefix, "file name prefix for --out-dir");

    if (const std::optional<int> end = lumidrax::tool::ParseCommandLine(app, argc, argv))
        return *end;

    lumidrax::chartgen::FormFromTokens(tokens, o.form);
    o.cableLength = length;
    o.noiseLevel = noiseLevel;
    for (const std::string& f : faults) {
        Fault fault;
        if (!ParseFault(f, fault)) {
            std::cerr << "chartgen: --fault wants DIST:LEVEL, not '" << f << "'\n";
            return 2;
        }
        o.faults.push_back(fault);
    }
    auto floatOption = [](const std::string& text, float& value) {
        if (text.empty())
            return true;
        std::string s = text;
        for (char& ch : s)
            if (ch == '.')
                ch = ',';
        const auto v = lumidrax::ParseDecimal(s);
        if (!v)
            return false;
        value = static_cast<float>(*v);
        return true;
    };
    if (!floatOption(dcVoltage, o.dcVoltageSingle) || !floatOption(dcResistance, o.dcResistanceSingle)) {
        std::cerr << "chartgen: --dc-volts and --dc-ohms want numbers\n";
        return 2;
    }

    if (edges && (o.form == HeaderForm::Tokens7 || o.form == HeaderForm::Tokens8)) {
        std::cerr << "chartgen: --edges makes charts of 13, 22 or 23 tokens\n";
        return 2;
    }
    if (truth && (!edges || (out.empty() && outDir.empty()))) {
        std::cerr << "chartgen: --truth wants --edges and -o or --out-dir\n";
        return 2;
    }
    edgeOptions.sampleCount = o.sampleCount;
    edgeOptions.interval = o.interval;
    edgeOptions.velocityPerMille = o.velocityPerMille;
    edgeOptions.pozice0X = o.pozice0X;
    edgeOptions.noiseSd = noiseSd;
    using lumidrax::chartgen::LineEnd;
    edgeOptions.end = lineEnd == "open"      ? LineEnd::Open
                      : lineEnd == "short"   ? LineEnd::Short
                      : lineEnd == "matched" ? LineEnd::Matched
                                             : LineEnd::Random;
    if ((edgeOptions.clean || lineEnd != "random") && !edges) {
        std::cerr << "chartgen: --clean and --end want --edges\n";
        return 2;
    }
    // The chart file text of one seed, and its truth file's text.
    auto make = [&](std::uint64_t seed, std::string& truthText) {
        if (!edges) {
            ChartOptions one = o;
            one.seed = seed;
            return lumidrax::chartgen::ChartText(lumidrax::chartgen::GenerateChart(one), one.form);
        }
        lumidrax::chartgen::EdgeChartOptions one = edgeOptions;
        one.seed = seed;
        lumidrax::chartgen::EdgeChart made = lumidrax::chartgen::GenerateEdgeChart(one);
        made.chart.Description = o.description;
        truthText = lumidrax::chartgen::TruthText(made.truth);
        return lumidrax::chartgen::ChartText(made.chart, o.form);
    };
    auto write = [&](const std::filesystem::path& path, std::uint64_t seed) {
        std::string truthText;
        lumidrax::SaveOutcome saved = lumidrax::WriteFileAtomically(path.string(), make(seed, truthText));
        if (saved.Done() && truth) {
            std::filesystem::path truthPath = path;
            truthPath.replace_extension(".truth");
            saved = lumidrax::WriteFileAtomically(truthPath.string(), truthText);
        }
        if (!saved.Done())
            std::cerr << "chartgen: " << saved.Message << "\n";
        return saved.Done();
    };

    try {
        if (!outDir.empty()) {
            std::filesystem::create_directories(outDir);
            const int width = count >= 1000 ? static_cast<int>(std::to_string(count).size()) : 3;
            for (int i = 1; i <= count; ++i) {
                std::string number = std::to_string(i);
                number.insert(
                    0, static_cast<std::size_t>(std::max(0, width - static_cast<int>(number.size()))), '0');
                const auto path = std::filesystem::path(outDir) / (prefix + number + ".ndt");
                if (!write(path, o.seed + static_cast<std::uint64_t>(i - 1)))
                    return 1;
            }
            return 0;
        }
        if (out.empty()) {
            std::string unused;
            const std::string text = make(o.seed, unused);
            std::fwrite(text.data(), 1, text.size(), stdout);
            return std::fflush(stdout) == 0 ? 0 : 1;
        }
        if (!write(out, o.seed))
            return 1;
    } catch (const std::exception& e) {
        std::cerr << "chartgen: " << e.what() << "\n";
        return 1;
    }
    return 0;
}
