#pragma once
// Scripted dialogs and chart fixtures for the viewer tests.

#include "IDialogs.h"

#include <deque>
#include <optional>
#include <string>
#include <vector>

class QListWidget;

namespace lumidrax::test {

// Answers every dialog from a script and records what was shown. A dialog
// that the script does not expect fails the test and is cancelled.
class FakeDialogs : public IDialogs {
  public:
    struct Shown {
        std::string Kind; // "ask", "message", "open", "save", "input"
        std::string Caption;
        std::string Text;
        FileDialogRequest Request;
    };

    std::deque<int> Answers;
    std::deque<std::vector<std::string>> OpenAnswers;
    std::deque<std::optional<std::string>> SaveAnswers;
    std::vector<Shown> Log;

    int AskYesNo(const std::string& caption, const std::string& text, bool withCancel) override;
    void ShowMessageBox(const std::string& caption, const std::string& text) override;
    std::vector<std::string> OpenFileNames(const FileDialogRequest& request) override;
    std::optional<std::string> SaveFileName(const FileDialogRequest& request) override;
    std::optional<std::string> InputBox(const std::string& caption, const std::string& prompt,
                                        const std::string& value) override;

    // Texts of the message boxes shown, in order.
    std::vector<std::string> Messages() const;
    // Texts of the questions asked, in order.
    std::vector<std::string> Questions() const;
    // True when every scripted answer was used.
    bool ScriptUsed() const { return Answers.empty() && OpenAnswers.empty() && SaveAnswers.empty(); }
};

// The text of a small valid chart file; `level` shifts every sample.
std::string ChartFileBytes(const std::string& description, int samples = 50, int level = 0);
// Writes such a chart into a folder and returns its path.
std::string WriteChart(const std::string& folder, const std::string& name,
                       const std::string& description = "test", int level = 0);

} // namespace lumidrax::test
