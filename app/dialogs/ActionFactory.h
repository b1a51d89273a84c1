#pragma once
// Makes the named menu and tool bar actions: caption, hint (status bar),
// tool-button hint and shortcut.

#include <QAction>
#include <QKeySequence>
#include <QString>

namespace lumidrax {

// objectName = name; the hint goes to the status bar, the button hint (or the
// hint) to the tool tip.
QAction* MakeAction(QObject* parent, const char* name, const QString& caption, const QString& hint,
                    const QKeySequence& shortcut = {}, const QString& buttonHint = {});

} // namespace lumidrax
