#pragma once
// The zoom tool and the mouse's view commands on the plot: zoom mode
// (switched by the right button), the rubber band, click zoom, Shift+drag
// pan and the wheel. It watches the plot's mouse events (an event filter)
// and takes those that are its own, so that in zoom mode the mouse neither
// moves the active cursor nor sets the reference; the rest reach the plot.
// The view window itself is changed by the operations of ZoomShift.h.
//
//   auto* tool = new PlotZoomTool(plot, &charts);
//   connect(tool, &PlotZoomTool::viewChanged, ...);      // notify viewChanged
//   connect(tool, &PlotZoomTool::zoomModeChanged, ...);  // zoom controls

#include "ZoomShift.h"

#include <QObject>
#include <QPoint>

class QMouseEvent;
class QWheelEvent;
class QWidget;

namespace lumidrax {

class PlotWidget;

class PlotZoomTool : public QObject {
    Q_OBJECT
  public:
    PlotZoomTool(PlotWidget* plot, TMereni* charts);

    bool ZoomMode() const { return zoomMode_; }
    // Switches zoom mode and the plot's cursor (zoom-in cursor or the
    // crosshair); a band being drawn is dropped. Emits zoomModeChanged when
    // the mode changes.
    void SetZoomMode(bool on);
    // Ctrl held in zoom mode shows the zoom-out cursor; released, the
    // zoom-in cursor again. Nothing outside zoom mode.
    void SetZoomOutCursor(bool on);
    // Zooms at a screen (global) point over the plot; false when the point
    // is not over the plot or nothing is displayed.
    bool ZoomAtScreenPoint(QPoint global, int direction);

    // The rubber band in plot pixels while the left button draws one.
    bool BandShown() const { return bandShown_; }
    QPoint BandAnchor() const { return anchor_; }
    QPoint BandCorner() const { return corner_; }
    bool Panning() const { return panning_; }

  signals:
    // The tool changed the view window (wheel, click, band, pan).
    void viewChanged();
    void zoomModeChanged(bool on);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    ViewTransform View() const;
    bool MousePress(QMouseEvent* e);
    bool MouseMove(QMouseEvent* e);
    bool MouseRelease(QMouseEvent* e);
    bool Wheel(QWheelEvent* e);
    void ShowBand(bool on);
    void ApplyCursor(bool zoomOut);

    PlotWidget* plot_;
    TMereni* charts_;
    QWidget* overlay_;
    bool zoomMode_ = false;
    bool bandShown_ = false;
    bool panning_ = false;
    QPoint anchor_;
    QPoint corner_;
    long double panX_ = 0;
    long double panY_ = 0;
};

} // namespace lumidrax
