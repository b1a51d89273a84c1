#include "ChartMenus.h"

#include "ActionFactory.h"

#include <QActionGroup>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QRadioButton>
#include <QToolBar>
#include <QToolButton>

#include <algorithm>
#include <array>
#include <iterator>
#include <type_traits>

namespace lumidrax {

namespace {

// The line widths of the Line Width menu and pop-up, in pixels; each item's
// data is its width.
constexpr std::array<int, 3> kLineWidths = {1, 3, 5};
// The port status field is at most this wide, in pixels.
constexpr int kPortFieldMaxWidth = 90;
// Room for the frame and margins of the port status field, in pixels.
constexpr int kPortFieldMargins = 16;

static_assert(std::extent_v<decltype(ChartMenus::mi_width)> == kLineWidths.size());

} // namespace

ChartMenus::ChartMenus(QWidget* window) : QObject(window)
{
    MainMenu = MakeMenuBar(window, "MainMenu");
    ToolBar = MakeToolBar(window, tr("Chart"), "ToolBar");

    BuildFileMenu(window);
    BuildEditMenu(window);
    BuildZoomMenu(window);
    BuildShiftMenu(window);
    QMenu* tools = BuildToolsMenu(window);
    BuildChartListMenu(tools, window);
    BuildHelpMenu(window);
    BuildToolBarPopups(window);
    BuildToolBar(window);
    DisableUnbuilt();
}

void ChartMenus::BuildFileMenu(QWidget* window)
{
    QMenu* file = MainMenu->addMenu(tr("&File"));
    file->setObjectName("mi_file");
    mi_file_open = MakeAction(window, "mi_file_open", tr("&Open..."), tr("Open Chart"),
                              QKeySequence("Ctrl+O"), tr("Open Chart [CTRL+O]"));
    file->addAction(mi_file_open);
    mi_file_close_selected =
        MakeAction(window, "mi_file_close_selected", tr("Selected Chart(s)"), tr("Close Selected Charts"),
                   QKeySequence("Ctrl+F4"), tr("Close Selected Charts [CTRL+F4]"));
    mi_file_close_all = MakeAction(window, "mi_file_close_all", tr("All Charts"), tr("Close All Charts"),
                                   QKeySequence("Ctrl+N"));
    mi_file_close =
        AddSubMenu(file, tr("&Close"), "mi_file_close", {mi_file_close_selected, mi_file_close_all});
    mi_save_selected =
        MakeAction(window, "mi_save_selected", tr("Selected Chart(s)"), tr("Save Selected Charts"),
                   QKeySequence("Ctrl+S"), tr("Save Selected Charts [CTRL+S]"));
    mi_save_all = MakeAction(window, "mi_save_all", tr("All Charts"), tr("Save All Charts"));
    mi_file_save = AddSubMenu(file, tr("&Save"), "mi_file_save", {mi_save_selected, mi_save_all});
    mi_file_saveas = MakeAction(window, "mi_file_saveas", tr("S&ave Selected Chart As..."),
                                tr("Save Selected Chart As"), QKeySequence("Ctrl+Shift+S"));
    file->addAction(mi_file_saveas);
    file->addSeparator();
    mi_file_autoname = MakeAction(window, "mi_file_autoname", tr("AutoFileName"), tr("Automatic File Names"));
    mi_file_autoname->setCheckable(true);
    mi_file_autoname->setVisible(false);
    file->addAction(mi_file_autoname);
    mi_file_autosave = MakeAction(window, "mi_file_autosave", tr("AutoSave"), tr("Automatic Saving"));
    mi_file_autosave->setCheckable(true);
    file->addAction(mi_file_autosave);
    file->addSeparator();
    mi_file_print =
        MakeAction(window, "mi_file_print", tr("&Print Displayed Charts"), tr("Print Displayed Charts"),
                   QKeySequence("Ctrl+P"), tr("Print Displayed Charts [CTRL+P]"));
    file->addAction(mi_file_print);
    mi_file_export = MakeAction(window, "mi_file_export", tr("Export &Picture..."),
                                tr("Save the displayed charts as a PNG picture or a PDF document"));
    file->addAction(mi_file_export);
    mi_file_report =
        MakeAction(window, "mi_file_report", tr("&Test Report..."),
                   tr("A report of the chart with its limits and the verdict, as PDF or printed"));
    file->addAction(mi_file_report);
    mi_file_setup = MakeAction(window, "mi_file_setup", tr("Settings..."), tr("System Settings"));
    file->addAction(mi_file_setup);
    file->addSeparator();
    mi_file_exit =
        MakeAction(window, "mi_file_exit", tr("E&xit"), tr("Close Application"), QKeySequence("Alt+F4"));
    file->addAction(mi_file_exit);
}

void ChartMenus::BuildEditMenu(QWidget* window)
{
    QMenu* edit = MainMenu->addMenu(tr("&Edit"));
    mi_edit_copy = MakeAction(window, "mi_edit_copy", tr("&Copy to Clipboard"), tr("Copy to Clipboard"),
                              QKeySequence("Ctrl+C"), tr("Copy to Clipboard [CTRL+C]"));
    edit->addAction(mi_edit_copy);
}

void ChartMenus::BuildZoomMenu(QWidget* window)
{
    QMenu* zoom = MainMenu->addMenu(tr("&Zoom"));
    mi_zoom_do =
        MakeAction(window, "mi_zoom_do", tr("Zoom In/Out/Window"), tr("Zoom In/Out/Window [RIGHT CLICK]"));
    mi_zoom_do->setCheckable(true);
    mi_zoom_prev = MakeAction(window, "mi_zoom_prev", tr("Previous Zoom"), tr("Previous Zoom [F9, CTRL+Z]"),
                              QKeySequence("F9"));
    mi_zoom_next = MakeAction(window, "mi_zoom_next", tr("Next Zoom"), tr("Next Zoom [F10, CTRL+SHIFT+Z]"),
                              QKeySequence("F10"));
    mi_zoom_remember = MakeAction(window, "mi_zoom_remember", tr("Save Actual Zoom"),
                                  tr("Save Actual Zoom [F11, Ctrl+M]"), QKeySequence("F11"));
    mi_zoom_all = MakeAction(window, "mi_zoom_all", tr("Zoom to All"), tr("Zoom to All [F12, CTRL+T]"),
                             QKeySequence("F12"));
    mi_zoom_clear =
        MakeAction(window, "mi_zoom_clear", tr("Clear zoom memory"), QString(), QKeySequence("Ctrl+Shift+M"));
    for (QAction* a : {mi_zoom_do, mi_zoom_prev, mi_zoom_next, mi_zoom_remember, mi_zoom_all, mi_zoom_clear})
        zoom->addAction(a);
}

void ChartMenus::BuildShiftMenu(QWidget* window)
{
    QMenu* shift = MainMenu->addMenu(tr("&Shift"));
    const char* shiftNames[4] = {"mi_shift_left", "mi_shift_up", "mi_shift_down", "mi_shift_right"};
    const QString shiftCaptions[4] = {tr("Shift Left"), tr("Shift Up"), tr("Shift Down"), tr("Shift Right")};
    const QString shiftHints[4] = {tr("Shift Left [CTRL+LEFT]"), tr("Shift Up [CTRL+UP]"),
                                   tr("Shift Down [CTRL+DOWN]"), tr("Shift Right [CTRL+RIGHT]")};
    const char* shiftKeys[4] = {"Ctrl+Left", "Ctrl+Up", "Ctrl+Down", "Ctrl+Right"};
    for (int k = 0; k < static_cast<int>(std::size(mi_shift)); ++k) {
        mi_shift[k] =
            MakeAction(window, shiftNames[k], shiftCaptions[k], shiftHints[k], QKeySequence(shiftKeys[k]));
        mi_shift[k]->setData(kShiftTagBase + k);
        shift->addAction(mi_shift[k]);
    }
}

QMenu* ChartMenus::BuildToolsMenu(QWidget* window)
{
    QMenu* tools = MainMenu->addMenu(tr("&Tools"));
    mi_curves_show =
        MakeAction(window, "mi_curves_show", tr("Display Selected Chart(s)"), tr("Display Selected Charts"));
    mi_curves_hide =
        MakeAction(window, "mi_curves_hide", tr("Hide Selected Chart(s)"), tr("Hide Selected Charts"));
    mi_tools_dishide = MakeAction(window, "mi_tools_dishide", tr("Display / Hide Selected Charts"),
                                  tr("Display/Hide Selected Charts [F8, Ctrl+D] "), QKeySequence("F8"));
    mi_curves_edit_desc =
        MakeAction(window, "mi_curves_edit_desc", tr("Edit Selected Charts &Description..."),
                   tr("Edit Description [F7, Ctrl+E]"), QKeySequence("F7"));
    mi_curves_average = MakeAction(window, "mi_curves_average", tr("Average Value"),
                                   tr("Average Value [Ctrl+V]"), QKeySequence("Ctrl+V"));
    for (QAction* a : {mi_curves_show, mi_curves_hide, mi_tools_dishide, mi_curves_edit_desc})
        tools->addAction(a);
    tools->addSeparator();
    tools->addAction(mi_curves_average);
    mi_tools_filter = tools->addMenu(tr("Ref. Chart &Filter"));
    mi_tools_filter->setObjectName("mi_tools_filter");
    mi_tools_filter->menuAction()->setStatusTip(tr("Filtering Reference Chart"));
    BuildFilterMenu(window);
    tools->addSeparator();
    mi_panels_refinfo = MakeAction(window, "mi_panels_refinfo", tr("&Ref. Chart Info"),
                                   tr("Show/Hide Reference Chart Info"), QKeySequence("F6"));
    mi_panels_refinfo->setCheckable(true);
    mi_panels_refinfo->setChecked(true);
    tools->addAction(mi_panels_refinfo);
    mi_panels_events = MakeAction(window, "mi_panels_events", tr("&Event Table"),
                                  tr("Show/Hide the Event Table [Shift+F6]"), QKeySequence("Shift+F6"));
    mi_panels_events->setCheckable(true);
    tools->addAction(mi_panels_events);
    mi_tools_refcolor = MakeAction(window, "mi_tools_refcolor", tr("Ref. Chart Color..."),
                                   tr("Ref. Chart Color [F4, CTRL+H]"), QKeySequence("Ctrl+H"));
    tools->addAction(mi_tools_refcolor);
    mi_tools_width = tools->addMenu(tr("Line &Width"));
    mi_tools_width->setObjectName("mi_tools_width");
    for (std::size_t k = 0; k < kLineWidths.size(); ++k) {
        const QString n = QString::number(kLineWidths[k]);
        mi_width[k] = MakeAction(window, qPrintable("mi_width" + n), n, tr("Line Width ") + n,
                                 QKeySequence("Ctrl+" + n));
        mi_width[k]->setData(kLineWidths[k]);
        mi_tools_width->addAction(mi_width[k]);
    }
    mi_tools_lines = MakeAction(window, "mi_tools_lines", tr("Join Samples by &Lines"),
                                tr("Join the samples of each chart by lines (off: one dot per sample)"));
    mi_tools_lines->setCheckable(true);
    tools->addAction(mi_tools_lines);
    mi_tools_invert = MakeAction(window, "mi_tools_invert", tr("Invert Background"),
                                 tr("Invert Background [CTRL+B]"), QKeySequence("Ctrl+B"));
    mi_tools_invert->setIconText(tr("B/W"));
    tools->addAction(mi_tools_invert);
    return tools;
}

void ChartMenus::BuildFilterMenu(QWidget* window)
{
    const std::array<int, std::extent_v<decltype(mi_filter)>> windows = {1,  2,  5,   10,
                                                                         20, 50, 100, kFilterAskWindow};
    for (std::size_t k = 0; k < windows.size(); ++k) {
        const int w = windows[k];
        const QString caption = w == 1                  ? tr("Off")
                                : w == kFilterAskWindow ? tr("User...")
                                                        : QString::number(w);
        const QString name =
            w == kFilterAskWindow ? QString("mi_filter_user") : "mi_filter" + QString::number(w);
        mi_filter[k] = MakeAction(window, qPrintable(name), caption, tr("Filtering Reference Chart"));
        mi_filter[k]->setData(w);
        mi_tools_filter->addAction(mi_filter[k]);
    }
}

void ChartMenus::BuildChartListMenu(QMenu* tools, QWidget* window)
{
    tools->addSeparator();
    QMenu* list = tools->addMenu(tr("Chart &List"));
    const char* modeNames[3] = {"mi_chartlist_all", "mi_chartlist_displayed", "mi_chartlist_hide"};
    const QString modeCaptions[3] = {tr("Show &All Charts"), tr("Show &Displayed Charts"), tr("&Hide")};
    const QString modeHints[3] = {tr("Show All Charts"), tr("Show Displayed Charts"), tr("Hide Chart List")};
    for (int k = 0; k < static_cast<int>(std::size(mi_chartlist_mode)); ++k) {
        mi_chartlist_mode[k] = MakeAction(window, modeNames[k], modeCaptions[k], modeHints[k]);
        mi_chartlist_mode[k]->setData(kChartListModeTagBase + k);
        mi_chartlist_mode[k]->setCheckable(true);
        list->addAction(mi_chartlist_mode[k]);
    }
    list->addSeparator();
    mi_incChartList = MakeAction(window, "mi_incChartList", tr("&Increase Height"),
                                 tr("Increase Chart List Height"), QKeySequence("Ctrl+Shift+Up"));
    mi_decChartList = MakeAction(window, "mi_decChartList", tr("&Decrease Height"),
                                 tr("Decrease Chart List Height"), QKeySequence("Ctrl+Shift+Down"));
    list->addAction(mi_incChartList);
    list->addAction(mi_decChartList);
}

void ChartMenus::BuildHelpMenu(QWidget* window)
{
    AddHelpMenu(window, MainMenu, tr("&Help"), "mi_", mi_help_contens, mi_help_about);
}

void ChartMenus::BuildToolBarPopups(QWidget* window)
{
    sb_filter = MakeAction(window, "sb_filter", tr("F"), tr("Local Filter [F2, CTRL+F]"));
    sb_filter->setMenu(mi_tools_filter);
    sb_width = MakeAction(window, "sb_width", tr("W"), tr("Line Width [F3, CTRL+W]"));
    auto* widthPopup = new QMenu(window);
    widthPopup->setObjectName("PopupWidth");
    for (std::size_t k = 0; k < kLineWidths.size(); ++k) {
        const QString n = QString::number(kLineWidths[k]);
        QAction* item = MakeAction(window, qPrintable("mi_popup_width" + n), n,
                                   tr("Line Width ") + n + " [CTRL+" + n + "]");
        item->setData(kLineWidths[k]);
        widthPopup->addAction(item);
        connect(item, &QAction::triggered, mi_width[k], &QAction::trigger);
    }
    sb_width->setMenu(widthPopup);
}

void ChartMenus::BuildToolBar(QWidget* window)
{
    ToolBar->addAction(mi_file_open);
    ToolBar->addAction(mi_save_selected);
    ToolBar->addAction(mi_file_close_selected);
    ToolBar->addAction(mi_file_print);
    // The port controls come early: a window too narrow for the whole bar
    // hides its last buttons, and those are in the menus too, while the
    // port's colour and its Connect menu are seen only here.
    BuildPortControls(window);
    ToolBar->addSeparator();
    ToolBar->addAction(mi_zoom_do);
    ToolBar->addAction(mi_zoom_prev);
    ToolBar->addAction(mi_zoom_next);
    lbl_zoompos = new QLabel("0/0", window);
    lbl_zoompos->setObjectName("lbl_zoompos");
    lbl_zoompos->setStatusTip(tr("Save Actual Zoom [F11, Ctrl+M]"));
    ToolBar->addWidget(lbl_zoompos);
    ToolBar->addAction(mi_zoom_all);
    ToolBar->addSeparator();
    for (QAction* a : mi_shift)
        ToolBar->addAction(a);
    ToolBar->addSeparator();
    ToolBar->addAction(mi_tools_invert);
    ToolBar->addAction(sb_width);
    ToolBar->addAction(mi_tools_refcolor);
    ToolBar->addAction(sb_filter);
    mi_curves_average->setIconText(tr("AV"));
    ToolBar->addAction(mi_curves_average);
    ToolBar->addAction(mi_tools_dishide);
    mi_curves_edit_desc->setIconText(tr("E"));
    ToolBar->addAction(mi_curves_edit_desc);
    for (QAction* a : {sb_filter, sb_width})
        if (auto* button = qobject_cast<QToolButton*>(ToolBar->widgetForAction(a)))
            button->setPopupMode(QToolButton::InstantPopup);
}

void ChartMenus::BuildPortControls(QWidget* window)
{
    ToolBar->addSeparator();
    rb_com = new QRadioButton(tr("RS 232"), window);
    rb_com->setObjectName("rb_com");
    rb_bt = new QRadioButton(tr("BT"), window);
    rb_bt->setObjectName("rb_bt");
    rb_com->setChecked(true);
    ToolBar->addWidget(rb_com);
    ToolBar->addWidget(rb_bt);
    ToolBar->addWidget(new QLabel(tr("Port"), window));
    e_port = new QLineEdit(window);
    e_port->setObjectName("e_port");
    e_port->setReadOnly(true);
    // A status, not a field to type in: it never takes the focus, so it
    // never claims the keys of the menu shortcuts.
    e_port->setFocusPolicy(Qt::NoFocus);
    e_port->setStatusTip(tr("Port Status"));
    e_port->setMaximumWidth(kPortFieldMaxWidth);
    // Wide enough for any caption ("COM255", "no port") when the bar is
    // short of room.
    e_port->setMinimumWidth(
        std::min(kPortFieldMaxWidth, e_port->fontMetrics().horizontalAdvance("COM255") + kPortFieldMargins));
    ToolBar->addWidget(e_port);
}

void ChartMenus::DisableUnbuilt()
{
    // Commands that later work fills in stay disabled until then.
    Unbuilt = {mi_file_print,  mi_file_export,   mi_edit_copy,   mi_zoom_do,        mi_zoom_prev,
               mi_zoom_next,   mi_zoom_remember, mi_zoom_all,    mi_zoom_clear,     mi_shift[0],
               mi_shift[1],    mi_shift[2],      mi_shift[3],    mi_curves_average, mi_tools_refcolor,
               sb_filter,      mi_curves_show,   mi_curves_hide, mi_tools_dishide,  mi_incChartList,
               mi_decChartList};
    mi_tools_filter->setEnabled(false);
    for (QAction* a : Unbuilt)
        a->setEnabled(false);
    rb_com->setEnabled(false);
    rb_bt->setEnabled(false);
}

} // namespace lumidrax
