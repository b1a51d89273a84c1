// The main window's chart list commands: show / hide / toggle, the list
// height and its splitter, editing descriptions (in place, or several at once
// in the editor) and the "Values" window.

#include "TFrm_main_Lumidrax32.h"

#include "ChartListPanel.h"
#include "ChartListPopup.h"
#include "ChartMenus.h"
#include "ChartPage.h"
#include "ChartViewPanel.h"
#include "DescriptionEditor.h"
#include "DescriptionField.h"
#include "MouseReleaseHook.h"
#include "ValuesWindow.h"

#include <QAction>
#include <QHeaderView>
#include <QListWidget>
#include <QSplitter>
#include <QStatusBar>

namespace lumidrax {

namespace {
constexpr int kNoticeTime = 15000; // ms
} // namespace

void TFrm_main_Lumidrax32::ConnectChartListCommands()
{
    ChartMenus& m = *chartMenus_;
    ChartListPanel* list = chartPage_->ListPanel();
    connect(m.mi_curves_show, &QAction::triggered, this, [this, list] {
        if (chartMenus_->mi_curves_show->isEnabled())
            list->ShowSelected();
    });
    connect(m.mi_curves_hide, &QAction::triggered, this, [this, list] {
        if (chartMenus_->mi_curves_hide->isEnabled())
            list->HideSelected();
    });
    connect(m.mi_tools_dishide, &QAction::triggered, this, [this, list] {
        if (chartMenus_->mi_tools_dishide->isEnabled())
            list->ToggleSelected();
    });
    // Why a chart is not drawn is told in the status bar, over its panels,
    // until the next message or for kNoticeTime.
    connect(list, &ChartListPanel::notice, this,
            [this](const QString& text) { statusBar()->showMessage(text, kNoticeTime); });
    connect(popupCurves_->mi_curves_select_all, &QAction::triggered, list, &ChartListPanel::SelectAllCharts);
    connect(list, &ChartListPanel::columnsResized, this, &TFrm_main_Lumidrax32::PlaceDescriptionField);
    connect(m.mi_incChartList, &QAction::triggered, this, &TFrm_main_Lumidrax32::mi_incChartListClick);
    connect(m.mi_decChartList, &QAction::triggered, this, &TFrm_main_Lumidrax32::mi_decChartListClick);
    connect(chartPage_->Splitter(), &QSplitter::splitterMoved, this, &TFrm_main_Lumidrax32::VSplitterMoved);
    // The reference colour marker of the reference information, when the
    // page has one.
    if (auto* marker = findChild<QWidget*>("sh_refcolor"))
        new MouseReleaseHook(marker, [this](Qt::MouseButton button, Qt::KeyboardModifiers modifiers) {
            sh_refcolorMouseUp(button, modifiers);
        });
    for (QAction* a :
         {m.mi_curves_show, m.mi_curves_hide, m.mi_tools_dishide, m.mi_incChartList, m.mi_decChartList})
        m.Unbuilt.removeAll(a);
}

void TFrm_main_Lumidrax32::mi_incChartListClick()
{
    if (settings_.ChartListMode == kListModeHidden)
        return;
    // The plot alone counts, without the X axis strip below it.
    StepListHeight(IncreaseListHeight(chartPage_->View()->Plot()->height(), chartPage_->ListHeight()),
                   chartMenus_->mi_incChartList, chartMenus_->mi_decChartList);
}

void TFrm_main_Lumidrax32::mi_decChartListClick()
{
    if (settings_.ChartListMode == kListModeHidden)
        return;
    StepListHeight(DecreaseListHeight(chartPage_->ListHeight()), chartMenus_->mi_decChartList,
                   chartMenus_->mi_incChartList);
}

void TFrm_main_Lumidrax32::StepListHeight(const ListHeightStep& step, QAction* command, QAction* opposite)
{
    if (!step.Changed) {
        command->setEnabled(false);
        return;
    }
    chartPage_->SetListHeight(step.Height);
    settings_.ChartListHeight = chartPage_->ListHeight();
    opposite->setEnabled(true);
}

void TFrm_main_Lumidrax32::VSplitterMoved()
{
    if (chartPage_->ListHeight() > 0)
        settings_.ChartListHeight = chartPage_->ListHeight();
}

void TFrm_main_Lumidrax32::PlaceDescriptionField()
{
    if (!e_description || !e_description->Editing())
        return;
    QListWidget* list = chartPage_->ChartList();
    if (editPosition_ < 0 || editPosition_ >= list->count())
        return;
    const QRect r = list->visualItemRect(list->item(editPosition_));
    const ChartListPanel* panel = chartPage_->ListPanel();
    e_description->setGeometry(ChartListColumns::kNameLeft + panel->NameWidth() + r.left(), r.top(),
                               panel->DescWidth(), r.height());
}

bool TFrm_main_Lumidrax32::sh_refcolorMouseUp(Qt::MouseButton button, Qt::KeyboardModifiers modifiers)
{
    const Qt::KeyboardModifiers both = Qt::ControlModifier | Qt::ShiftModifier;
    if (button != Qt::RightButton || (modifiers & both) != both)
        return false;
    if (charts_.RefIndex < 1 || charts_.RefIndex > charts_.Count)
        return false;
    ValuesWindow::ShowValues(this, charts_.Rec(charts_.RefIndex));
    return true;
}

void TFrm_main_Lumidrax32::mi_curves_edit_descClick()
{
    if (!chartMenus_->mi_curves_edit_desc->isEnabled())
        return;
    const std::vector<int> selected = chartPage_->SelectedCharts();
    if (selected.size() == 1)
        EditDescriptionInPlace(selected.front());
    else if (!selected.empty())
        EditSeveralDescriptions(selected);
}

void TFrm_main_Lumidrax32::EditDescriptionInPlace(int chart)
{
    QListWidget* list = chartPage_->ChartList();
    const int position = chartPage_->ListPanel()->RowOf(chart);
    if (position < 0)
        return;
    // A row outside the visible rows becomes the top row.
    const QListWidgetItem* topItem = list->itemAt(1, 1);
    const int top = topItem ? list->row(topItem) : 0;
    const InPlaceEditRow place =
        PlaceInPlaceEditor(position, top, list->viewport()->height() / kListItemHeight);
    if (place.TopRow != top)
        list->scrollToItem(list->item(place.TopRow), QAbstractItemView::PositionAtTop);
    const QRect r = list->visualItemRect(list->item(position));
    const ChartListPanel* panel = chartPage_->ListPanel();
    const QRect area(ChartListColumns::kNameLeft + panel->NameWidth() + r.left(), r.top(), panel->DescWidth(),
                     r.height());
    editPosition_ = position;
    e_description->Start(chart, area, QString::fromStdString(charts_.Rec(chart).Description));
}

void TFrm_main_Lumidrax32::EditSeveralDescriptions(const std::vector<int>& charts)
{
    Busy busy(*this);
    editingSeveral_ = true;
    chartPage_->ListPanel()
        ->UpdateCommandStates(); // both edit-description items off while the editor is open
    const ChartListColours colours = ChartListColours::FromPalette(chartPage_->View()->Colours());
    std::vector<ChartId> ids;
    for (int n : charts)
        ids.push_back(charts_.Rec(n).Id);
    const std::optional<QString> text = DescriptionEditor::EditDescription(
        this, QString::fromStdString(DescriptionEditorCaption(static_cast<int>(charts.size()))),
        QString::fromStdString(CommonDescription(charts_, charts)), colours.Background, colours.Text);
    editingSeveral_ = false;
    // The editor ran the event loop: the charts are looked up again.
    std::vector<int> still;
    for (ChartId id : ids)
        if (const int n = charts_.NumberOf(id))
            still.push_back(n);
    if (text)
        SetDescriptions(charts_, still, text->toStdString());
    emit notifier_->chartsChanged(ChartChange::Rows);
}

} // namespace lumidrax
