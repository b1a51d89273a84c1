#include "UnsavedWorkGuard.h"

#include "ChartFileCommands.h"
#include "ChartNotifier.h"
#include "IDialogs.h"
#include "InstrumentLink.h"
#include "ReportCommands.h"
#include "TMereni.h"
#include "UiQueue.h"
#include "WindowBusy.h"

namespace lumidrax {

void UnsavedWorkGuard::SettleArrivals()
{
    // A transfer still arriving is decoded now, and what the transfers left
    // to do (messages, automatic saving) is done: the question is about
    // everything received.
    link_.FinishPendingTransfers();
    window_.Queue->RunAll();
    reports_.CopyMemoBack();
}

bool UnsavedWorkGuard::UnsavedSince(ChartId chartMark, ReportId reportMark) const
{
    const TMereni& charts = *window_.Charts;
    for (int i = 1; i <= charts.Count; ++i)
        if (charts.Rec(i).Id > chartMark && !charts.Rec(i).Saved)
            return true;
    const TReportList& reports = reports_.Reports();
    for (int i = 0; i < reports.Count(); ++i)
        if (reports.At(i).Id > reportMark && !reports.At(i).Saved)
            return true;
    return false;
}

bool UnsavedWorkGuard::Resolve()
{
    bool asked = false;
    bool portsClosed = false;
    ChartId chartMark = 0;
    ReportId reportMark = 0;
    const auto stay = [&] {
        if (portsClosed)
            link_.ReopenPorts();
        return false;
    };
    for (;;) {
        SettleArrivals();
        const bool unsaved = files_.AnyUnsaved() || reports_.AnyUnsaved();
        if (unsaved && (!asked || UnsavedSince(chartMark, reportMark))) {
            asked = true;
            chartMark = window_.Charts->LastId();
            reportMark = reports_.Reports().LastId();
            WindowBusy::Scope busy(*window_.Busy);
            const int answer =
                window_.Dialogs->AskYesNo("Close", "Save all unsaved charts and reports ?", true);
            if (answer == kAnswerCancel)
                return stay();
            // Reports first, then charts; anything left unsaved keeps the
            // window.
            if (answer == kAnswerYes && !reports_.SaveAllForExit())
                return stay();
            if (answer == kAnswerYes && !files_.SaveAllForExit()) {
                // A chart could not be written: the window stays, nothing is
                // lost.
                emit window_.Notifier->chartsChanged(ChartChange::FileNames | ChartChange::Rows);
                return stay();
            }
            continue;
        }
        if (portsClosed)
            return true;
        link_.ClosePorts();
        portsClosed = true;
    }
}

} // namespace lumidrax
