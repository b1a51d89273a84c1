#pragma once
// Hands every mouse button release on one widget to a function, without
// subclassing the widget (the reference colour marker opens the "Values"
// window this way).

#include <QObject>

#include <functional>

class QMouseEvent;
class QWidget;

namespace lumidrax {

class MouseReleaseHook : public QObject {
    Q_OBJECT
  public:
    using Handler = std::function<void(Qt::MouseButton, Qt::KeyboardModifiers)>;
    // Watches `target` (and is owned by it).
    MouseReleaseHook(QWidget* target, Handler handler);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    Handler handler_;
};

} // namespace lumidrax
