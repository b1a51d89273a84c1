#include "ActionFactory.h"

namespace lumidrax {

QAction* MakeAction(QObject* parent, const char* name, const QString& caption, const QString& hint,
                    const QKeySequence& shortcut, const QString& buttonHint)
{
    auto* action = new QAction(caption, parent);
    action->setObjectName(QString::fromLatin1(name));
    action->setStatusTip(hint);
    action->setToolTip(buttonHint.isEmpty() ? hint : buttonHint);
    if (!shortcut.isEmpty())
        action->setShortcut(shortcut);
    return action;
}

} // namespace lumidrax
