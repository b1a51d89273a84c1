#pragma once
// Puts a top-level window's frame (title bar and borders included) onto the
// available area of a screen. The window manager adds the frame only after
// the window is shown, so the window is fitted once now, with the frame it
// has (none before it is first shown), and once more when its frame becomes
// known, if the framed window then runs off the screen.

#include <QObject>
#include <QRect>

class QWidget;

namespace lumidrax {

class FrameFit : public QObject {
    Q_OBJECT
  public:
    // `wish`: the frame's top left corner and the client's size. The fitter
    // is owned by the window.
    static void Place(QWidget* window, const QRect& wish);
    // Place with the window's own position and size.
    static void KeepOnScreen(QWidget* window);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    FrameFit(QWidget* window, const QRect& wish);
    // Fits the window with its current frame; true when the frame is known.
    bool Fit();

    QWidget* window_;
    QRect wish_;
};

} // namespace lumidrax
