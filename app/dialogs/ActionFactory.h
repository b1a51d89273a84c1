#pragma once
// Makes the named menu and tool bar actions: caption, hint (status bar),
// tool-button hint and shortcut.

#include <QAction>
#include <QKeySequence>
#include <QString>

#include <initializer_list>

class QMenu;
class QMenuBar;
class QToolBar;
class QWidget;

namespace lumidrax {

// objectName = name; the hint goes to the status bar, the button hint (or the
// hint) to the tool tip.
QAction* MakeAction(QObject* parent, const char* name, const QString& caption, const QString& hint,
                    const QKeySequence& shortcut = {}, const QString& buttonHint = {});
// A submenu of `menu`, named `name`, that holds `items`.
QMenu* AddSubMenu(QMenu* menu, const QString& title, const char* name, std::initializer_list<QAction*> items);
// A page's menu bar and its fixed tool bar, named `name`, on the window.
QMenuBar* MakeMenuBar(QWidget* window, const char* name);
QToolBar* MakeToolBar(QWidget* window, const QString& title, const char* name);
// The Help menu that ends a page's menu bar, `title` on the bar: "&Contens..."
// (F1) and "&About...", named <prefix>help_contens and <prefix>help_about.
void AddHelpMenu(QWidget* window, QMenuBar* bar, const QString& title, const char* prefix, QAction*& contents,
                 QAction*& about);

} // namespace lumidrax
