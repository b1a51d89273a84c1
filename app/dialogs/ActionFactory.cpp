#include "ActionFactory.h"

#include <QMenuBar>
#include <QToolBar>

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

QMenuBar* MakeMenuBar(QWidget* window, const char* name)
{
    auto* bar = new QMenuBar(window);
    bar->setObjectName(QString::fromLatin1(name));
    return bar;
}

QToolBar* MakeToolBar(QWidget* window, const QString& title, const char* name)
{
    auto* bar = new QToolBar(title, window);
    bar->setObjectName(QString::fromLatin1(name));
    bar->setMovable(false);
    return bar;
}

} // namespace lumidrax
