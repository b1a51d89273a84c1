#pragma once
// Running the built lumidrax-tool from tests and building chart files by hand.

#include "TestSupport.h"

#include <nlohmann/json.hpp>

#include <initializer_list>
#include <string>
#include <vector>

namespace lumidrax::test {

// Keys in the order printed.
using Json = nlohmann::ordered_json;

// What one run of the tool gave.
struct ToolRun {
    int status = -1;
    Json json;         // the parsed standard output (null when it was not JSON)
    std::string error; // standard error
};

// Runs `lumidrax-tool ARGS` inside `folder` (so relative file names are
// relative to it). ARGS is passed to the shell as it is.
ToolRun RunTool(const std::string& folder, const std::string& args);

// Runs `chartgen ARGS` inside `folder` once for each ARGS given, stopping at
// the first that fails; returns the exit status of the last run.
int RunChartgen(const std::string& folder, std::initializer_list<std::string> argLists);

// The text of a chart file: description, header, one sample per line, CR LF.
std::string NdtText(const std::string& description, const std::string& header,
                    std::initializer_list<std::string> samples);
std::string NdtText(const std::string& description, const std::string& header,
                    const std::vector<std::string>& samples);

// A header of 13 tokens with the given settings, five blanks apart.
std::string Header13(int pozice0X = 11, int pozice0Y = 128, int status = -1, int dcResistance = 0,
                     int dcVoltage = 0, int filterPost = 1);

// A header of 23 tokens (22 without index) of a VKR104 chart.
std::string Header23(const std::string& datumCas, int status, const std::string& resistance,
                     const std::string& voltage, int index = 1, bool withIndex = true);

// The chart objects of a run, and the samples of one as doubles.
const Json& Chart(const ToolRun& run, int number);
std::vector<double> Samples(const ToolRun& run, int number);

} // namespace lumidrax::test
