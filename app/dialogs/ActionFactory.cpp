#include "ActionFactory.h"

#include <QMenu>
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

QMenu* AddSubMenu(QMenu* menu, const QString& title, const char* name, std::initializer_list<QAction*> items)
{
    QMenu* sub = menu->addMenu(title);
    sub->setObjectName(QString::fromLatin1(name));
    for (QAction* item : items)
        sub->addAction(item);
    return sub;
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

void AddHelpMenu(QWidget* window, QMenuBar* bar, const QString& title, const char* prefix, QAction*& contents,
                 QAction*& about)
{
    QMenu* help = bar->addMenu(title);
    contents = MakeAction(window, QByteArray(prefix).append("help_contens").constData(),
                          QObject::tr("&Contens..."), QObject::tr("Application Help"), QKeySequence("F1"));
    about = MakeAction(window, QByteArray(prefix).append("help_about").constData(), QObject::tr("&About..."),
                       QObject::tr("\"About\" Information"));
    help->addAction(contents);
    help->addAction(about);
}

} // namespace lumidrax
