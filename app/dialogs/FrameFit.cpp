#include "FrameFit.h"

#include "WindowPlacement.h"

#include <QEvent>
#include <QWidget>

namespace lumidrax {

namespace {

QMargins FrameMargins(const QWidget* window)
{
    const QRect frame = window->frameGeometry();
    const QRect client = window->geometry();
    return QMargins(client.left() - frame.left(), client.top() - frame.top(), frame.right() - client.right(),
                    frame.bottom() - client.bottom());
}

} // namespace

FrameFit::FrameFit(QWidget* window, const QRect& wish) : QObject(window), window_(window), wish_(wish)
{
}

void FrameFit::Place(QWidget* window, const QRect& wish)
{
    // One fitter per window: a new wish replaces the one waiting.
    for (FrameFit* old : window->findChildren<FrameFit*>(Qt::FindDirectChildrenOnly))
        old->deleteLater();
    auto* fit = new FrameFit(window, wish);
    if (!fit->Fit())
        window->installEventFilter(fit);
    else
        fit->deleteLater();
}

void FrameFit::KeepOnScreen(QWidget* window)
{
    Place(window, QRect(window->frameGeometry().topLeft(), window->size()));
}

bool FrameFit::Fit()
{
    const QMargins frame = FrameMargins(window_);
    const FramePlacement placed = PlaceFrame(wish_, frame, AvailableScreenAreas());
    if (window_->size() != placed.Client.size())
        window_->resize(placed.Client.size());
    // move() places a window's frame.
    if (window_->frameGeometry().topLeft() != placed.Frame.topLeft())
        window_->move(placed.Frame.topLeft());
    return window_->isVisible() && !frame.isNull();
}

bool FrameFit::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == window_ &&
        (event->type() == QEvent::Move || event->type() == QEvent::Resize || event->type() == QEvent::Show)) {
        if (!FrameMargins(window_).isNull()) {
            window_->removeEventFilter(this);
            // The frame is known now: fit once more, then go.
            wish_ = QRect(window_->frameGeometry().topLeft(), window_->size());
            Fit();
            deleteLater();
        }
    }
    return QObject::eventFilter(watched, event);
}

} // namespace lumidrax
