#include "ZoomCommands.h"

#include "CursorStep.h"

#include "ChartMenus.h"
#include "MouseReleaseHook.h"
#include "PlotWidget.h"
#include "PlotZoomTool.h"

#include <QAction>
#include <QLabel>
#include <QToolBar>
#include <QToolButton>

namespace lumidrax {

ZoomCommands::ZoomCommands(ChartMenus& menus, PlotWidget* plot, TMereni& charts, ChartNotifier& notifier,
                           QObject* parent)
    : QObject(parent), menus_(menus), charts_(charts), notifier_(notifier),
      tool_(new PlotZoomTool(plot, &charts))
{
    ChartMenus& m = menus_;
    connect(m.mi_zoom_do, &QAction::triggered, this, &ZoomCommands::mi_zoom_doClick);
    connect(m.mi_zoom_prev, &QAction::triggered, this, &ZoomCommands::mi_zoom_prevClick);
    connect(m.mi_zoom_next, &QAction::triggered, this, &ZoomCommands::mi_zoom_nextClick);
    connect(m.mi_zoom_remember, &QAction::triggered, this, &ZoomCommands::mi_zoom_rememberClick);
    connect(m.mi_zoom_all, &QAction::triggered, this, &ZoomCommands::mi_zoom_allClick);
    connect(m.mi_zoom_clear, &QAction::triggered, this, &ZoomCommands::mi_zoom_clearClick);
    for (QAction* a : m.mi_shift)
        connect(a, &QAction::triggered, this, [this, a] { OnShift(a->data().toInt() - kShiftTagBase); });
    // Clicking the label saves the view, as "Save Actual Zoom" does.
    new MouseReleaseHook(m.lbl_zoompos, [this](Qt::MouseButton button, Qt::KeyboardModifiers) {
        if (button == Qt::LeftButton && menus_.lbl_zoompos->isEnabled())
            menus_.mi_zoom_remember->trigger();
    });
    connect(tool_, &PlotZoomTool::viewChanged, this, &ZoomCommands::ViewChanged);
    connect(tool_, &PlotZoomTool::zoomModeChanged, this, &ZoomCommands::UpdateZoomControls);

    // The enabled states follow whatever changes the drawn charts or the view.
    for (auto signal : {&ChartNotifier::chartsAdded, &ChartNotifier::viewChanged})
        connect(&notifier_, signal, this, &ZoomCommands::UpdateZoomControls);
    connect(&notifier_, &ChartNotifier::chartsChanged, this, [this](ChartChanges what) {
        if (what & ChartChange::Visibility)
            UpdateZoomControls();
    });
    connect(&notifier_, &ChartNotifier::chartsRemoved, this, [this] {
        // With no chart left the zoom tool is off.
        if (charts_.Count == 0)
            tool_->SetZoomMode(false);
        UpdateZoomControls();
    });

    for (QAction* a : {m.mi_zoom_do, m.mi_zoom_prev, m.mi_zoom_next, m.mi_zoom_remember, m.mi_zoom_all,
                       m.mi_zoom_clear, m.mi_shift[0], m.mi_shift[1], m.mi_shift[2], m.mi_shift[3]})
        m.Unbuilt.removeAll(a);
    m.mi_zoom_all->setEnabled(true);
    m.mi_zoom_clear->setEnabled(true);
    UpdateZoomControls();
}

bool ZoomCommands::ZoomMode() const
{
    return tool_->ZoomMode();
}

void ZoomCommands::SetZoomMode(bool on)
{
    tool_->SetZoomMode(on);
    UpdateZoomControls();
}

bool ZoomCommands::ZoomAtScreenPoint(QPoint global, int direction)
{
    return tool_->ZoomAtScreenPoint(global, direction);
}

void ZoomCommands::ViewChanged()
{
    emit notifier_.viewChanged();
}

void ZoomCommands::JumpActiveCursor(int k)
{
    if (charts_.ShownCount < 1)
        return;
    memory_.Save(ViewOf(charts_));
    const CursorStepResult r = PlaceActiveCursor(charts_, k);
    if (r.ViewChanged) {
        memory_.Save(ViewOf(charts_));
        tool_->SetZoomMode(false);
        ViewChanged();
    }
    emit notifier_.activeChanged();
    UpdateZoomControls();
}

void ZoomCommands::mi_zoom_doClick()
{
    SetZoomMode(!ZoomMode());
}

void ZoomCommands::mi_zoom_prevClick()
{
    ShowRemembered(memory_.Previous());
}

void ZoomCommands::mi_zoom_nextClick()
{
    ShowRemembered(memory_.Next());
}

void ZoomCommands::ShowRemembered(const std::optional<ViewWindow>& view)
{
    if (view) {
        SetView(charts_, *view);
        tool_->SetZoomMode(false);
        ViewChanged();
    }
    UpdateZoomControls();
}

void ZoomCommands::mi_zoom_rememberClick()
{
    if (charts_.ShownCount < 1)
        return;
    memory_.Save(ViewOf(charts_));
    UpdateZoomControls();
}

void ZoomCommands::mi_zoom_allClick()
{
    ZoomAll(charts_);
    tool_->SetZoomMode(false);
    ViewChanged();
    UpdateZoomControls();
}

void ZoomCommands::mi_zoom_clearClick()
{
    memory_.Clear();
    UpdateZoomControls();
}

void ZoomCommands::OnShift(int direction)
{
    if (direction < 0 || direction > 3)
        return;
    const auto d = static_cast<ShiftDirection>(direction);
    // The command runs only while it can move the view (its state says so).
    if (!CanShift(charts_, d))
        return;
    ShiftView(charts_, d);
    ViewChanged();
    UpdateShiftControls();
}

void ZoomCommands::UpdateZoomControls()
{
    ChartMenus& m = menus_;
    const bool shown = charts_.ShownCount > 0;
    m.lbl_zoompos->setText(QString::fromStdString(memory_.Label()));
    m.mi_zoom_do->setEnabled(shown);
    m.mi_zoom_remember->setEnabled(shown);
    m.lbl_zoompos->setEnabled(shown);
    m.mi_zoom_all->setEnabled(true);
    m.mi_zoom_prev->setEnabled(shown && memory_.CanPrevious());
    m.mi_zoom_next->setEnabled(shown && memory_.CanNext());
    // The zoom button shows the mode pressed; the others are never left down.
    m.mi_zoom_do->setChecked(ZoomMode());
    UpdateShiftControls();
}

void ZoomCommands::UpdateShiftControls()
{
    const std::array<bool, 4> states = ShiftStates(charts_);
    for (std::size_t k = 0; k < states.size(); ++k)
        menus_.mi_shift[k]->setEnabled(states[k]);
}

} // namespace lumidrax
