#pragma once
// Makes the named menu and tool bar actions: caption, hint (status bar),
// tool-button hint and shortcut.

#include <QAction>
#include <QKeySequence>
#include <QString>

class QMenuBar;
class QToolBar;
class QWidget;

namespace lumidrax {

// objectName = name; the hint goes to the status bar, the button hint (or the
// hint) to the tool tip.
QAction* MakeAction(QObject* parent, const char* name, const QString& caption, const QString& hint,
                    const QKeySequence& shortcut = {}, const QString& buttonHint = {});
// A page's menu bar and its fixed tool bar, named `name`, on the window.
QMenuBar* MakeMenuBar(QWidget* window, const char* name);
QToolBar* MakeToolBar(QWidget* window, const QString& title, const char* name);

} // namespace lumidrax
