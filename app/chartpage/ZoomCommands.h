#pragma once
// The Zoom and Shift commands of the chart page: the zoom memory with its
// label lbl_zoompos, previous / next / save / all / clear, the zoom tool
// (button, right button, band, click, wheel, pan on the plot) and the four
// shift commands, and the enabled state of them all (UpdateZoomControls,
// UpdateShiftControls). Every view change is announced through the
// notifier's viewChanged.

#include "ChartNotifier.h"
#include "TMereni.h"
#include "ZoomMemory.h"

#include <QObject>
#include <QPoint>

namespace lumidrax {

class ChartMenus;
class PlotWidget;
class PlotZoomTool;

class ZoomCommands : public QObject {
    Q_OBJECT
  public:
    // Wires the zoom and shift actions of `menus` and the plot's mouse; the
    // commands leave the menus' Unbuilt list.
    ZoomCommands(ChartMenus& menus, PlotWidget* plot, TMereni& charts, ChartNotifier& notifier,
                 QObject* parent = nullptr);

    void mi_zoom_doClick();
    void mi_zoom_prevClick();
    void mi_zoom_nextClick();
    void mi_zoom_rememberClick();
    void mi_zoom_allClick();
    void mi_zoom_clearClick();
    // The shift commands; `direction` is the action's data minus kShiftTagBase.
    void OnShift(int direction);

    void UpdateZoomControls();
    void UpdateShiftControls();

    bool ZoomMode() const;
    void SetZoomMode(bool on);
    // Zoom at the mouse pointer (Ctrl + Numpad + / -).
    bool ZoomAtScreenPoint(QPoint global, int direction);
    const ZoomMemory& Memory() const { return memory_; }
    // The active cursor jumps to sample k of the active chart and is brought
    // into view; the view before the jump and, when it moved, the view after
    // it are saved in the zoom memory (Previous Zoom returns).
    void JumpActiveCursor(int k);
    PlotZoomTool* Tool() const { return tool_; }

  private:
    // Every command that changes the view ends here.
    void ViewChanged();
    // Previous / Next Zoom: the remembered view, when there is one.
    void ShowRemembered(const std::optional<ViewWindow>& view);

    ChartMenus& menus_;
    TMereni& charts_;
    ChartNotifier& notifier_;
    PlotZoomTool* tool_;
    ZoomMemory memory_;
};

} // namespace lumidrax
