#pragma once
// The menu bar `MainMenu` and the tool bar `ToolBar` of the chart page, with
// one action per command. Menu items and tool buttons of a command share the
// action, so they always have the same enabled state.

#include <QObject>

class QAction;
class QActionGroup;
class QLabel;
class QLineEdit;
class QMenu;
class QMenuBar;
class QRadioButton;
class QToolBar;
class QWidget;

namespace lumidrax {

// The data of the Shift actions: kShiftTagBase + 0 .. 3 (left, up, down,
// right).
inline constexpr int kShiftTagBase = 100;
// The data of the chart list mode actions: kChartListModeTagBase + the list
// mode (kListModeAll, kListModeDisplayed, kListModeHidden).
inline constexpr int kChartListModeTagBase = 331;
// The data of the filter items: the filter window, or kFilterAskWindow for
// "User...", which asks for it.
inline constexpr int kFilterAskWindow = -1;

class ChartMenus : public QObject {
    Q_OBJECT
  public:
    explicit ChartMenus(QWidget* window);

    QMenuBar* MainMenu = nullptr;
    QToolBar* ToolBar = nullptr;

    // File
    QMenu* mi_file_close = nullptr;
    QMenu* mi_file_save = nullptr;
    QAction* mi_file_open = nullptr;
    QAction* mi_file_close_selected = nullptr;
    QAction* mi_file_close_all = nullptr;
    QAction* mi_save_selected = nullptr;
    QAction* mi_save_all = nullptr;
    QAction* mi_file_saveas = nullptr;
    QAction* mi_file_autoname = nullptr;
    QAction* mi_file_autosave = nullptr;
    QAction* mi_file_print = nullptr;
    // "Export Picture...": the printed page as PNG or PDF.
    QAction* mi_file_export = nullptr;
    // "Test Report...": the report with limits and a verdict.
    QAction* mi_file_report = nullptr;
    QAction* mi_file_setup = nullptr;
    QAction* mi_file_exit = nullptr;
    // Edit
    QAction* mi_edit_copy = nullptr;
    // Zoom
    QAction* mi_zoom_do = nullptr;
    QAction* mi_zoom_prev = nullptr;
    QAction* mi_zoom_next = nullptr;
    QAction* mi_zoom_remember = nullptr;
    QAction* mi_zoom_all = nullptr;
    QAction* mi_zoom_clear = nullptr;
    // Shift (data kShiftTagBase + 0 .. 3)
    QAction* mi_shift[4] = {};
    // Tools
    QAction* mi_curves_show = nullptr;
    QAction* mi_curves_hide = nullptr;
    QAction* mi_tools_dishide = nullptr;
    QAction* mi_curves_edit_desc = nullptr;
    QAction* mi_curves_average = nullptr;
    QMenu* mi_tools_filter = nullptr;
    // "Off", "2", "5", "10", "20", "50", "100", "User..." (data: the window).
    QAction* mi_filter[8] = {};
    QAction* mi_panels_refinfo = nullptr;
    QAction* mi_panels_events = nullptr;
    QAction* mi_tools_refcolor = nullptr;
    QMenu* mi_tools_width = nullptr;
    QAction* mi_width[3] = {};
    // Checkable: the charts are drawn with their samples joined by lines.
    QAction* mi_tools_lines = nullptr;
    QAction* mi_tools_invert = nullptr;
    QAction* mi_chartlist_mode[3] = {};
    QAction* mi_incChartList = nullptr;
    QAction* mi_decChartList = nullptr;
    // Help
    QAction* mi_help_contens = nullptr;
    QAction* mi_help_about = nullptr;
    // Tool bar only
    QAction* sb_filter = nullptr;
    QAction* sb_width = nullptr;
    QRadioButton* rb_com = nullptr;
    QRadioButton* rb_bt = nullptr;
    QLineEdit* e_port = nullptr;
    QLabel* lbl_zoompos = nullptr;

    // Commands whose work is not wired yet: kept disabled.
    QList<QAction*> Unbuilt;

  private:
    // The steps of the constructor, in this order: the menus from left to
    // right (each creates its actions), then the tool bar, which reuses them.
    void BuildFileMenu(QWidget* window);
    void BuildEditMenu(QWidget* window);
    void BuildZoomMenu(QWidget* window);
    void BuildShiftMenu(QWidget* window);
    QMenu* BuildToolsMenu(QWidget* window);
    void BuildChartListMenu(QMenu* tools, QWidget* window);
    // The items of "Ref. Chart &Filter", also the pop-up of the "F" button.
    void BuildFilterMenu(QWidget* window);
    void BuildHelpMenu(QWidget* window);
    // The two tool buttons with pop-up menus (filter, line width).
    void BuildToolBarPopups(QWidget* window);
    void BuildToolBar(QWidget* window);
    // The port type choice and the port status field at the tool bar's end.
    void BuildPortControls(QWidget* window);
    void DisableUnbuilt();
};

} // namespace lumidrax
