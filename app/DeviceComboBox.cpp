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
    setEditText(text);
}

void DeviceComboBox::showPopup()
{
    Refresh();
    QComboBox::showPopup();
}

} // namespace lumidrax
