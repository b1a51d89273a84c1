#pragma once
// Scripted dialogs and chart fixtures for the viewer tests.

#include "IDialogs.h"
#include "TFrm_main_Lumidrax32.h"
#include "TestSupport.h"

#include <QColor>
#include <QSet>
#include <QSize>
#include <QWidget>

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class QListWidget;

namespace lumidrax {
class PlotWidget;
}

namespace lumidrax::test {

// Answers every dialog from a script and records what was shown. A dialog
// that the script does not expect fails the test and is cancelled.
class FakeDialogs : public IDialogs {
  public:
    struct Shown {
        std::string Kind; // "ask", "message", "open", "save", "input", "color"
        std::string Caption;
        std::string Text; // input box: the prompt
        FileDialogRequest Request;
        std::string Value; // input box: the text it starts with
    };

    std::deque<int> Answers;
    std::deque<std::vector<std::string>> OpenAnswers;
    std::deque<std::optional<std::string>> SaveAnswers;
    // Texts typed into input boxes (nothing: Cancel).
    std::deque<std::optional<std::string>> InputAnswers;
    // Colours chosen in the colour dialog (nothing: Cancel).
    std::deque<std::optional<std::uint32_t>> ColorAnswers;
    // Printer dialogs: the PDF file to print to, or "queue:NAME" for the
    // printer queue NAME (nothing: Cancel). The preview that follows is
    // accepted. The dialog is logged with the job's name as its caption.
    std::deque<std::optional<std::string>> PrinterAnswers;
    std::vector<Shown> Log;
    // Runs while each dialog is open (after it is logged, before it is
    // answered), as the event loop of a real dialog would: a test lets a
    // transfer arrive here.
    std::function<void(const Shown&)> WhileOpen;

    int AskYesNo(const std::string& caption, const std::string& text, bool withCancel) override;
    void ShowMessageBox(const std::string& caption, const std::string& text) override;
    std::vector<std::string> OpenFileNames(const FileDialogRequest& request) override;
    std::optional<std::string> SaveFileName(const FileDialogRequest& request) override;
    std::optional<std::string> InputBox(const std::string& caption, const std::string& prompt,
                                        const std::string& value) override;
    std::optional<std::uint32_t> ChooseColor(std::uint32_t initial) override;
    bool SetUpPrinter(QPrinter& printer) override;
    bool PreviewPrint(QPrinter& printer, const std::function<void(QPrinter&)>& paint) override;

    // Texts of the message boxes shown, in order.
    std::vector<std::string> Messages() const;
    // Texts of the questions asked, in order.
    std::vector<std::string> Questions() const;
    // True when every scripted answer was used.
    bool ScriptUsed() const
    {
        return Answers.empty() && OpenAnswers.empty() && SaveAnswers.empty() && InputAnswers.empty() &&
               ColorAnswers.empty() && PrinterAnswers.empty();
    }
};

// The text of a small valid chart file; `level` shifts every sample.
std::string ChartFileBytes(const std::string& description, int samples = 50, int level = 0);
// Writes such a chart into a folder and returns its path.
std::string WriteChart(const std::string& folder, const std::string& name,
                       const std::string& description = "test", int level = 0);

// Creates the main window into `w` with these scripted dialogs (and no
// settings file unless the options name one), gives it `size` when one is
// given, waits for its start-up and activates it. False when it did not
// come up in time.
bool StartViewer(std::unique_ptr<TFrm_main_Lumidrax32>& w, FakeDialogs& dialogs,
                 MainWindowOptions options = {}, QSize size = {});

// The same on a settings file of its own in `dir` ([GENERAL] with the data
// folder `dir`, then the lines `sections`), its archive spool there too.
bool StartViewerWithSettings(std::unique_ptr<TFrm_main_Lumidrax32>& w, FakeDialogs& dialogs,
                             const TempDir& dir, const std::string& sections);

// A viewer of `size` started with scripted dialogs and these options
// (`started` says whether it came up), a temporary folder for its files, and
// the parts of its chart page the tests look at.
struct ChartViewer {
    explicit ChartViewer(QSize size = {}, MainWindowOptions options = {})
    {
        started = StartViewer(w, dialogs, std::move(options), size);
    }

    TMereni& Charts() { return w->Charts(); }
    ChartMenus& Menus() { return w->Menus(); }
    PlotWidget* Plot();
    QListWidget* List();
    // A key typed into the widget with the focus (the window when none has it).
    void Key(int key, Qt::KeyboardModifiers mods = Qt::NoModifier);
    // Hands the files to the viewer as second instances do and waits until
    // they are open, as one batch; false when they did not all open in time.
    bool OpenBatch(const std::vector<std::string>& files);

    TempDir dir;
    FakeDialogs dialogs;
    std::unique_ptr<TFrm_main_Lumidrax32> w;
    bool started = false;
};

// Ends the test when the viewer `v` did not come up.
#define START(v) ASSERT_TRUE((v).started)

// A viewer with scripted dialogs whose settings file lies in a temporary
// folder, the charts it saves by itself going below that folder too.
struct SettingsFileViewer {
    TempDir dir;
    FakeDialogs dialogs;
    std::unique_ptr<TFrm_main_Lumidrax32> w;

    std::string Ini() const { return dir.File("lumidrax.INI"); }
    std::string SaveRoot() const { return dir.Path() + "/saved/"; }

    // Writes the settings file ([GENERAL]: the data and save folders, then
    // the lines `general`; [PORTS]: the lines `ports`), creates the save
    // folder, starts the window and waits for its start-up.
    bool Start(const std::string& general, const std::string& ports);
};

// The colours (0xRRGGBB) inside the colour mark column of a chart list row,
// scrolled into view.
QSet<QRgb> MarkColours(QListWidget* list, int row);

// Runs `steps` on the modal window that is open once the event loop turns
// (the one the next command opens); fails the test when none is open.
void WhenModalOpens(std::function<void(QWidget&)> steps);

// The same with the window's first child of type `Child`, which it must have.
template <class Child> void WhenModalOpensWith(std::function<void(QWidget& window, Child& child)> steps)
{
    WhenModalOpens([steps = std::move(steps)](QWidget& window) {
        auto* child = window.findChild<Child*>();
        ASSERT_NE(child, nullptr);
        steps(window, *child);
    });
}

} // namespace lumidrax::test
