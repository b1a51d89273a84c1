#include "ReportMenus.h"

#include "ActionFactory.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QStyle>
#include <QToolBar>

namespace lumidrax {

ReportMenus::ReportMenus(QWidget* window) : QObject(window)
{
    MainMenuRep = MakeMenuBar(window, "MainMenuRep");
    RepToolBar = MakeToolBar(window, tr("Report"), "RepToolBar");

    QMenu* file = MainMenuRep->addMenu(tr("&File"));
    mi_rep_file_open = MakeAction(window, "mi_rep_file_open", tr("&Open..."), tr("Open Report"),
                                  QKeySequence("Ctrl+O"), tr("Open Report [CTRL+O]"));
    mi_rep_file_close = MakeAction(window, "mi_rep_file_close", tr("&Close"), tr("Close Selected Report"),
                                   QKeySequence("Ctrl+F4"), tr("Close Selected Report [CTRL+F4]"));
    mi_rep_file_closeall =
        MakeAction(window, "mi_rep_file_closeall", tr("Close All"), tr("Close All Reports"),
                   QKeySequence("Ctrl+N"), tr("Close All Reports [CTRL+N]"));
    mi_rep_file_save = MakeAction(window, "mi_rep_file_save", tr("&Save"), tr("Save Selected Report"),
                                  QKeySequence("Ctrl+S"), tr("Save Selected Report [CTRL+S]"));
    mi_rep_file_saveas =
        MakeAction(window, "mi_rep_file_saveas", tr("S&ave As..."), tr("Save Selected Report As"),
                   QKeySequence("Shift+Ctrl+S"), tr("Save Selected Report As [SHIFT+CTRL+S]"));
    mi_rep_file_autofilename =
        MakeAction(window, "mi_rep_file_autofilename", tr("AutoFileName"), tr("Automatic File Names"));
    mi_rep_file_autofilename->setCheckable(true);
    mi_rep_file_autofilename->setVisible(false);
    mi_rep_file_autosave = MakeAction(window, "mi_rep_file_autosave", tr("AutoSave"), tr("Automatic Saving"));
    mi_rep_file_autosave->setCheckable(true);
    mi_rep_file_print = MakeAction(window, "mi_rep_file_print", tr("&Print"), tr("Print Selected Report"),
                                   QKeySequence("Ctrl+P"), tr("Print Selected Report [CTRL+P]"));
    mi_rep_file_settings = MakeAction(window, "mi_rep_file_settings", tr("Settings..."),
                                      tr("System Settings"), QKeySequence("F12"));
    mi_rep_file_exit =
        MakeAction(window, "mi_rep_file_exit", tr("E&xit"), tr("Close Application"), QKeySequence("Alt+F4"));
    for (QAction* a :
         {mi_rep_file_open, mi_rep_file_close, mi_rep_file_closeall, mi_rep_file_save, mi_rep_file_saveas})
        file->addAction(a);
    file->addSeparator();
    file->addAction(mi_rep_file_autofilename);
    file->addAction(mi_rep_file_autosave);
    file->addSeparator();
    file->addAction(mi_rep_file_print);
    file->addAction(mi_rep_file_settings);
    file->addSeparator();
    file->addAction(mi_rep_file_exit);

    QMenu* edit = MainMenuRep->addMenu(tr("&Edit"));
    mi_rep_edit_copy =
        MakeAction(window, "mi_rep_edit_copy", tr("&Copy to Clipboard"), tr("Copy to clipboard"),
                   QKeySequence("Ctrl+C"), tr("Copy to Clipboard [CTRL+C]"));
    mi_rep_edit_cut = MakeAction(window, "mi_rep_edit_cut", tr("Cut to Clipboard"), tr("Cut to Clipboard"),
                                 QKeySequence("Ctrl+X"), tr("Cut to Clipboard [CTRL+X]"));
    mi_rep_edit_paste =
        MakeAction(window, "mi_rep_edit_paste", tr("Paste from Clipboard"), tr("Paste from Clipboard"),
                   QKeySequence("Ctrl+V"), tr("Paste from Clipboard [CTRL+V]"));
    mi_rep_edit_selectall =
        MakeAction(window, "mi_rep_edit_selectall", tr("Select All"), tr("Select All Text"),
                   QKeySequence("Ctrl+A"), tr("Select All Text [CTRL+A]"));
    for (QAction* a : {mi_rep_edit_copy, mi_rep_edit_cut, mi_rep_edit_paste, mi_rep_edit_selectall})
        edit->addAction(a);
    QMenu* width = edit->addMenu(tr("&Report Width"));
    mi_rep_width_inc = MakeAction(window, "mi_rep_width_inc", tr("&Increase"), tr("Increase Report Width"),
                                  QKeySequence("Shift+Ctrl+Left"));
    mi_rep_width_dec = MakeAction(window, "mi_rep_width_dec", tr("&Decrease"), tr("Decrease Report Width"),
                                  QKeySequence("Shift+Ctrl+Right"));
    width->addAction(mi_rep_width_inc);
    width->addAction(mi_rep_width_dec);

    AddHelpMenu(window, MainMenuRep, tr("&Help"), "mi_rep_", mi_rep_help_contens, mi_rep_help_about);

    for (QAction* a : {mi_rep_file_open, mi_rep_file_close, mi_rep_file_closeall, mi_rep_file_save,
                       mi_rep_file_saveas, mi_rep_file_print})
        RepToolBar->addAction(a);
    RepToolBar->addSeparator();
    for (QAction* a : {mi_rep_edit_copy, mi_rep_edit_cut, mi_rep_edit_paste, mi_rep_edit_selectall})
        RepToolBar->addAction(a);
    // Buttons with a standard picture show it; the others a short caption,
    // so that the port box stays in view. The bracketed hints are the tips.
    QStyle* style = QApplication::style();
    mi_rep_file_open->setIcon(style->standardIcon(QStyle::SP_DialogOpenButton));
    mi_rep_file_close->setIcon(style->standardIcon(QStyle::SP_DialogCloseButton));
    mi_rep_file_save->setIcon(style->standardIcon(QStyle::SP_DialogSaveButton));
    mi_rep_file_saveas->setIconText(tr("As"));
    mi_rep_edit_copy->setIconText(tr("Copy"));
    mi_rep_edit_cut->setIconText(tr("Cut"));
    mi_rep_edit_paste->setIconText(tr("Paste"));
    mi_rep_edit_selectall->setIconText(tr("All"));
    RepToolBar->setToolButtonStyle(Qt::ToolButtonIconOnly);
    RepToolBar->addSeparator();
    RepToolBar->addWidget(new QLabel(tr(" Port "), window));
    e_rep_port = new QLineEdit(window);
    e_rep_port->setObjectName("e_rep_port");
    e_rep_port->setReadOnly(true);
    e_rep_port->setFocusPolicy(Qt::NoFocus); // a status: it never takes the keys
    e_rep_port->setStatusTip(tr("Port Status"));
    e_rep_port->setMaximumWidth(90);
    RepToolBar->addWidget(e_rep_port);
}

} // namespace lumidrax
