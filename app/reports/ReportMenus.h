#pragma once
// The menu bar `MainMenuRep` and the tool bar `RepToolBar` of the report page.

#include <QObject>

class QAction;
class QLineEdit;
class QMenuBar;
class QToolBar;
class QWidget;

namespace lumidrax {

class ReportMenus : public QObject {
    Q_OBJECT
  public:
    explicit ReportMenus(QWidget* window);

    QMenuBar* MainMenuRep = nullptr;
    QToolBar* RepToolBar = nullptr;

    QAction* mi_rep_file_open = nullptr;
    QAction* mi_rep_file_close = nullptr;
    QAction* mi_rep_file_closeall = nullptr;
    QAction* mi_rep_file_save = nullptr;
    QAction* mi_rep_file_saveas = nullptr;
    QAction* mi_rep_file_autofilename = nullptr;
    QAction* mi_rep_file_autosave = nullptr;
    QAction* mi_rep_file_print = nullptr;
    QAction* mi_rep_file_settings = nullptr;
    QAction* mi_rep_file_exit = nullptr;
    QAction* mi_rep_edit_copy = nullptr;
    QAction* mi_rep_edit_cut = nullptr;
    QAction* mi_rep_edit_paste = nullptr;
    QAction* mi_rep_edit_selectall = nullptr;
    QAction* mi_rep_width_inc = nullptr;
    QAction* mi_rep_width_dec = nullptr;
    QAction* mi_rep_help_contens = nullptr;
    QAction* mi_rep_help_about = nullptr;
    QLineEdit* e_rep_port = nullptr;
};

} // namespace lumidrax
