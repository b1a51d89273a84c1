#include "ChartKeys.h"

#include "ChartListLogic.h"
#include "ChartListPanel.h"
#include "ChartMenus.h"
#include "ChartNotifier.h"
#include "ChartPage.h"
#include "CursorStep.h"
#include "CursorTracking.h"
#include "PlotZoomTool.h"
#include "ZoomCommands.h"

#include <QAction>
#include <QApplication>
#include <QCursor>
#include <QKeyEvent>
#include <QListWidget>
#include <QMenu>
#include <QToolBar>
#include <QWidget>

namespace lumidrax {

namespace {

// The keys that stand for a menu item. Some run the item only while the menu
// has it enabled.
struct MenuKey {
    ChartKeyCommand Command;
    QAction* ChartMenus::*Item;
    bool OnlyWhileEnabled;
};

constexpr MenuKey kMenuKeys[] = {
    {ChartKeyCommand::DisplayHide, &ChartMenus::mi_tools_dishide, false},
    {ChartKeyCommand::EditDescription, &ChartMenus::mi_curves_edit_desc, true},
    {ChartKeyCommand::SaveZoom, &ChartMenus::mi_zoom_remember, true},
    {ChartKeyCommand::RefInfo, &ChartMenus::mi_panels_refinfo, false},
    {ChartKeyCommand::ZoomAll, &ChartMenus::mi_zoom_all, false},
    {ChartKeyCommand::PreviousZoom, &ChartMenus::mi_zoom_prev, true},
    {ChartKeyCommand::NextZoom, &ChartMenus::mi_zoom_next, true},
    {ChartKeyCommand::RefColor, &ChartMenus::mi_tools_refcolor, true},
    {ChartKeyCommand::CloseSelected, &ChartMenus::mi_file_close_selected, false},
};

} // namespace

ChartKeys::ChartKeys(ChartKeysContext context) : QObject(context.Services.Window), c_(std::move(context))
{
    qApp->installEventFilter(this);
}

ChartKeys::~ChartKeys()
{
    qApp->removeEventFilter(this);
}

bool ChartKeys::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    if (type != QEvent::KeyPress && type != QEvent::KeyRelease)
        return false;
    auto* widget = qobject_cast<QWidget*>(watched);
    if (widget == nullptr || widget->window() != c_.Services.Window ||
        QApplication::activePopupWidget() != nullptr || QApplication::activeModalWidget() != nullptr ||
        (c_.Previewing && !c_.Previewing()))
        return false;
    auto* key = static_cast<QKeyEvent*>(event);
    if (type == QEvent::KeyRelease) {
        if (!key->isAutoRepeat())
            FormKeyUp(key->key());
        return false;
    }
    const bool hasText = !key->text().isEmpty() && key->text().front().isPrint();
    return FormKeyDown(key->key(), key->modifiers(), hasText);
}

bool ChartKeys::FormKeyDown(int key, Qt::KeyboardModifiers modifiers, bool hasText)
{
    const ChartKeyCommand command = MapChartKey(key, modifiers, hasText);
    if (command == ChartKeyCommand::PassOn)
        return false;
    try {
        Run(command);
    } catch (...) {
        // A failing command leaves the key to the control.
        return false;
    }
    // Modifier keys alone go on (the menu bar watches Alt).
    return key != Qt::Key_Control && key != Qt::Key_Shift && key != Qt::Key_Alt && key != Qt::Key_Meta &&
           key != Qt::Key_AltGr;
}

void ChartKeys::FormKeyUp(int key)
{
    if (IsZoomCursorRelease(key) && c_.Zoom->ZoomMode())
        c_.Zoom->Tool()->SetZoomOutCursor(false);
}

void ChartKeys::PopUpFilterMenu()
{
    ChartMenus& m = *c_.Menus;
    if (!m.sb_filter->isEnabled() || m.sb_filter->menu() == nullptr)
        return;
    QWidget* button = m.ToolBar->widgetForAction(m.sb_filter);
    const QPoint at = button ? button->mapToGlobal(button->rect().bottomLeft()) : QCursor::pos();
    m.sb_filter->menu()->popup(at);
}

