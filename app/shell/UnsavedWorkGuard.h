#pragma once
// The question before the window closes: "Save all unsaved charts and
// reports ?". It covers everything received: transfers still arriving are
// decoded first, and what the transfers left to do runs. Charts and reports
// that arrive while the question is open were not part of the answer, so it
// comes again; closing the ports ends what is still arriving, and what that
// delivers is asked about too. Cancel, or anything left unsaved, keeps the
// window, with the ports open again.

#include "TJednoMereni.h"
#include "TReport.h"
#include "WindowServices.h"

namespace lumidrax {

class ChartFileCommands;
class InstrumentLink;
class ReportCommands;

class UnsavedWorkGuard {
  public:
    UnsavedWorkGuard(const WindowServices& window, ChartFileCommands& files, ReportCommands& reports,
                     InstrumentLink& link)
        : window_(window), files_(files), reports_(reports), link_(link)
    {
    }

    // True when the window may close; the ports are closed then.
    bool Resolve();

  private:
    void SettleArrivals();
    // An unsaved chart or report arrived after these ids were read.
    bool UnsavedSince(ChartId chartMark, ReportId reportMark) const;

    WindowServices window_;
    ChartFileCommands& files_;
    ReportCommands& reports_;
    InstrumentLink& link_;
};

} // namespace lumidrax
