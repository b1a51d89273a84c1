// render [--width W] [--height H] [--dark] [--line-width N] -o OUT.(png|pdf)
// FILE...: loads the charts into one collection, shows them at their full
// extent and paints the plot with both axis strips through the viewer's
// renderer into a PNG image or a PDF page of W x H pixels. Needs no display:
// without QT_QPA_PLATFORM the offscreen platform is used.

#include "ChartJson.h"
#include "Commands.h"

#include "ChartRenderer.h"
#include "FileIO.h"
#include "Palette.h"
#include "PlotRules.h"

#include <CLI/CLI.hpp>

#include <QBuffer>
#include <QGuiApplication>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

#include <memory>

namespace lumidrax::tool {

namespace {

struct RenderOptions {
    int width = 1600;
    int height = 900;
    bool dark = false;
    int lineWidth = 1;
    std::string out;
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

// A QGuiApplication for fonts and painting, made once per process.
void EnsureGuiApplication()
{
    if (QGuiApplication::instance() != nullptr)
        return;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "lumidrax-tool";
    static char* argv[] = {name, nullptr};
    static QGuiApplication app(argc, argv);
}

// Writes the page; returns an empty text or the error.
std::string WritePage(const ChartRenderer& renderer, const std::string& path)
{
    // Painted into memory first, then written atomically like every file
    // the programs write.
    QBuffer file;
    file.open(QIODevice::WriteOnly);
    if (EndsWith(path, ".pdf")) {
        const QSize size = renderer.PageSize();
        QPdfWriter pdf(&file);
        pdf.setCreator(QStringLiteral("Lumidrax ") + QStringLiteral(LUMIDRAX_VERSION));
        pdf.setResolution(96);
        pdf.setPageSize(QPageSize(QSizeF(size.width() * 72.0 / 96.0, size.height() * 72.0 / 96.0),
                                  QPageSize::Point, QString(), QPageSize::ExactMatch));
        pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
        QPainter painter(&pdf);
        painter.fillRect(QRect(QPoint(0, 0), size), QColor(240, 240, 240));
        renderer.PaintPage(painter);
        painter.end();
    } else {
        // The page holds a few dozen colours (the axis text is not
        // antialiased): a palette image keeps every pixel exact at a third
        // of the data, and quality 80 means zlib level 1, which compresses
        // these flat pictures almost as well as the default at a fraction
        // of the time.
        const QImage image = renderer.RenderPage().convertToFormat(QImage::Format_Indexed8,
                                                                   Qt::ThresholdDither | Qt::AvoidDither);
        if (!image.save(&file, "PNG", 80))
            return "Error: the image could not be written to " + path + ".";
    }
    file.close();
    const SaveOutcome written =
        WriteFileAtomically(path, std::string_view(file.data().constData(), file.data().size()));
    if (!written.Done())
        return "Error: " + written.Message + ".";
    return {};
}

int RunRender(const RenderOptions& o)
{
    EnsureGuiApplication();
    TMereni collection;
    ToolOutput output;
    for (const std::string& file : o.files)
        LoadInto(collection, file, output);
    // As the viewer shows freshly opened charts: the full extent, in the
    // chosen scheme and line width.
    collection.SetViewToFull();
    SetLineWidth(collection, o.lineWidth);
    Palette colours;
    ApplyColorScheme(colours, collection, o.dark);

    const ChartRenderer renderer(ChartViewState::ForPage(collection, o.width, o.height, colours));
    const std::string error = WritePage(renderer, o.out);
    Json entry = {{"command", "render"}, {"result", error.empty() ? 0 : -1},
                  {"width", o.width},    {"height", o.height},
                  {"dark", o.dark},      {"lineWidth", o.lineWidth}};
    AddCommandEntry(output, std::move(entry), o.out, error, false);
    return output.Print(collection, false);
}

} // namespace

void AddRenderCommand(CLI::App& app, int& exitStatus)
{
    auto o = std::make_shared<RenderOptions>();
    CLI::App* cmd =
        app.add_subcommand("render", "Paint charts with both axes as the viewer shows them, to PNG or PDF");
    cmd->add_option("--width", o->width, "image width in pixels (default 1600)")
        ->check(CLI::Range(80, 20000));
    cmd->add_option("--height", o->height, "image height in pixels (default 900)")
        ->check(CLI::Range(50, 20000));
    cmd->add_flag("--dark", o->dark, "dark colour scheme (black background)");
    cmd->add_option("--line-width", o->lineWidth, "line width 1, 3 or 5 (default 1)")
        ->check(CLI::IsMember({1, 3, 5}));
    cmd->add_option("-o,--output", o->out, "output file, .png or .pdf")
        ->required()
        ->check(CLI::Validator(
            [](const std::string& path) {
                return EndsWith(path, ".png") || EndsWith(path, ".pdf")
                           ? std::string()
                           : std::string("the output must end in .png or .pdf");
            },
            "OUT.png|OUT.pdf"));
    cmd->add_option("FILE", o->files, "chart files, loaded in this order")->required();
    cmd->callback([o, &exitStatus] { exitStatus = RunRender(*o); });
}

} // namespace lumidrax::tool
