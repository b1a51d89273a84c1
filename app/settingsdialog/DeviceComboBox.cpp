#include "DeviceComboBox.h"

#include <QSignalBlocker>

namespace lumidrax {

DeviceComboBox::DeviceComboBox(std::function<QStringList()> devices, QWidget* parent)
    : QComboBox(parent), devices_(std::move(devices))
{
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
    Refresh();
}

void DeviceComboBox::Refresh()
{
    const QString text = currentText();
    QSignalBlocker block(this);
    clear();
    addItems(devices_());
    if (stateOf_)
        for (int i = 0; i < count(); ++i)
            setItemData(i, stateOf_(itemText(i)), Qt::ToolTipRole);
    setEditText(text);
}

void DeviceComboBox::showPopup()
{
    Refresh();
    QComboBox::showPopup();
}

} // namespace lumidrax
