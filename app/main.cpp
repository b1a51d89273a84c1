// Program entry: hands the file names to a running instance, or starts the
// viewer with its main window hidden until the first timer tick.

#include "InstanceChannel.h"
#include "TFrm_main_Lumidrax32.h"

#include <QApplication>
#include <QFileInfo>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName("Lumidrax");
    QApplication::setApplicationVersion(LUMIDRAX_VERSION);

    QStringList args = QCoreApplication::arguments().mid(1);
    // The running instance has another working folder: hand over full paths.
    QStringList names;
    for (const QString& a : args)
        names << QFileInfo(a).absoluteFilePath();
    const QString instanceName = lumidrax::DefaultInstanceName();
    if (lumidrax::HandOverToRunningInstance(instanceName, names))
        return 0;

    lumidrax::MainWindowOptions options;
    options.Arguments = args;
    options.InstanceName = instanceName;
    lumidrax::TFrm_main_Lumidrax32 window(options);
    QObject::connect(&window, &lumidrax::TFrm_main_Lumidrax32::Closed, &app, &QApplication::quit,
                     Qt::QueuedConnection);
    return app.exec();
}
