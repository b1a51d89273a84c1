#include "DescriptionField.h"

#include <QKeyEvent>

namespace lumidrax {

DescriptionField::DescriptionField(QWidget* parent) : QLineEdit(parent)
{
    setObjectName("e_description");
    setFrame(false);
    hide();
}

void DescriptionField::Start(int chart, const QRect& area, const QString& text)
{
    chart_ = chart;
    setGeometry(area);
    setText(text);
    selectAll();
    show();
    raise();
    setFocus();
}

void DescriptionField::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        Finish(true);
        return;
    }
    if (event->key() == Qt::Key_Escape) {
        Finish(false);
        return;
    }
    QLineEdit::keyPressEvent(event);
}

void DescriptionField::focusOutEvent(QFocusEvent* event)
{
    QLineEdit::focusOutEvent(event);
    if (Editing())
        Finish(false);
}

void DescriptionField::Finish(bool confirmed)
{
    const int chart = std::exchange(chart_, 0);
    if (chart == 0)
        return;
    hide();
    if (confirmed)
        emit Confirmed(chart, text().replace('\n', ' ').replace('\r', ' '));
    else
        emit Cancelled();
}

} // namespace lumidrax
