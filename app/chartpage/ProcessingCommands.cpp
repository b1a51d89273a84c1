#include "ProcessingCommands.h"

#include "ChartMenus.h"
#include "ChartNotifier.h"
#include "ChartProcessing.h"
#include "CollectionRules.h"
#include "IDialogs.h"
#include "MessageCatalogue.h"
#include "PlotRules.h"
#include "TMereni.h"

#include <string>

namespace lumidrax {

namespace {

constexpr const char* kFilterCaption = "Local Filter";
constexpr const char* kFilterPrompt = "Input Filter Range:";
constexpr const char* kFilterDefault = "2";

} // namespace

ProcessingCommands::ProcessingCommands(TMereni& charts, IDialogs& dialogs, ChartNotifier& notifier)
    : charts_(charts), dialogs_(dialogs), notifier_(notifier)
{
}

int ProcessingCommands::OnFilter(int window)
{
    // The chart to filter is the reference when the command is given; a
    // chart that arrives while the window size is asked becomes the
    // reference, so the reference is named by its id.
    const ChartId refId = IsChart(charts_, charts_.RefIndex) ? charts_.Rec(charts_.RefIndex).Id : 0;
    if (window == kFilterAskWindow) {
        const std::optional<std::string> text =
            dialogs_.InputBox(kFilterCaption, kFilterPrompt, kFilterDefault);
        if (!text)
            return 0;
        const FilterWindow asked = ParseFilterWindow(*text);
        if (!asked.valid)
            dialogs_.ShowMessageBox(kErrorCaption, kInvalidNumberText);
        window = asked.valid ? asked.window : 1;
        if (window > 1 && !BackToReference(refId))
            return 0;
    }
    if (window <= 1)
        return 0;
    const CommandOutcome out = RunFilterCommand(charts_, window);
    return Finish(out.result, out.message);
}

int ProcessingCommands::mi_curves_averageClick(const std::vector<int>& selected)
{
    std::vector<int> charts;
    for (int k : selected)
        if (IsChart(charts_, k))
            charts.push_back(k);
    const CommandOutcome out = RunAverageCommand(charts_, charts);
    return Finish(out.result, out.message);
}

bool ProcessingCommands::mi_tools_refcolorClick()
{
    if (!IsChart(charts_, charts_.RefIndex))
        return false;
    const ChartId refId = charts_.Rec(charts_.RefIndex).Id;
    const std::optional<std::uint32_t> chosen = dialogs_.ChooseColor(charts_.Rec(charts_.RefIndex).Color);
    if (!chosen || !BackToReference(refId) || !SetReferenceColor(charts_, *chosen))
        return false;
    // The curve, the list's colour mark and the read-out markers follow.
    emit notifier_.chartsChanged(ChartChange::Colours | ChartChange::Rows);
    return true;
}

bool ProcessingCommands::BackToReference(ChartId refId)
{
    const int ref = charts_.NumberOf(refId);
    if (ref == 0) {
        dialogs_.ShowMessageBox(kErrorCaption,
                                "Error: the reference chart was closed while the question was open.");
        return false;
    }
    if (ref != charts_.RefIndex) {
        charts_.SetReference(ref);
        emit notifier_.referenceChanged(false);
    }
    return true;
}

int ProcessingCommands::Finish(int result, const std::string& message)
{
    if (!message.empty())
        dialogs_.ShowMessageBox(kErrorCaption, message);
    if (result <= 0)
        return 0;
    emit notifier_.chartsAdded();
    return result;
}

} // namespace lumidrax
