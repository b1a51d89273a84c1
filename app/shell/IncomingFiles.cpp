#include "IncomingFiles.h"

#include "ChartFile.h"
#include "ChartFileCommands.h"
#include "ChartNotifier.h"
#include "FileNames.h"
#include "IDialogs.h"
#include "Limits.h"
#include "Settings.h"
#include "TMereni.h"
#include "UiQueue.h"
#include "WindowBusy.h"

#include <utility>

namespace lumidrax {

IncomingFiles::IncomingFiles(const WindowServices& window, ChartFileCommands& files, Settings& settings,
                             QObject* parent)
    : QObject(parent), window_(window), files_(files), settings_(settings)
{
    suppression_.setInterval(200);
    suppression_.setSingleShot(true);
    arrivals_.setInterval(500);
    connect(&suppression_, &QTimer::timeout, this, [this] { suppressClick_ = false; });
    connect(&arrivals_, &QTimer::timeout, this, &IncomingFiles::Settle);
}

void IncomingFiles::OpenCommandLine(const std::vector<std::string>& args)
{
    if (args.empty())
        return;
    if (args.size() > 1) {
        // Several names open as one batch, as if they had been dropped.
        for (const std::string& a : args)
            pending_.push_back(AbsoluteFileName(a));
        OpenPending();
        return;
    }
    WindowBusy::Scope busy(*window_.Busy);
    const std::string path = AbsoluteFileName(args.front());
    SuppressClickForAWhile();
    if (window_.Charts->Count < kMaxCharts) {
        int result = 0;
        try {
            result = window_.Charts->LoadChart(path);
        } catch (const ChartFileError& e) {
            window_.Dialogs->ShowErrorMessage(e.what());
            result = 0;
        }
        if (result < 0)
            window_.Dialogs->ShowError(result, args.front());
        else if (result > 0)
            emit window_.Notifier->chartsAdded();
    }
    if (settings_.LastPath)
        settings_.DataPath = FolderPart(path);
    emit opened(0, false);
}

void IncomingFiles::Receive(const std::string& name)
{
    arriving_ = true;
    if (!arrivals_.isActive())
        arrivals_.start();
    pending_.push_back(name);
}

void IncomingFiles::Settle()
{
    if (!arriving_ && !window_.Busy->Active() && !window_.Queue->Blocked()) {
        arrivals_.stop();
        OpenPending();
    }
    arriving_ = false;
}

void IncomingFiles::OpenPending()
{
    if (pending_.empty())
        return;
    WindowBusy::Scope busy(*window_.Busy);
    // Names that arrive while this batch shows a message wait for the next one.
    std::vector<std::string> names = std::exchange(pending_, {});
    SuppressClickForAWhile();
    const int loaded = files_.OpenBatch(std::move(names));
    if (loaded > 0)
        emit window_.Notifier->chartsAdded();
    emit opened(loaded, true);
}

bool IncomingFiles::TakeClickSuppression()
{
    return std::exchange(suppressClick_, false);
}

void IncomingFiles::SuppressClickForAWhile()
{
    suppressClick_ = true;
    suppression_.start();
}

void IncomingFiles::Stop()
{
    arrivals_.stop();
    suppression_.stop();
}

} // namespace lumidrax
