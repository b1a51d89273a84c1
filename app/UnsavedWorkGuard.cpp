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
    p_.Link->FinishPendingTransfers();
    p_.Queue->RunAll();
    p_.Reports->CopyMemoBack();
}

bool UnsavedWorkGuard::UnsavedSince(ChartId chartMark, ReportId reportMark) const
{
    const TMereni& charts = *p_.Charts;
    for (int i = 1; i <= charts.Count; ++i)
        if (charts.Rec(i).Id > chartMark && !charts.Rec(i).Saved)
            return true;
    const TReportList& reports = p_.Reports->Reports();
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
            p_.Link->ReopenPorts();
        return false;
    };
    for (;;) {
        SettleArrivals();
        const bool unsaved = p_.Files->AnyUnsaved() || p_.Reports->AnyUnsaved();
        if (unsaved && (!asked || UnsavedSince(chartMark, reportMark))) {
            asked = true;
            chartMark = p_.Charts->LastId();
            reportMark = p_.Reports->Reports().LastId();
            WindowBusy::Scope busy(*p_.Busy);
            const int answer = p_.Dialogs->AskYesNo("Close", "Save all unsaved charts and reports ?", true);
            if (answer == kAnswerCancel)
                return stay();
            // Reports first, then charts; anything left unsaved keeps the
            // window.
            if (answer == kAnswerYes && !p_.Reports->SaveAllForExit())
                return stay();
            if (answer == kAnswerYes && !p_.Files->SaveAllForExit()) {
                // A chart could not be written: the window stays, nothing is
                // lost.
                emit p_.Notifier->chartsChanged(ChartChange::FileNames | ChartChange::Rows);
                return stay();
            }
            continue;
        }
        if (portsClosed)
            return true;
        p_.Link->ClosePorts();
        portsClosed = true;
    }
}

} // namespace lumidrax
