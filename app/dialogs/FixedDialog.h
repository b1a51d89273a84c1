#pragma once
// The frame of the program's small fixed-size dialogs (the About box, the
// directory chooser): a title bar with a close button and no resizing.

#include <QDialog>

namespace lumidrax {

inline void MakeFixedDialog(QDialog& dialog, const char* objectName, const QString& title)
{
    dialog.setObjectName(objectName);
    dialog.setWindowTitle(title);
    dialog.setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint);
}

} // namespace lumidrax
