#include "ToolTestSupport.h"

#include <gtest/gtest.h>

namespace lumidrax::test {

ToolRun RunTool(const std::string& folder, const std::string& args)
{
    TempDir scratch;
    const std::string errFile = scratch.File("stderr.txt");
    std::string out;
    ToolRun run;
    run.status = RunCommand(
        "cd '" + folder + "' && '" + BinPath("lumidrax-tool") + "' " + args + " 2>'" + errFile + "'", out);
    run.error = ReadFile(errFile);
    run.json = Json::parse(out, nullptr, false);
    if (run.json.is_discarded())
        run.json = nullptr;
    return run;
}

int RunChartgen(const std::string& folder, std::initializer_list<std::string> argLists)
{
    std::string commandLine = "cd '" + folder + "'";
    for (const std::string& args : argLists)
        commandLine += " && '" + BinPath("chartgen") + "' " + args;
    std::string out;
    return RunCommand(commandLine, out);
}

std::string NdtText(const std::string& description, const std::string& header,
                    const std::vector<std::string>& samples)
{
    std::string text = description + "\r\n" + header + "\r\n";
    for (const std::string& s : samples)
        text += s + "\r\n";
    return text;
}

std::string NdtText(const std::string& description, const std::string& header,
                    std::initializer_list<std::string> samples)
{
    return NdtText(description, header, std::vector<std::string>(samples));
}

std::string Header13(int pozice0X, int pozice0Y, int status, int dcResistance, int dcVoltage, int filterPost)
{
    return "2000     660     100     5     0     1     " + std::to_string(pozice0X) + "     " +
           std::to_string(filterPost) + "     " + std::to_string(pozice0Y) + "     0     " +
           std::to_string(status) + "     " + std::to_string(dcResistance) + "     " +
           std::to_string(dcVoltage);
}

std::string Header23(const std::string& datumCas, int status, const std::string& resistance,
                     const std::string& voltage, int index, bool withIndex)
{
    std::string h = "2000     660     100     5     0     1     11     1     128     0     " +
                    std::to_string(status) + "     0     0     " + datumCas + "     1     3     40117     " +
                    resistance + "     " + voltage + "     128     VKR104";
    if (withIndex)
        h += "     " + std::to_string(index);
    return h;
}

const Json& Chart(const ToolRun& run, int number)
{
    static const Json kNone;
    if (!run.json.is_object() || !run.json.contains("charts") ||
        run.json["charts"].size() < static_cast<std::size_t>(number) || number < 1) {
        ADD_FAILURE() << "no chart " << number << " in the output";
        return kNone;
    }
    return run.json["charts"][static_cast<std::size_t>(number - 1)];
}

std::vector<double> Samples(const ToolRun& run, int number)
{
    const Json& c = Chart(run, number);
    if (!c.contains("Samples")) {
        ADD_FAILURE() << "chart " << number << " has no samples (run with --samples)";
        return {};
    }
    return c["Samples"].get<std::vector<double>>();
}

} // namespace lumidrax::test
