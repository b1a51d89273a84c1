#include "ToolBarLook.h"

#include "ChartMenus.h"

#include <QAction>
#include <QApplication>
#include <QStyle>
#include <QToolBar>

namespace lumidrax {

void ApplyToolBarLook(ChartMenus& m)
{
    QStyle* style = QApplication::style();
    auto picture = [style](QAction* a, QStyle::StandardPixmap p) { a->setIcon(style->standardIcon(p)); };
    picture(m.mi_file_open, QStyle::SP_DialogOpenButton);
    picture(m.mi_save_selected, QStyle::SP_DialogSaveButton);
    picture(m.mi_file_close_selected, QStyle::SP_DialogCloseButton);
    picture(m.mi_shift[0], QStyle::SP_ArrowLeft);
    picture(m.mi_shift[1], QStyle::SP_ArrowUp);
    picture(m.mi_shift[2], QStyle::SP_ArrowDown);
    picture(m.mi_shift[3], QStyle::SP_ArrowRight);
    m.mi_file_print->setIconText(QObject::tr("Print"));
    m.mi_zoom_do->setIconText(QObject::tr("Zoom"));
    m.mi_zoom_prev->setIconText(QObject::tr("<"));
    m.mi_zoom_next->setIconText(QObject::tr(">"));
    m.mi_zoom_all->setIconText(QObject::tr("All"));
    m.mi_tools_refcolor->setIconText(QObject::tr("Color"));
    m.mi_tools_dishide->setIconText(QObject::tr("D/H"));
    // Buttons with a picture show only the picture, the others their short
    // caption.
    m.ToolBar->setToolButtonStyle(Qt::ToolButtonIconOnly);
    // Small pictures, so that the whole bar fits a window of the default
    // width.
    const int small = style->pixelMetric(QStyle::PM_SmallIconSize);
    m.ToolBar->setIconSize(QSize(small, small));
}

} // namespace lumidrax
