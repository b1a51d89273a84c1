#pragma once
// The menu bar `MainMenuArch` of the Archive page, and the item of the chart
// and report pages that leads to it.

#include <QObject>

class QAction;
class QMenuBar;
class QWidget;

namespace lumidrax {

class ArchiveMenus : public QObject {
    Q_OBJECT
  public:
    explicit ArchiveMenus(QWidget* window);

    QMenuBar* MainMenuArch = nullptr;

    QAction* mi_arch_find = nullptr;
    QAction* mi_arch_open = nullptr;
    QAction* mi_arch_tags = nullptr;
    QAction* mi_arch_baseline = nullptr;
    QAction* mi_arch_compare = nullptr;
    QAction* mi_arch_history = nullptr;
    QAction* mi_arch_import = nullptr;
    QAction* mi_arch_settings = nullptr;
    QAction* mi_arch_chartpage = nullptr;
    QAction* mi_arch_exit = nullptr;
    QAction* mi_arch_help_contens = nullptr;
    QAction* mi_arch_help_about = nullptr;
    // "Archive" in the File menus of the chart and report pages.
    QAction* mi_file_archive = nullptr;
    QAction* mi_rep_file_archive = nullptr;
};

} // namespace lumidrax
