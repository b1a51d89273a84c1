#pragma once
// An editable list of serial devices that asks for a fresh list each time
// it opens, so that a device plugged in while the dialog is open appears.

#include <QComboBox>

#include <functional>

namespace lumidrax {

class DeviceComboBox : public QComboBox {
    Q_OBJECT
  public:
    explicit DeviceComboBox(std::function<QStringList()> devices, QWidget* parent = nullptr);

    // Each listed device's state, shown as its tool tip (empty: none).
    void SetStateOf(std::function<QString(const QString& device)> state) { stateOf_ = std::move(state); }

    // Fills the list again; the typed or chosen text stays.
    void Refresh();
    void showPopup() override;

  private:
    std::function<QStringList()> devices_;
    std::function<QString(const QString&)> stateOf_;
};

} // namespace lumidrax
