// render [--width W] [--height H] [--dark] [--line-width N] [--lines] [--with-info]
// (-o OUT.(png|pdf) | --each DIR) FILE...: shows the charts at their full
// extent and paints the page through the viewer's page painter (the one
// printing and "Export Picture..." use) into a PNG image or a PDF page of
// W x H pixels. --lines joins the samples by lines, as the viewer's
// "Join Samples by Lines" does. --with-info paints the print layout: the title band, the
// PrintInfo strip and the grid. --each writes one picture per chart, each
// chart alone, named NNN-name.png by its place among the FILEs. --events
// marks the events of one chart on the X strip as the viewer's event table
// does (the active chart, else the reference, else the first displayed; with
// --each the picture's own chart), found at the default settings.
//
// Needs no display. This command lives in its own executable,
// lumidrax-tool-render, which lumidrax-tool runs for it, so that the other
// commands start without Qt.

#include "ChartJson.h"
#include "Commands.h"
#include "ToolGui.h"

#include "ChartPagePainter.h"
#include "EventDetection.h"
#include "EventRows.h"
#include "FileIO.h"
#include "Palette.h"
#include "PlotRules.h"

#include <CLI/CLI.hpp>

#include <QFontMetrics>
#include <QGuiApplication>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <memory>
#include <thread>

