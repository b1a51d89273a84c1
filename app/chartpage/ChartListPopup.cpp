#include "ChartListPopup.h"

#include "ActionFactory.h"
#include "ChartMenus.h"

#include <QMenu>
#include <QWidget>

namespace lumidrax {

ChartListPopup::ChartListPopup(QWidget* list, ChartMenus& m) : QObject(list)
{
    PopupCurves = new QMenu(list);
    PopupCurves->setObjectName("PopupCurves");
    auto add = [&](const char* name, const QString& caption, const QString& hint, const QKeySequence& key,
                   QAction* command) {
        // Keys that the main menu has already are only shown here: one key
        // bound twice would be ambiguous and do nothing.
        const bool own = !command || command->shortcut() != key;
        QAction* item = MakeAction(list, name, caption, hint, own ? key : QKeySequence());
        if (!own)
            item->setText(caption + '\t' + key.toString(QKeySequence::NativeText));
        // The list's own keys work only while it (or a child) has the focus.
        item->setShortcutContext(Qt::WidgetWithChildrenShortcut);
        list->addAction(item);
        PopupCurves->addAction(item);
        if (command) {
            connect(item, &QAction::triggered, command, &QAction::trigger);
            pairs_.append(Pair{item, command});
        }
        return item;
    };
    mi_curves_show = add("mi_curves_show_popup", tr("&Display Selected Charts"),
                         tr("Display Selected Charts"), {}, m.mi_curves_show);
    mi_curves_hide = add("mi_curves_hide_popup", tr("&Hide Selected Charts"), tr("Hide Selected Charts"), {},
                         m.mi_curves_hide);
    mi_curves_dishide = add("mi_curves_dishide_popup", tr("Display / Hide Selected Charts"),
                            tr("Display / Hide Selected Charts"), QKeySequence("F8"), m.mi_tools_dishide);
    PopupCurves->addSeparator();
    mi_curves_select_all = add("mi_curves_select_all", tr("Select All Charts"), tr("Select All Charts"),
                               QKeySequence("Ctrl+A"), nullptr);
    mi_curves_close = add("mi_curves_close", tr("&Close Selected Charts"), tr("Close Selected Charts"),
                          QKeySequence(Qt::Key_Delete), m.mi_file_close_selected);
    mi_curves_save = add("mi_curves_save", tr("&Save Selected Charts"), tr("Save Selected Charts"),
                         QKeySequence("Ctrl+S"), m.mi_save_selected);
    mi_curves_saveas = add("mi_curves_saveas", tr("Save Selected Chart &As..."), tr("Save Selected Chart As"),
                           QKeySequence("Ctrl+Shift+S"), m.mi_file_saveas);
    PopupCurves->addSeparator();
    mi_curves_edit_desc =
        add("mi_curves_edit_desc_popup", tr("Edit desription"), tr("Edit description of selected curve"),
            QKeySequence("F7"), m.mi_curves_edit_desc);
    mi_curves_average = add("mi_curves_average_popup", tr("Average Value"), tr("Average Value"),
                            QKeySequence("Ctrl+V"), m.mi_curves_average);

    list->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(list, &QWidget::customContextMenuRequested, this,
            [this, list](const QPoint& at) { PopupCurves->popup(list->mapToGlobal(at)); });
    SyncStates();
}

void ChartListPopup::SyncStates()
{
    for (const Pair& p : pairs_)
        p.Item->setEnabled(p.Command->isEnabled());
}

} // namespace lumidrax
