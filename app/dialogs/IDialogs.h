#pragma once
// The questions, messages and file choosers the program shows. Every command
// goes through this interface, so that the real Qt dialogs can be replaced by
// scripted answers in tests.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

class QPrinter;

namespace lumidrax {

// Results of AskYesNo.
inline constexpr int kAnswerYes = 6;
inline constexpr int kAnswerNo = 7;
inline constexpr int kAnswerCancel = 2;

// What an open or save dialog shows. Filter is "Description|*.ext".
// Each field starts empty, so a designated initializer names only the ones
// it sets.
struct FileDialogRequest {
    std::string Title{};
    std::string Filter{};
    std::string Folder{};
    std::string FileName{};
    std::string DefaultExt{};
};

class IDialogs {
  public:
    virtual ~IDialogs() = default;

    // Question with Yes and No, and Cancel when withCancel: 6, 7 or 2.
    virtual int AskYesNo(const std::string& caption, const std::string& text, bool withCancel) = 0;
    // Message with one "Thank you" button.
    virtual void ShowMessageBox(const std::string& caption, const std::string& text) = 0;
    // Several existing files; empty when cancelled.
    virtual std::vector<std::string> OpenFileNames(const FileDialogRequest& request) = 0;
    // One file to write; nothing when cancelled.
    virtual std::optional<std::string> SaveFileName(const FileDialogRequest& request) = 0;
    // One line of text; nothing when cancelled.
    virtual std::optional<std::string> InputBox(const std::string& caption, const std::string& prompt,
                                                const std::string& value) = 0;
    // The standard colour dialog opened on `initial` (0xRRGGBB); nothing
    // when cancelled.
    virtual std::optional<std::uint32_t> ChooseColor(std::uint32_t initial) = 0;
    // The printer set-up dialog on `printer` (it also offers printing to a
    // PDF file); false when cancelled. Without a printer dialog: cancelled.
    virtual bool SetUpPrinter(QPrinter& printer);
    // The pages `paint` draws on a printer, shown before they go out; false
    // when the preview is closed without printing. Without a preview: true.
    virtual bool PreviewPrint(QPrinter& printer, const std::function<void(QPrinter&)>& paint);

    // The catalogue message of a result code.
    void ShowError(int code, const std::string& text);
    // A failure that carries its own message in the catalogue's form.
    void ShowErrorMessage(const std::string& message);
};

} // namespace lumidrax
