// Program entry: hands the file names to a running instance, or starts the
// viewer with its main window hidden until the first timer tick.

#include "FileNames.h"
#include "InstanceChannel.h"
#include "TFrm_main_Lumidrax32.h"
#include "ViewerCommandLine.h"

#include <QApplication>

#include <cstdio>
#include <string>
#include <vector>

int main(int argc, char* argv[])
{
    // --help and --version answer without a display.
    if (const auto text = lumidrax::ViewerInformation(std::vector<std::string>(argv + 1, argv + argc))) {
        std::fputs(text->c_str(), stdout);
        return 0;
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName("Lumidrax");
    QApplication::setApplicationVersion(LUMIDRAX_VERSION);

    // The names as the bytes the system passed (QApplication has taken its
    // own options out of argv): a name that is not UTF-8 still opens.
    std::vector<std::string> args(argv + 1, argv + argc);
    // The running instance has another working folder: hand over full paths.
    std::vector<std::string> names;
    for (const std::string& a : args)
        names.push_back(lumidrax::AbsoluteFileName(a));
    const QString instanceName = lumidrax::DefaultInstanceName();
    // Several viewers started at once (a file manager opening many charts)
    // race for the name: the one that takes it runs, the others hand over.
    auto* channel = new lumidrax::InstanceChannel;
    for (int attempt = 0;; ++attempt) {
        if (lumidrax::HandOverToRunningInstance(instanceName, names)) {
            delete channel;
            return 0;
        }
        if (channel->Listen(instanceName) || attempt == 2)
            break;
    }

    lumidrax::MainWindowOptions options;
    options.Arguments = args;
    options.Channel = channel;
    lumidrax::TFrm_main_Lumidrax32 window(options);
    QObject::connect(&window, &lumidrax::TFrm_main_Lumidrax32::Closed, &app, &QApplication::quit,
                     Qt::QueuedConnection);
    return app.exec();
}
