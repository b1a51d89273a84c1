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

IncomingFiles::IncomingFiles(const Parts& parts, QObject* parent) : QObject(parent), p_(parts)
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
    WindowBusy::Scope busy(*p_.Busy);
    const std::string path = AbsoluteFileName(args.front());
    SuppressClickForAWhile();
    if (p_.Charts->Count < kMaxCharts) {
        int result = 0;
        try {
            result = p_.Charts->LoadChart(path);
        } catch (const ChartFileError& e) {
            p_.Dialogs->ShowErrorMessage(e.what());
            result = 0;
        }
        if (result < 0)
            p_.Dialogs->ShowError(result, args.front());
        else if (result > 0)
            emit p_.Notifier->chartsAdded();
    }
    if (p_.AppSettings->LastPath)
        p_.AppSettings->DataPath = FolderPart(path);
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
    if (!arriving_ && !p_.Busy->Active() && !p_.Queue->Blocked()) {
        arrivals_.stop();
        OpenPending();
    }
    arriving_ = false;
}

void IncomingFiles::OpenPending()
{
    if (pending_.empty())
        return;
    WindowBusy::Scope busy(*p_.Busy);
    // Names that arrive while this batch shows a message wait for the next one.
    std::vector<std::string> names = std::exchange(pending_, {});
    SuppressClickForAWhile();
    const int loaded = p_.Files->OpenBatch(std::move(names));
    if (loaded > 0)
        emit p_.Notifier->chartsAdded();
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
