// decode [--mode COM|BT] [--saveroot DIR] [--no-autoname] [--now "YYYY-MM-DD
// hh:mm:ss"] [--samples] FILE...: feeds each file as one complete transfer
// to the decoders, in order, into one collection. In BT mode each file holds
// one frame as sent on the wire: the 3-byte header announces the length,
// the bytes after it are the transfer.

#include "ChartFile.h"
#include "ChartJson.h"
#include "Commands.h"
#include "DecodeTransfer.h"
#include "FileIO.h"
#include "MessageCatalogue.h"

#include <CLI/CLI.hpp>

#include <cstdio>
#include <filesystem>
#include <memory>

namespace lumidrax::tool {

namespace {

struct DecodeOptions {
    std::string mode = "COM";
    std::string saveRoot;
    bool noAutoName = false;
    std::string now;
    bool samples = false;
    std::vector<std::string> files;
};

bool ParseNow(const std::string& text, LocalDateTime& t)
{
    char tail;
    return std::sscanf(text.c_str(), "%d-%d-%d %d:%d:%d%c", &t.Year, &t.Month, &t.Day, &t.Hour, &t.Minute,
                       &t.Second, &tail) == 6 &&
           t.Year >= 1000 && t.Year <= 9999 && t.Month >= 1 && t.Month <= 12 && t.Day >= 1 && t.Day <= 31 &&
           t.Hour >= 0 && t.Hour <= 23 && t.Minute >= 0 && t.Minute <= 59 && t.Second >= 0 && t.Second <= 60;
}

Json ReportToJson(const TReport& r)
{
    Json j = Json::object();
    j["DisplayName"] = r.DisplayName;
    j["AutoFileName"] = r.AutoFileName;
    j["FileName"] = r.FileName;
    j["Saved"] = r.Saved;
    j["Lines"] = r.Lines;
    return j;
}

int RunDecode(const DecodeOptions& o)
{
    TMereni collection;
    TReportList reports;
    ToolOutput output;
    DecoderContext ctx;
    ctx.Mode = o.mode == "BT" ? ConnectionMode::BT : ConnectionMode::COM;
    ctx.AutoName = !o.noAutoName;
    ctx.Reports = &reports;
    if (!o.saveRoot.empty()) {
        ctx.SaveRoot = o.saveRoot;
    } else {
        std::error_code ec;
        ctx.SaveRoot = std::filesystem::current_path(ec).string();
    }
    if (!o.now.empty()) {
        LocalDateTime t;
        ParseNow(o.now, t);
        ctx.Now = FixedClock(t);
    }
    std::vector<std::string> shown;
    ctx.ShowMessage = [&shown](const std::string&, const std::string& text) { shown.push_back(text); };

    for (const std::string& file : o.files) {
        std::string bytes;
        if (const FileOutcome read = ReadFileBytes(file, kMaxChartFileBytes, bytes); !read.Ok()) {
            output.AddError(file, CatalogueMessage(ReadFailureCode(read.Status), file));
            continue;
        }
        const auto* data = reinterpret_cast<const std::uint8_t*>(bytes.data());
        Bytes transfer(data, bytes.size());
        if (ctx.Mode == ConnectionMode::BT) {
            // The frame header: type byte, 16-bit length F, low byte first.
            ctx.ExpectedFrameLength = -1;
            if (transfer.size() >= 3) {
                ctx.ExpectedFrameLength = (data[1] | (data[2] << 8)) + 2;
                transfer = transfer.subspan(3);
            } else {
                transfer = transfer.subspan(transfer.size());
            }
        }
        shown.clear();
        const int before = reports.Count();
        const int code = DecodeTransfer(collection, ctx, transfer);
        Json entry = {{"file", file}, {"result", code}, {"message", nullptr}};
        if (code < 0) {
            entry["message"] = ErrorText(code, file);
        } else if (!shown.empty()) {
            std::string text;
            for (const std::string& s : shown)
                text += (text.empty() ? "" : "\n") + s;
            entry["message"] = text;
        }
        output.AddEntry(std::move(entry), code < 0);
        for (int k = before; k < reports.Count(); ++k)
            output.AddReport(ReportToJson(reports.At(k)));
    }
    return output.Print(collection, o.samples);
}

} // namespace

void AddDecodeCommand(CLI::App& app, int& exitStatus)
{
    auto o = std::make_shared<DecodeOptions>();
    CLI::App* cmd =
        app.add_subcommand("decode", "Decode instrument transfers (one per file) into one collection");
    cmd->add_option("--mode", o->mode,
                    "COM (RS-232 transfers) or BT (one VKR104 frame per file, header first)")
        ->check(CLI::IsMember({"COM", "BT"}))
        ->capture_default_str();
    cmd->add_option("--saveroot", o->saveRoot,
                    "root folder of the automatic names (default: current folder)");
    cmd->add_flag("--no-autoname", o->noAutoName, "no automatic names (charts are UNNAMED)");
    cmd->add_option("--now", o->now, "fixed clock of the automatic names, \"YYYY-MM-DD hh:mm:ss\"")
        ->check(
            [](const std::string& text) {
                LocalDateTime t;
                return ParseNow(text, t) ? std::string()
                                         : "expected \"YYYY-MM-DD hh:mm:ss\", got '" + text + "'";
            },
            "DATETIME");
    cmd->add_flag("--samples", o->samples, "add each chart's samples");
    cmd->add_option("FILE", o->files, "transfer files, decoded in this order")->required();
    cmd->callback([o, &exitStatus] { exitStatus = RunDecode(*o); });
}

} // namespace lumidrax::tool
