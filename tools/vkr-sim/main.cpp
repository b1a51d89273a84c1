// vkr-sim: stands in for a VKR instrument. Builds chart blocks, report
// transfers and Bluetooth frames from chart files or generated traces,
// writes them to files or serves them on a serial line or a pseudo-terminal.

#include "ChartFile.h"
#include "ChartGenerator.h"
#include "MessageCatalogue.h"
#include "SimServer.h"
#include "TMereni.h"

#include <CLI/CLI.hpp>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>

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

bool WriteBytes(const std::string& path, const ByteVec& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out);
}

} // namespace

int main(int argc, char** argv)
{
    CLI::App app{kDescription, "vkr-sim"};
    app.set_version_flag("--version", LUMIDRAX_VERSION);
    app.get_formatter()->column_width(34);

    std::string modelText = "VKR103";
    std::vector<std::string> files;
    bool report = false;
    int generate = 0;
    unsigned long long seed = 1;
    int samples = 1000;
    std::string writePath, servePath;
    bool pty = false;
    std::string faultText = "none";
    int faultAt = 1;
    ServeOptions serve;
    std::string date = "01.01.2020 12:00:00";

    app.add_option("charts", files, "Chart files (.ndt) to send, in order")->check(CLI::ExistingFile);
    app.add_option("-m,--model", modelText, "VKR102, VKR103, VKR103RAM or VKR104")->capture_default_str();
    app.add_flag("--report", report, "Send a report transfer (one record per chart) instead of charts");
    app.add_option("-g,--generate", generate, "Generate N charts when no files are given")
        ->check(CLI::Range(1, 999));
    app.add_option("--seed", seed, "First seed of the generated charts")->capture_default_str();
    app.add_option("--samples", samples, "Samples per generated chart")
        ->check(CLI::Range(0, 10000))
        ->capture_default_str();
    auto* write = app.add_option("-w,--write", writePath, "Write the transfer to FILE instead of serving it");
    auto* device = app.add_option("--serve", servePath, "Serve on this serial device");
    auto* ptyFlag = app.add_flag("--pty", pty, "Serve on a new pseudo-terminal and print its path");
    write->excludes(device)->excludes(ptyFlag);
    device->excludes(ptyFlag);
    app.add_option("--fault", faultText, "none, checksum, count, noise, missing or short")
        ->capture_default_str();
    app.add_option("--fault-at", faultAt, "Piece or frame the fault hits, from 1")->capture_default_str();
    app.add_option("--delay", serve.delayMs, "Milliseconds after the receiver connects before sending")
        ->capture_default_str();
    app.add_option("--gap", serve.gapMs, "Milliseconds between RS-232 transfers")->capture_default_str();
    app.add_option("--wait", serve.waitMs, "Milliseconds to wait for the receiver")->capture_default_str();
    app.add_flag("--answer-only", serve.answerOnly, "Only answer identification questions");
    app.add_option("--date", date, "Date of VKR104 frames for charts without one (DD.MM.YYYY hh:mm:ss)")
        ->capture_default_str();

    try {
        app.parse(argc, argv);
    } catch (const CLI::CallForHelp& e) {
        return app.exit(e);
    } catch (const CLI::CallForVersion& e) {
        return app.exit(e);
    } catch (const CLI::ParseError& e) {
        app.exit(e);
        return 2;
    }

    TransferOptions options;
    options.fallbackDate = date;
    options.report = report;
    options.faultAt = faultAt;
    if (!ParseModel(modelText, options.model)) {
        std::cerr << "vkr-sim: unknown model '" << modelText << "' (VKR102, VKR103, VKR103RAM, VKR104)\n";
        return 2;
    }
    if (!ParseFault(faultText, options.fault)) {
        std::cerr << "vkr-sim: unknown fault '" << faultText
                  << "' (none, checksum, count, noise, missing, short)\n";
        return 2;
    }
    if (writePath.empty() && servePath.empty() && !pty) {
        std::cerr << "vkr-sim: say where the transfer goes: --write FILE, --serve DEVICE or --pty\n";
        return 2;
    }

    std::vector<TJednoMereni> charts;
    try {
        TMereni loaded;
        for (const std::string& f : files) {
            if (loaded.Count >= kMaxCharts) {
                std::cerr << "vkr-sim: more than " << kMaxCharts << " charts\n";
                return 2;
            }
            const int r = loaded.LoadChart(f);
            if (r < 0) {
                std::cerr << "vkr-sim: " << ErrorText(r, f) << "\n";
                return 1;
            }
            charts.push_back(loaded.Rec(r));
        }
    } catch (const ChartFileError& e) {
        std::cerr << "vkr-sim: Error: " << e.what() << ".\n";
        return 1;
    }
    if (charts.empty()) {
        const int n = generate > 0 ? generate : 1;
        for (int k = 0; k < n; ++k) {
            chartgen::ChartOptions o;
            o.form = FormOf(options.model);
            o.seed = seed + static_cast<unsigned long long>(k);
            o.sampleCount = samples;
            o.index = k + 1;
            o.description = "Generated chart " + std::to_string(k + 1);
            charts.push_back(chartgen::GenerateChart(o));
        }
    }

    Transfer transfer;
    try {
        transfer = BuildTransfer(charts, options);
    } catch (const std::invalid_argument& e) {
        std::cerr << "vkr-sim: " << e.what() << "\n";
        return 2;
    }

    if (!writePath.empty()) {
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
                return 1;
            }
            std::cout << path << "\n";
        }
        return 0;
    }

    Line line;
    try {
        line = pty ? OpenPseudoTerminal() : OpenSerialDevice(servePath);
    } catch (const std::runtime_error& e) {
        std::cerr << "vkr-sim: " << e.what() << "\n";
        return 1;
    }
    std::cout << line.path << std::endl;
    serve.model = options.model;
    std::cerr << "vkr-sim: " << ModelName(options.model) << (report ? " report" : "") << ", " << charts.size()
              << " chart(s), serving on " << line.path << "\n";
    const int status =
        Serve(line, transfer, serve, [](const std::string& m) { std::cerr << "vkr-sim: " << m << "\n"; });
    CloseLine(line);
    return status;
}
