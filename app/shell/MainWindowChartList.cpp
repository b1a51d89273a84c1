// The main window's chart list commands: show / hide / toggle, the list
// height and its splitter, the in-place description field's place and the
// "Values" window.

#include "TFrm_main_Lumidrax32.h"

#include "ChartListPanel.h"
#include "ChartListPopup.h"
#include "ChartMenus.h"
#include "ChartPage.h"
#include "ChartViewPanel.h"
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
    const ListHeightStep step =
        IncreaseListHeight(chartPage_->View()->Plot()->height(), chartPage_->ListHeight());
    if (!step.Changed) {
        chartMenus_->mi_incChartList->setEnabled(false);
        return;
    }
    chartPage_->SetListHeight(step.Height);
    settings_.ChartListHeight = chartPage_->ListHeight();
    chartMenus_->mi_decChartList->setEnabled(true);
}

void TFrm_main_Lumidrax32::mi_decChartListClick()
{
    if (settings_.ChartListMode == kListModeHidden)
        return;
    const ListHeightStep step = DecreaseListHeight(chartPage_->ListHeight());
    if (!step.Changed) {
        chartMenus_->mi_decChartList->setEnabled(false);
        return;
    }
    chartPage_->SetListHeight(step.Height);
    settings_.ChartListHeight = chartPage_->ListHeight();
    chartMenus_->mi_incChartList->setEnabled(true);
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

} // namespace lumidrax
