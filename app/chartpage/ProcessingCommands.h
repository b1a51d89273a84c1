#pragma once
// The commands that derive charts or change the reference chart's look: the
// filter menu ("Ref. Chart &Filter" and the pop-up of the "F" button, with
// "User..." asking for the window), "Average Value" and "Ref. Chart
// Color...". Each changes the collection, shows its messages through the
// dialogs and then notifies; the chart page follows from the notifier (a new
// chart comes out selected and becomes the reference).

#include "TJednoMereni.h"

#include <string>
#include <vector>

namespace lumidrax {

class ChartNotifier;
class IDialogs;
class TMereni;

class ProcessingCommands {
  public:
    ProcessingCommands(TMereni& charts, IDialogs& dialogs, ChartNotifier& notifier);

    // A filter item: its window, or kFilterAskWindow to ask with the input
    // box "Local Filter" / "Input Filter Range:" (text that is not an
    // integer: "Error: invalid number." and window 1). A window of 1 or less
    // makes nothing; above 100 is cut to 100. Returns the new chart's
    // number, 0 when nothing was made.
    int OnFilter(int window);
    // "Average Value" on the selected charts (list order; the first is the
    // template). Charts of different series are refused with message -11.
    // Returns the new chart's number, 0 when nothing was made.
    int mi_curves_averageClick(const std::vector<int>& selected);
    // "Ref. Chart Color...": the colour dialog on the reference chart's
    // colour; the chosen colour is painted, the colour slot stays. Returns
    // true when the colour changed.
    bool mi_tools_refcolorClick();

  private:
    // After a question: the chart that was the reference when the command
    // was given is the reference again (a chart that arrived meanwhile took
    // its place). False, with a message, when it was closed.
    bool BackToReference(ChartId refId);
    // The outcome of a command that adds a chart: its message, or the
    // notification of the new chart.
    int Finish(int result, const std::string& message);

    TMereni& charts_;
    IDialogs& dialogs_;
    ChartNotifier& notifier_;
};

} // namespace lumidrax
