#pragma once
// The real dialogs of the program, shown with Qt.

#include "IDialogs.h"

#include <QString>

class QWidget;

namespace lumidrax {

class QtDialogs : public IDialogs {
  public:
    explicit QtDialogs(QWidget* parent = nullptr) : parent_(parent) {}

    int AskYesNo(const std::string& caption, const std::string& text, bool withCancel) override;
    void ShowMessageBox(const std::string& caption, const std::string& text) override;
    std::vector<std::string> OpenFileNames(const FileDialogRequest& request) override;
    std::optional<std::string> SaveFileName(const FileDialogRequest& request) override;
    std::optional<std::string> InputBox(const std::string& caption, const std::string& prompt,
                                        const std::string& value) override;
    std::optional<std::uint32_t> ChooseColor(std::uint32_t initial) override;
    bool SetUpPrinter(QPrinter& printer) override;
    bool PreviewPrint(QPrinter& printer, const std::function<void(QPrinter&)>& paint) override;

  private:
    QWidget* parent_;
};

// "Chart files|*.ndt" as a Qt name filter: "Chart files (*.ndt)".
QString QtNameFilter(const std::string& filter);

} // namespace lumidrax
