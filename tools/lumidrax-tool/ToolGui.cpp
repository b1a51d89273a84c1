#include "ToolGui.h"

#include <QGuiApplication>

#include <cstdio>
#include <cstdlib>
#include <iostream>

namespace lumidrax::tool {

namespace {

// Qt's warnings (a missing runtime folder in a bare shell, font
// substitutions) are not the tool's messages: its errors go into the JSON.
void Quiet(QtMsgType type, const QMessageLogContext&, const QString& message)
{
    if (type == QtFatalMsg) {
        std::fprintf(stderr, "lumidrax-tool: %s\n", qPrintable(message));
        std::abort();
    }
}

} // namespace

void EnsureGuiApplication()
{
    if (QGuiApplication::instance() != nullptr)
        return;
    qInstallMessageHandler(Quiet);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "lumidrax-tool";
    static char* argv[] = {name, nullptr};
    static QGuiApplication app(argc, argv);
}

void ExitNow(int status)
{
    std::fflush(stdout);
    std::cout.flush();
    std::_Exit(status);
}

} // namespace lumidrax::tool
