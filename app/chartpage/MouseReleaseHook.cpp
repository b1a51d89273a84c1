#include "MouseReleaseHook.h"

#include <QMouseEvent>
#include <QWidget>

namespace lumidrax {

MouseReleaseHook::MouseReleaseHook(QWidget* target, Handler handler)
    : QObject(target), handler_(std::move(handler))
{
    target->installEventFilter(this);
}

bool MouseReleaseHook::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonRelease) {
        const auto* e = static_cast<QMouseEvent*>(event);
        handler_(e->button(), e->modifiers());
    }
    return QObject::eventFilter(watched, event);
}

} // namespace lumidrax
