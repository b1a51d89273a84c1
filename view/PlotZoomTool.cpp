#include "PlotZoomTool.h"

#include "PlotWidget.h"
#include "ZoomCursors.h"

#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>
#include <QWidget>

namespace lumidrax {

namespace {

// The rubber band: a green dotted frame, no fill.
const QColor kBandColour(0, 128, 0);

// A transparent layer over the plot that paints the rubber band; the plot
// below repaints its part from the curve cache.
class BandOverlay : public QWidget {
  public:
    BandOverlay(QWidget* plot, const PlotZoomTool& tool) : QWidget(plot), tool_(tool)
    {
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setAttribute(Qt::WA_NoSystemBackground);
        setObjectName(QStringLiteral("ZoomBand"));
    }
    static QRect Frame(QPoint a, QPoint b) { return QRect(a, b).normalized(); }

  protected:
    void paintEvent(QPaintEvent*) override
    {
        if (!tool_.BandShown())
            return;
        QPainter p(this);
        p.setPen(QPen(kBandColour, 1, Qt::DotLine));
        p.setBrush(Qt::NoBrush);
        p.drawRect(Frame(tool_.BandAnchor(), tool_.BandCorner()));
    }

  private:
    const PlotZoomTool& tool_;
};

QRect BandRepaintRect(QPoint a, QPoint b)
{
    return BandOverlay::Frame(a, b).adjusted(-1, -1, 2, 2);
}

} // namespace

PlotZoomTool::PlotZoomTool(PlotWidget* plot, TMereni* charts)
    : QObject(plot), plot_(plot), charts_(charts), overlay_(new BandOverlay(plot, *this))
{
    overlay_->setGeometry(plot->rect());
    overlay_->hide();
    plot->installEventFilter(this);
}

ViewTransform PlotZoomTool::View() const
{
    ViewTransform v(*charts_, plot_->width(), plot_->height());
    v.UpdateScales(charts_->ShownCount, plot_->window() != nullptr && plot_->window()->isMinimized());
    return v;
}

void PlotZoomTool::SetZoomMode(bool on)
{
    ShowBand(false);
    const bool changed = zoomMode_ != on;
    zoomMode_ = on;
    ApplyCursor(false);
    if (changed)
        emit zoomModeChanged(on);
}

void PlotZoomTool::ApplyCursor(bool zoomOut)
{
    if (panning_)
        return;
    if (!zoomMode_)
        plot_->setCursor(Qt::CrossCursor);
    else
        plot_->setCursor(ZoomCursor(zoomOut ? ZoomCursorKind::ZoomOut : ZoomCursorKind::ZoomIn));
}

void PlotZoomTool::SetZoomOutCursor(bool on)
{
    if (zoomMode_)
        ApplyCursor(on);
}

bool PlotZoomTool::ZoomAtScreenPoint(QPoint global, int direction)
{
    if (charts_->ShownCount < 1)
        return false;
    const QPoint p = plot_->mapFromGlobal(global);
    if (!ZoomAtPoint(*charts_, View(), p.x(), p.y(), direction))
        return false;
    emit viewChanged();
    return true;
}

void PlotZoomTool::ShowBand(bool on)
{
    if (bandShown_ == on)
        return;
    bandShown_ = on;
    overlay_->setGeometry(plot_->rect());
    overlay_->setVisible(on);
    if (on)
        overlay_->raise();
    overlay_->update(BandRepaintRect(anchor_, corner_));
}

bool PlotZoomTool::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != plot_)
        return false;
    switch (event->type()) {
    case QEvent::MouseButtonPress:
        return MousePress(static_cast<QMouseEvent*>(event));
    case QEvent::MouseMove:
        return MouseMove(static_cast<QMouseEvent*>(event));
    case QEvent::MouseButtonRelease:
        return MouseRelease(static_cast<QMouseEvent*>(event));
    case QEvent::Wheel:
        return Wheel(static_cast<QWheelEvent*>(event));
    case QEvent::Resize:
        overlay_->setGeometry(plot_->rect());
        return false;
    default:
        return false;
    }
}

bool PlotZoomTool::MousePress(QMouseEvent* e)
{
    const QPoint p = e->position().toPoint();
    if (e->button() == Qt::LeftButton && (e->modifiers() & Qt::ShiftModifier)) {
        const ViewTransform v = View();
        panX_ = v.PixelToValue(p.x(), Axis::X);
        panY_ = v.PixelToValue(p.y(), Axis::Y);
        panning_ = v.HasScales();
        if (panning_)
            plot_->setCursor(Qt::SizeAllCursor);
    } else {
        anchor_ = corner_ = p;
    }
    // In zoom mode the press belongs to the tool (no reference is set).
    return zoomMode_;
}

bool PlotZoomTool::MouseMove(QMouseEvent* e)
{
    const QPoint p = e->position().toPoint();
    const bool shiftLeft = (e->buttons() & Qt::LeftButton) && (e->modifiers() & Qt::ShiftModifier);
    if (shiftLeft) {
        if (panning_ && charts_->ShownCount > 0) {
            PanView(*charts_, View(), panX_, panY_, p.x(), p.y());
            emit viewChanged();
        }
        return true;
    }
    if (!zoomMode_)
        return false;
    const bool ctrl = e->modifiers() & Qt::ControlModifier;
    ApplyCursor(ctrl);
    if (ctrl)
        return true;
    if (e->buttons() & Qt::LeftButton) {
        const QRect old = BandRepaintRect(anchor_, corner_);
        corner_ = p;
        if (!bandShown_)
            ShowBand(true);
        overlay_->update(old | BandRepaintRect(anchor_, corner_));
    }
    return true;
}

bool PlotZoomTool::MouseRelease(QMouseEvent* e)
{
    const bool endedPan = panning_;
    if (e->modifiers() & Qt::ShiftModifier || panning_) {
        panning_ = false;
        ApplyCursor(false);
    }
    // A release that ends a pan does not zoom as well.
    if (charts_->ShownCount < 1 || (endedPan && zoomMode_))
        return zoomMode_;
    const QPoint p = e->position().toPoint();
    if (!zoomMode_) {
        if (e->button() != Qt::RightButton)
            return false;
        SetZoomMode(true);
        return true;
    }
    if (e->button() == Qt::RightButton) {
        SetZoomMode(false);
        return true;
    }
    if (e->button() != Qt::LeftButton)
        return true;
    ShowBand(false);
    bool changed = false;
    if (e->modifiers() & Qt::ControlModifier)
        changed = ZoomAtPoint(*charts_, View(), p.x(), p.y(), -1);
    else if (IsClickZoom(anchor_, corner_))
        changed = ZoomAtPoint(*charts_, View(), p.x(), p.y(), 1);
    else {
        const ViewTransform v = View();
        if (v.HasScales()) {
            ZoomToBand(*charts_, v, anchor_, corner_);
            changed = true;
        }
    }
    if (changed)
        emit viewChanged();
    return true;
}

bool PlotZoomTool::Wheel(QWheelEvent* e)
{
    const int delta = e->angleDelta().y();
    const int direction = delta > 0 ? 1 : (delta < 0 ? -1 : 0);
    if (charts_->ShownCount < 1 || direction == 0)
        return false;
    const QPoint p = e->position().toPoint();
    if (!ZoomAtPoint(*charts_, View(), p.x(), p.y(), direction))
        return false;
    e->accept();
    emit viewChanged();
    return true;
}

} // namespace lumidrax
