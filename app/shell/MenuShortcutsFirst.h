#pragma once
// The shortcuts of the shown page's enabled menu items come before a focused
// control's own use of the key: a memo's word moves (Shift+Ctrl+Left) or a
// line edit's copy (Ctrl+C) would otherwise claim the key, and the menu
// command would not run. Only keys with Ctrl or Alt, or function keys, are
// taken from the control, so typing always reaches it; a line being typed
// into keeps all its keys.

#include <QObject>

#include <functional>

class QKeyEvent;
class QMenuBar;
class QWidget;

namespace lumidrax {

class MenuShortcutsFirst : public QObject {
    Q_OBJECT
  public:
    // `currentMenu` gives the menu bar of the page shown now.
    MenuShortcutsFirst(QWidget* window, std::function<QMenuBar*()> currentMenu);
    ~MenuShortcutsFirst() override;

    // Whether an enabled item of the menu bar has this key as a shortcut
    // that a control must not claim.
    static bool MenuTakesKey(QMenuBar* menu, const QKeyEvent& key);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QWidget* window_;
    std::function<QMenuBar*()> currentMenu_;
};

} // namespace lumidrax