void ChartKeys::Run(ChartKeyCommand command)
{
    using C = ChartKeyCommand;
    ChartMenus& m = *c_.Menus;
    TMereni& charts = *c_.Services.Charts;
    const bool zoomMode = c_.Zoom->ZoomMode();
    for (const MenuKey& k : kMenuKeys)
        if (k.Command == command) {
            QAction* item = m.*k.Item;
            if (!k.OnlyWhileEnabled || item->isEnabled())
                item->trigger();
            return;
        }
    switch (command) {
    case C::None:
    case C::PassOn:
    // The menu keys, run above from kMenuKeys.
    case C::DisplayHide:
    case C::EditDescription:
    case C::SaveZoom:
    case C::RefInfo:
    case C::ZoomAll:
    case C::PreviousZoom:
    case C::NextZoom:
    case C::RefColor:
    case C::CloseSelected:
        return;
    case C::ZoomInAtPointer:
    case C::ZoomOutAtPointer:
        if (charts.ShownCount > 0)
            c_.Zoom->ZoomAtScreenPoint(QCursor::pos(), command == C::ZoomInAtPointer ? 1 : -1);
        return;
    case C::ZoomOutCursor:
        if (zoomMode)
            c_.Zoom->Tool()->SetZoomOutCursor(true);
        return;
    case C::LocalFilter:
        PopUpFilterMenu();
        return;
    case C::CycleListMode:
        CycleListMode();
        return;
    case C::CycleLineWidth:
        CycleLineWidth();
        return;
    case C::NextDisplayedAlt:
    case C::PreviousDisplayedAlt:
        if (charts.ShownCount > 0 && charts.ActiveIndex > 0 && !zoomMode)
            SwitchDisplayedAlt(command == C::NextDisplayedAlt);
        return;
    case C::SelectPreviousItem:
    case C::SelectNextItem:
        SelectNeighbourItem(command == C::SelectNextItem);
        return;
    case C::SetReference:
        SetReferenceFromCursor();
        return;
    case C::CursorLeft:
    case C::CursorRight:
        StepCursor(command == C::CursorLeft ? -1 : 1);
        return;
    case C::LeaveZoomMode:
        if (zoomMode)
            c_.Zoom->SetZoomMode(false);
        return;
    case C::NextChart:
    case C::PreviousChart:
        if (!zoomMode)
            SwitchChart(command == C::NextChart);
        return;
    case C::PageUp:
    case C::PageDown:
        PageList(command == C::PageUp);
        return;
    case C::ToggleSelection:
        ToggleCurrentSelection();
        return;
    }
}

void ChartKeys::StepCursor(int delta)
{
    const CursorStepResult r = StepActiveCursor(*c_.Services.Charts, delta);
    if (r.ViewChanged)
        emit c_.Services.Notifier->viewChanged();
    emit c_.Services.Notifier->activeChanged();
}

void ChartKeys::SwitchChart(bool next)
{
    TMereni& charts = *c_.Services.Charts;
    ChartListPanel* list = c_.Page->ListPanel();
    if (list->ListMode() == kListModeDisplayed) {
        const CursorListFollow f = next ? SelectNextDisplayed(charts) : SelectPreviousDisplayed(charts);
        if (f.ListChart > 0)
            list->FollowChart(f.ListChart);
    } else {
        std::vector<int> rows;
        rows.reserve(static_cast<std::size_t>(list->ItemCount()));
        for (int row = 0; row < list->ItemCount(); ++row)
            rows.push_back(list->ChartAt(row));
        const int current = list->List()->currentRow();
        const int row =
            next ? SelectNextListed(charts, rows, current) : SelectPreviousListed(charts, rows, current);
        if (row != current)
            list->FollowChart(list->ChartAt(row));
    }
    emit c_.Services.Notifier->activeChanged();
}

void ChartKeys::SwitchDisplayedAlt(bool next)
{
    TMereni& charts = *c_.Services.Charts;
    ChartListPanel* list = c_.Page->ListPanel();
    const CursorListFollow f = next ? SelectNextDisplayed(charts) : SelectPreviousDisplayed(charts);
    if (f.ListChart > 0)
        list->FollowChart(f.ListChart);
    emit c_.Services.Notifier->activeChanged();
    list->SyncFromList();
}

void ChartKeys::SelectNeighbourItem(bool next)
{
    ChartListPanel* list = c_.Page->ListPanel();
    const int current = list->List()->currentRow();
    const int row = next ? current + 1 : current - 1;
    if (current < 0 || row < 0 || row >= list->ItemCount())
        return;
    const int chart = list->ChartAt(row);
    list->SelectCharts({chart}, chart);
}

void ChartKeys::PageList(bool up)
{
    ChartListPanel* list = c_.Page->ListPanel();
    QListWidget* l = list->List();
    const int row =
        ListPageTarget(l->currentRow(), list->ItemCount(), l->viewport()->height(), kListItemHeight, up);
    if (row < 0)
        return;
    list->FollowChart(list->ChartAt(row));
    l->scrollToItem(l->item(row));
    list->SyncFromList();
}

void ChartKeys::ToggleCurrentSelection()
{
    QListWidget* l = c_.Page->ListPanel()->List();
    if (QListWidgetItem* item = l->currentItem())
        item->setSelected(!item->isSelected()); // the selection change resynchronises
}

void ChartKeys::SetReferenceFromCursor()
{
    TMereni& charts = *c_.Services.Charts;
    ChartListPanel* list = c_.Page->ListPanel();
    if (charts.ShownCount < 1) {
        list->SelectOnly(charts.ActiveIndex);
        return;
    }
    if (c_.Zoom->ZoomMode())
        return;
    if (charts.ActiveIndex > 0) {
        // As a left click on the plot.
        SetReferenceFromActive(charts);
        emit c_.Services.Notifier->referenceChanged(true);
        return;
    }
    charts.RefIndex = 0;
    charts.RefCursor = 0;
    list->RefillChartList();
    list->SyncFromList();
}

void ChartKeys::CycleListMode()
{
    if (c_.SetListMode)
        c_.SetListMode((c_.Page->ListPanel()->ListMode() + 1) % 3);
}

void ChartKeys::CycleLineWidth()
{
    if (c_.SetLineWidth)
        c_.SetLineWidth((c_.Services.Charts->LineWidth + 2) % 6);
}

} // namespace lumidrax