namespace lumidrax::tool {

namespace {

struct RenderOptions {
    int width = 1600;
    int height = 900;
    bool dark = false;
    int lineWidth = 1;
    bool lines = false;
    bool withInfo = false;
    bool events = false;
    std::string out;
    std::string each;
    std::vector<std::string> files;
};

bool EndsWith(const std::string& text, const std::string& tail)
{
    if (text.size() < tail.size())
        return false;
    for (std::size_t i = 0; i < tail.size(); ++i) {
        char c = text[text.size() - tail.size() + i];
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
        if (c != tail[i])
            return false;
    }
    return true;
}

// Writes the page; returns an empty text or the error.
std::string WritePage(const ChartPageLayout& page, const std::string& path)
{
    // Painted into memory first.
    const QByteArray bytes =
        EndsWith(path, ".pdf")
            ? ChartPagePdf(page, 0, QStringLiteral("Lumidrax ") + QStringLiteral(LUMIDRAX_VERSION))
            : ChartPagePng(page);
    if (bytes.isEmpty())
        return "Error: the image could not be written to " + path + ".";
    // Replaced atomically; not waited for on the disk: a picture is made
    // again by running the command again.
    const SaveOutcome written =
        WriteFileAtomically(path, std::string_view(bytes.constData(), bytes.size()), Flush::Later);
    if (!written.Done())
        return "Error: " + written.Message + ".";
    return {};
}

// As the viewer shows freshly opened charts: the full extent, in the
// chosen scheme and line width; then the page.
std::string RenderCollection(TMereni& collection, const RenderOptions& o, const std::string& path)
{
    collection.SetViewToFull();
    SetLineWidth(collection, o.lineWidth);
    Palette colours;
    ApplyColorScheme(colours, collection, o.dark);
    const QSize size(o.width, o.height);
    ChartPageLayout page = o.withInfo ? PrintPageLayout(collection, colours, size, true)
                                      : PlainPageLayout(collection, colours, size);
    page.View.Lines = o.lines;
    if (o.events) {
        const int marked = MarkedChart(collection);
        if (marked > 0)
            page.View.EventMarks = EventMarksOf(collection, marked, DetectEvents(collection.Rec(marked)));
    }
    return WritePage(page, path);
}

Json Entry(const RenderOptions& o, const std::string& error)
{
    return {{"command", "render"}, {"result", error.empty() ? 0 : -1},
            {"width", o.width},    {"height", o.height},
            {"dark", o.dark},      {"lineWidth", o.lineWidth},
            {"lines", o.lines},    {"withInfo", o.withInfo},
            {"events", o.events}};
}

// NNN-name.png: the chart's place among the FILEs and its file name.
std::string EachName(const std::string& dir, int number, const std::string& file)
{
    char prefix[16];
    std::snprintf(prefix, sizeof prefix, "%03d-", number);
    const std::filesystem::path name = std::filesystem::path(file).filename();
    return (std::filesystem::path(dir) / (prefix + name.stem().string() + ".png")).string();
}

int RunRender(const RenderOptions& o)
{
    ToolOutput output;
    if (o.each.empty()) {
        // The charts are read on a second thread while Qt starts and loads
        // its font database: the two take about as long, and neither needs
        // the other (the model and the file reader do not use Qt).
        TMereni collection;
        std::thread reader([&collection, &output, &o] {
            for (const std::string& file : o.files)
                LoadInto(collection, file, output);
        });
        EnsureGuiApplication();
        QFontMetrics(QGuiApplication::font()).height();
        reader.join();
        const std::string error = RenderCollection(collection, o, o.out);
        AddCommandEntry(output, Entry(o, error), o.out, error, false);
        return output.Print(collection, false);
    }
    EnsureGuiApplication();
    std::error_code made;
    std::filesystem::create_directory(o.each, made);
    TMereni all;
    int number = 0;
    for (const std::string& file : o.files) {
        ++number;
        TMereni one;
        if (LoadInto(one, file, output) == 0)
            continue;
        const std::string path = EachName(o.each, number, file);
        const std::string error = RenderCollection(one, o, path);
        Json entry = Entry(o, error);
        entry["file"] = file;
        AddCommandEntry(output, std::move(entry), path, error, false);
        if (all.Count < kMaxCharts)
            all.AppendRecord(one.Rec(1));
    }
    return output.Print(all, false);
}

} // namespace

void AddRenderCommand(CLI::App& app, int& exitStatus)
{
    auto o = std::make_shared<RenderOptions>();
    CLI::App* cmd = app.add_subcommand(
        "render", "Paint charts with both axes as the viewer shows and prints them, to PNG or PDF");
    cmd->add_option("--width", o->width, "image width in pixels (default 1600)")
        ->check(CLI::Range(80, 20000));
    cmd->add_option("--height", o->height, "image height in pixels (default 900)")
        ->check(CLI::Range(50, 20000));
    cmd->add_flag("--dark", o->dark, "dark colour scheme (black background)");
    cmd->add_option("--line-width", o->lineWidth, "line width 1, 3 or 5 (default 1)")
        ->check(CLI::IsMember({1, 3, 5}));
    cmd->add_flag("--lines", o->lines, "join the samples by lines (the dots drawn over them)");
    cmd->add_flag("--with-info", o->withInfo,
                  "the print layout: title, info strip (legend, reference chart data, description) and grid");
    cmd->add_flag("--events", o->events,
                  "mark the events of the active chart (else the reference, else the first) on the X strip, "
                  "as the viewer's event table does");
    CLI::Option* out = cmd->add_option("-o,--output", o->out, "output file, .png or .pdf")
                           ->check(CLI::Validator(
                               [](const std::string& path) {
                                   return EndsWith(path, ".png") || EndsWith(path, ".pdf")
                                              ? std::string()
                                              : std::string("the output must end in .png or .pdf");
                               },
                               "OUT.png|OUT.pdf"));
    CLI::Option* each =
        cmd->add_option("--each", o->each, "one PNG per chart into this folder, named NNN-name.png");
    out->excludes(each);
    cmd->add_option("FILE", o->files, "chart files, loaded in this order")->required();
    cmd->callback([o, &exitStatus] {
        if (o->out.empty() && o->each.empty())
            throw CLI::RequiredError("-o or --each");
        exitStatus = RunRender(*o);
        // Everything is written.
        ExitNow(exitStatus);
    });
}

} // namespace lumidrax::tool
