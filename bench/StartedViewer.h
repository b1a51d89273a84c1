#pragma once
// A started viewer for the benchmarks that drive the whole window: no
// settings file, the given dialogs (or the real ones), about 1600 x 900 of
// plot, returned once it has finished starting.

#include "TFrm_main_Lumidrax32.h"

#include <QEventLoop>
#include <QObject>
#include <QTimer>

#include <memory>

namespace lumidrax::bench {

inline std::unique_ptr<TFrm_main_Lumidrax32> StartViewer(IDialogs* dialogs = nullptr)
{
    MainWindowOptions options;
    options.UseSettingsFile = false;
    options.Dialogs = dialogs;
    auto w = std::make_unique<TFrm_main_Lumidrax32>(options);
    w->resize(1660, 1180);
    QEventLoop loop;
    QObject::connect(w.get(), &TFrm_main_Lumidrax32::Initialised, &loop, &QEventLoop::quit);
    QTimer::singleShot(5000, &loop, &QEventLoop::quit);
    loop.exec();
    return w;
}

} // namespace lumidrax::bench
