#include "MenuShortcutsFirst.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>

namespace lumidrax {
namespace {

bool Claimable(const QKeyEvent& key)
{
    const Qt::KeyboardModifiers m = key.modifiers();
    return (m & (Qt::ControlModifier | Qt::AltModifier)) ||
           (key.key() >= Qt::Key_F1 && key.key() <= Qt::Key_F35);
}

bool AnyItemTakes(const QList<QAction*>& actions, const QKeySequence& sequence)
{
    for (QAction* a : actions) {
        if (!a->isEnabled())
            continue;
        if (a->shortcuts().contains(sequence))
            return true;
        if (QMenu* sub = a->menu(); sub && AnyItemTakes(sub->actions(), sequence))
            return true;
    }
    return false;
}

} // namespace

MenuShortcutsFirst::MenuShortcutsFirst(QWidget* window, std::function<QMenuBar*()> currentMenu)
    : QObject(window), window_(window), currentMenu_(std::move(currentMenu))
{
    qApp->installEventFilter(this);
}

MenuShortcutsFirst::~MenuShortcutsFirst()
{
    qApp->removeEventFilter(this);
}

bool MenuShortcutsFirst::MenuTakesKey(QMenuBar* menu, const QKeyEvent& key)
{
    if (!menu || !Claimable(key))
        return false;
    return AnyItemTakes(menu->actions(), QKeySequence(key.keyCombination()));
}

bool MenuShortcutsFirst::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::ShortcutOverride)
        return false;
    auto* widget = qobject_cast<QWidget*>(watched);
    if (!widget || widget->window() != window_ || QApplication::activePopupWidget() ||
        QApplication::activeModalWidget())
        return false;
    // A line being typed (the description edited in place) keeps its own
    // copy, paste and word moves.
    if (auto* line = qobject_cast<QLineEdit*>(widget); line && !line->isReadOnly())
        return false;
    if (!MenuTakesKey(currentMenu_(), *static_cast<QKeyEvent*>(event)))
        return false;
    // Not claimed: the shortcut runs the menu item.
    event->ignore();
    return true;
}

} // namespace lumidrax
