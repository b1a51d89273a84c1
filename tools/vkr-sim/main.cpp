// vkr-sim: stands in for a VKR instrument. Builds chart blocks, report
// transfers and Bluetooth frames from chart files or generated traces,
// writes them to files or serves them on a serial line or a pseudo-terminal.

#include "ChartFile.h"
#include "ChartGenerator.h"
#include "CommandLine.h"
#include "FileIO.h"
#include "Limits.h"
#include "MessageCatalogue.h"
#include "SimServer.h"
#include "TMereni.h"

#include <CLI/CLI.hpp>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <optional>
#include <string_view>

namespace {

using namespace lumidrax;
using namespace lumidrax::vkrsim;

const char* kDescription = R"(Instrument simulator for the VKR cable testers.

Builds what a VKR102, VKR103 (single chart or memory read-out "VKR103RAM") or
VKR104 sends: chart blocks, report transfers (VKR102, VKR103, VKR103RAM) and
Bluetooth frames (VKR104), from chart files (.ndt) or from generated traces,
and writes them to files (--write) or serves them on a serial device
(--serve) or on a pseudo-terminal it creates (--pty; the terminal's path is
printed as the first line of standard output).

Serving: the RS-232 models push every chart as a transfer of its own, 2.5 s
apart (a memory read-out or a report is one transfer); the VKR104 sends the
first frame, waits for "R", sends the next, and ends with an empty frame.
The identification question "?NNN" is answered with "VKR1xx simulator".
With --step the sending is paced by whoever runs the simulator instead: each
RS-232 transfer, and the first VKR104 frame, goes when a line comes on
standard input (tests release them once their port listens).
Progress goes to standard error.

Writing: an RS-232 transfer goes to FILE; several transfers, and every
Bluetooth frame (with its 3-byte header), go to FILE's name with -01, -02,
... (and -end for the empty frame) before the extension.

Faults (--fault, hitting the piece or frame --fault-at, from 1):
  checksum  RS-232 chart or report: checksum off by one   -> data read error
  count     RS-232 chart: byte count one too high          -> data read error
            VKR104: header announces one byte more         -> incorrect byte count
  noise     RS-232: an unknown byte before the transfer     -> noise on line
  missing   VKR104: the frame is never sent                 -> charts not transferred
  short     the last 10 bytes are cut off                    -> data read error /
                                                              incorrect byte count

Examples:
  vkr-sim --model VKR103 --write chart.bin examples/vkr103-street5-pair14.ndt
  vkr-sim --model VKR104 --generate 5 --pty
  vkr-sim --model VKR102 --report --serve /dev/ttyUSB0 examples/*.ndt)";

chartgen::HeaderForm FormOf(Model model)
{
    switch (model) {
    case Model::VKR102:
        return chartgen::HeaderForm::Tokens8;
    case Model::VKR104:
        return chartgen::HeaderForm::Tokens23;
    default:
        return chartgen::HeaderForm::Tokens13;
    }
}

std::string NumberedPath(const std::string& path, const std::string& suffix)
{
    const std::filesystem::path p(path);
    return (p.parent_path() / (p.stem().string() + "-" + suffix + p.extension().string())).string();
}

// Written atomically, as every file the programs write.
bool WriteBytes(const std::string& path, const ByteVec& bytes)
{
    const std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    return lumidrax::ReplaceFileAtomically(path, text).Ok();
}

// Exit statuses: done, a file or the line failed, a usage error.
constexpr int kExitOk = 0;
constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;
// Width of the option column of --help.
constexpr std::size_t kHelpColumnWidth = 34;
// Most samples a generated chart may have.
constexpr int kMaxGeneratedSamples = 10000;

// The command line as given.
struct SimOptions {
    std::string modelText = "VKR103";
    std::vector<std::string> files;
    bool report = false;
    int generate = 0;
    unsigned long long seed = 1;
    int samples = 1000;
    std::string writePath;
    std::string servePath;
    bool pty = false;
    std::string faultText = "none";
    int faultAt = 1;
    ServeOptions serve;
    std::string date = "01.01.2020 12:00:00";
};

void AddOptions(CLI::App& app, SimOptions& o)
{
    app.set_version_flag("--version", LUMIDRAX_VERSION);
    app.get_formatter()->column_width(kHelpColumnWidth);
    app.add_option("charts", o.files, "Chart files (.ndt) to send, in order")->check(CLI::ExistingFile);
    app.add_option("-m,--model", o.modelText, "VKR102, VKR103, VKR103RAM or VKR104")->capture_default_str();
    app.add_flag("--report", o.report, "Send a report transfer (one record per chart) instead of charts");
    app.add_option("-g,--generate", o.generate, "Generate N charts when no files are given")
        ->check(CLI::Range(1, kMaxCharts));
    app.add_option("--seed", o.seed, "First seed of the generated charts")->capture_default_str();
    app.add_option("--samples", o.samples, "Samples per generated chart")
        ->check(CLI::Range(0, kMaxGeneratedSamples))
        ->capture_default_str();
    auto* write =
        app.add_option("-w,--write", o.writePath, "Write the transfer to FILE instead of serving it");
    auto* device = app.add_option("--serve", o.servePath, "Serve on this serial device");
    auto* ptyFlag = app.add_flag("--pty", o.pty, "Serve on a new pseudo-terminal and print its path");
    write->excludes(device)->excludes(ptyFlag);
    device->excludes(ptyFlag);
    app.add_option("--fault", o.faultText, "none, checksum, count, noise, missing or short")
        ->capture_default_str();
    app.add_option("--fault-at", o.faultAt, "Piece or frame the fault hits, from 1")->capture_default_str();
    app.add_option("--delay", o.serve.delayMs, "Milliseconds after the receiver connects before sending")
        ->capture_default_str();
    app.add_option("--gap", o.serve.gapMs, "Milliseconds between RS-232 transfers")->capture_default_str();
    app.add_option("--wait", o.serve.waitMs, "Milliseconds to wait for the receiver")->capture_default_str();
    app.add_flag("--answer-only", o.serve.answerOnly, "Only answer identification questions");
    app.add_flag("--step", o.serve.step,
                 "Send each RS-232 transfer, and the first VKR104 frame, when a line comes on "
                 "standard input (no --gap)");
    app.add_option("--date", o.date, "Date of VKR104 frames for charts without one (DD.MM.YYYY hh:mm:ss)")
        ->capture_default_str();
}

// Parses the command line into `o`. Returns the status to end with right
// away (after --help, --version or a usage error), or nothing to go on.
std::optional<int> ParseOptions(int argc, char** argv, SimOptions& o)
{
    CLI::App app{kDescription, "vkr-sim"};
    AddOptions(app, o);
    return lumidrax::tool::ParseCommandLine(app, argc, argv, kExitUsage);
}

// Checks the model, the fault and the destination. Prints what is wrong and
// returns false on a usage error.
bool MakeTransferOptions(const SimOptions& o, TransferOptions& options)
{
    options.fallbackDate = o.date;
    options.report = o.report;
    options.faultAt = o.faultAt;
    if (!ParseModel(o.modelText, options.model)) {
        std::cerr << "vkr-sim: unknown model '" << o.modelText << "' (VKR102, VKR103, VKR103RAM, VKR104)\n";
        return false;
    }
    if (!ParseFault(o.faultText, options.fault)) {
        std::cerr << "vkr-sim: unknown fault '" << o.faultText
                  << "' (none, checksum, count, noise, missing, short)\n";
        return false;
    }
    if (o.writePath.empty() && o.servePath.empty() && !o.pty) {
        std::cerr << "vkr-sim: say where the transfer goes: --write FILE, --serve DEVICE or --pty\n";
        return false;
    }
    return true;
}

// Loads the chart files in order into `charts`. Returns kExitOk, or the
// status to end with after printing what went wrong.
int LoadCharts(const std::vector<std::string>& files, std::vector<TJednoMereni>& charts)
{
    try {
        TMereni loaded;
        for (const std::string& f : files) {
            if (loaded.Count >= kMaxCharts) {
                std::cerr << "vkr-sim: more than " << kMaxCharts << " charts\n";
                return kExitUsage;
            }
            const int r = loaded.LoadChart(f);
            if (r < 0) {
                std::cerr << "vkr-sim: " << ErrorText(r, f) << "\n";
                return kExitFailure;
            }
            charts.push_back(loaded.Rec(r));
        }
    } catch (const ChartFileError& e) {
        std::cerr << "vkr-sim: Error: " << e.what() << ".\n";
        return kExitFailure;
    }
    return kExitOk;
}

// --generate N charts (one without the option) in the header form of the
// model.
std::vector<TJednoMereni> GenerateCharts(const SimOptions& o, Model model)
{
    std::vector<TJednoMereni> charts;
    const int n = o.generate > 0 ? o.generate : 1;
    for (int k = 0; k < n; ++k) {
        chartgen::ChartOptions c;
        c.form = FormOf(model);
        c.seed = o.seed + static_cast<unsigned long long>(k);
        c.sampleCount = o.samples;
        c.index = k + 1;
        c.description = "Generated chart " + std::to_string(k + 1);
        charts.push_back(chartgen::GenerateChart(c));
    }
    return charts;
}

// Writes the pieces that are sent to files and prints their names.
int WriteTransfer(const Transfer& transfer, const std::string& writePath)
{
    const std::size_t n = transfer.pieces.size();
    for (std::size_t k = 0; k < n; ++k) {
        if (transfer.skip[k])
            continue;
        std::string path = writePath;
        const std::string number = (k + 1 < 10 ? "0" : "") + std::to_string(k + 1);
        if (transfer.bluetooth)
            path = NumberedPath(writePath, k + 1 == n ? std::string("end") : number);
        else if (n > 1)
            path = NumberedPath(writePath, number);
        if (!WriteBytes(path, transfer.pieces[k])) {
            std::cerr << "vkr-sim: cannot write " << path << "\n";
            return kExitFailure;
        }
        std::cout << path << "\n";
    }
    return kExitOk;
}

// Opens the serial device or a new pseudo-terminal, prints its path, and
// serves the transfer on it.
int ServeTransfer(const Transfer& transfer, const SimOptions& o, Model model, std::size_t chartCount)
{
    Line line;
    try {
        line = o.pty ? OpenPseudoTerminal() : OpenSerialDevice(o.servePath);
    } catch (const std::runtime_error& e) {
        std::cerr << "vkr-sim: " << e.what() << "\n";
        return kExitFailure;
    }
    std::cout << line.path << std::endl;
    ServeOptions serve = o.serve;
    serve.model = model;
    std::cerr << "vkr-sim: " << ModelName(model) << (o.report ? " report" : "") << ", " << chartCount
              << " chart(s), serving on " << line.path << "\n";
    const int status =
        Serve(line, transfer, serve, [](const std::string& m) { std::cerr << "vkr-sim: " << m << "\n"; });
    CloseLine(line);
    return status;
}

} // namespace

int main(int argc, char** argv)
{
    SimOptions o;
    if (const std::optional<int> status = ParseOptions(argc, argv, o))
        return *status;
    TransferOptions options;
    if (!MakeTransferOptions(o, options))
        return kExitUsage;

    std::vector<TJednoMereni> charts;
    if (const int status = LoadCharts(o.files, charts); status != kExitOk)
        return status;
    if (charts.empty())
        charts = GenerateCharts(o, options.model);

    Transfer transfer;
    try {
        transfer = BuildTransfer(charts, options);
    } catch (const std::invalid_argument& e) {
        std::cerr << "vkr-sim: " << e.what() << "\n";
        return kExitUsage;
    }

    if (!o.writePath.empty())
        return WriteTransfer(transfer, o.writePath);
    return ServeTransfer(transfer, o, options.model, charts.size());
}
