#include "ArchiveMenus.h"

#include "ActionFactory.h"

#include <QMenu>
#include <QMenuBar>

namespace lumidrax {

ArchiveMenus::ArchiveMenus(QWidget* window) : QObject(window)
{
    MainMenuArch = MakeMenuBar(window, "MainMenuArch");
    QMenu* archive = MainMenuArch->addMenu(tr("&Archive"));
    mi_arch_find = MakeAction(window, "mi_arch_find", tr("&Find"), tr("Type words to search the archive for"),
                              QKeySequence("Ctrl+F"));
    mi_arch_open = MakeAction(window, "mi_arch_open", tr("&Open"),
                              tr("Open the chosen charts on the chart page"), QKeySequence("Ctrl+O"));
    mi_arch_tags = MakeAction(window, "mi_arch_tags", tr("&Edit Cable/Site/Job/Operator..."),
                              tr("Tag the chosen entries"), QKeySequence("Ctrl+E"));
    mi_arch_baseline =
        MakeAction(window, "mi_arch_baseline", tr("Set as &Baseline"),
                   tr("The chosen chart becomes its cable's baseline"), QKeySequence("Ctrl+B"));
    mi_arch_compare =
        MakeAction(window, "mi_arch_compare", tr("&Compare with Baseline"),
                   tr("Open the chosen chart beside its cable's baseline, with the Event Table"),
                   QKeySequence("Ctrl+K"));
    mi_arch_history =
        MakeAction(window, "mi_arch_history", tr("&History..."),
                   tr("Every chart of the chosen chart's cable in time"), QKeySequence("Ctrl+H"));
    mi_arch_import = MakeAction(window, "mi_arch_import", tr("&Import Folder..."),
                                tr("Record every chart file below a folder"), QKeySequence("Ctrl+I"));
    mi_arch_settings = MakeAction(window, "mi_arch_settings", tr("&Settings..."), tr("System Settings"),
                                  QKeySequence("F12"));
    mi_arch_chartpage = MakeAction(window, "mi_arch_chartpage", tr("Chart &Page"),
                                   tr("Back to the chart page"), QKeySequence("Ctrl+Shift+A"));
    mi_arch_exit =
        MakeAction(window, "mi_arch_exit", tr("E&xit"), tr("Exit Program"), QKeySequence("Alt+F4"));
    for (QAction* a : {mi_arch_find, mi_arch_open, mi_arch_tags, mi_arch_baseline, mi_arch_compare,
                       mi_arch_history, mi_arch_import})
        archive->addAction(a);
    archive->insertSeparator(mi_arch_import);
    archive->addSeparator();
    // The page says to turn the archive on in the Settings: they are here.
    archive->addAction(mi_arch_settings);
    archive->addAction(mi_arch_chartpage);
    archive->addAction(mi_arch_exit);
    AddHelpMenu(window, MainMenuArch, tr("He&lp"), "mi_arch_", mi_arch_help_contens, mi_arch_help_about);

    mi_file_archive = MakeAction(window, "mi_file_archive", tr("&Archive"),
                                 tr("Every chart recorded: search, compare with the baseline"),
                                 QKeySequence("Ctrl+Shift+A"));
    mi_rep_file_archive = MakeAction(window, "mi_rep_file_archive", tr("&Archive"),
                                     tr("Every chart recorded: search, compare with the baseline"),
                                     QKeySequence("Ctrl+Shift+A"));
}

} // namespace lumidrax
