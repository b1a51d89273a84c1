#pragma once
// The chart list's pop-up menu `PopupCurves`. Its items run the same
// commands as the main menu (each item triggers its main-menu action) and
// take their enabled state; its shortcuts (Del, Ctrl+A, ...) work while the
// list has the focus.

#include <QObject>

class QAction;
class QMenu;
class QWidget;

namespace lumidrax {

class ChartMenus;

class ChartListPopup : public QObject {
    Q_OBJECT
  public:
    ChartListPopup(QWidget* list, ChartMenus& menus);

    QMenu* PopupCurves = nullptr;
    QAction* mi_curves_show = nullptr;
    QAction* mi_curves_hide = nullptr;
    QAction* mi_curves_dishide = nullptr;
    QAction* mi_curves_select_all = nullptr;
    QAction* mi_curves_close = nullptr;
    QAction* mi_curves_save = nullptr;
    QAction* mi_curves_saveas = nullptr;
    QAction* mi_curves_edit_desc = nullptr;
    QAction* mi_curves_average = nullptr;

    // Copies the enabled state of each main-menu command to its item.
    void SyncStates();

  private:
    struct Pair {
        QAction* Item;
        QAction* Command;
    };
    QList<Pair> pairs_;
};

} // namespace lumidrax
