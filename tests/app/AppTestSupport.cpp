#include "AppTestSupport.h"
#include "ChartPage.h"
#include "ChartViewPanel.h"

#include <QApplication>
#include <QImage>
#include <QListWidget>
#include <QPrinter>

#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace lumidrax::test {

namespace {

void RunWhileOpen(FakeDialogs& d)
{
    if (d.WhileOpen)
        d.WhileOpen(d.Log.back());
}

} // namespace

int FakeDialogs::AskYesNo(const std::string& caption, const std::string& text, bool withCancel)
{
    Log.push_back({withCancel ? "ask3" : "ask", caption, text, {}, {}});
    RunWhileOpen(*this);
    if (Answers.empty()) {
        ADD_FAILURE() << "unexpected question: " << caption << ": " << text;
        return withCancel ? kAnswerCancel : kAnswerNo;
    }
    const int answer = Answers.front();
    Answers.pop_front();
    return answer;
}

void FakeDialogs::ShowMessageBox(const std::string& caption, const std::string& text)
{
    Log.push_back({"message", caption, text, {}, {}});
    RunWhileOpen(*this);
}

std::vector<std::string> FakeDialogs::OpenFileNames(const FileDialogRequest& request)
{
    Log.push_back({"open", request.Title, request.FileName, request, {}});
    RunWhileOpen(*this);
    if (OpenAnswers.empty()) {
        ADD_FAILURE() << "unexpected open dialog";
        return {};
    }
    auto names = OpenAnswers.front();
    OpenAnswers.pop_front();
    return names;
}

std::optional<std::string> FakeDialogs::SaveFileName(const FileDialogRequest& request)
{
    Log.push_back({"save", request.Title, request.FileName, request, {}});
    RunWhileOpen(*this);
    if (SaveAnswers.empty()) {
        ADD_FAILURE() << "unexpected save dialog proposing " << request.FileName;
        return std::nullopt;
    }
    auto name = SaveAnswers.front();
    SaveAnswers.pop_front();
    return name;
}

std::optional<std::string> FakeDialogs::InputBox(const std::string& caption, const std::string& prompt,
                                                 const std::string& value)
{
    Log.push_back({"input", caption, prompt, {}, value});
    RunWhileOpen(*this);
    if (InputAnswers.empty()) {
        ADD_FAILURE() << "unexpected input box: " << caption;
        return std::nullopt;
    }
    auto text = InputAnswers.front();
    InputAnswers.pop_front();
    return text;
}

std::optional<std::uint32_t> FakeDialogs::ChooseColor(std::uint32_t)
{
    Log.push_back({"color", {}, {}, {}, {}});
    RunWhileOpen(*this);
    if (ColorAnswers.empty()) {
        ADD_FAILURE() << "unexpected colour dialog";
        return std::nullopt;
    }
    auto colour = ColorAnswers.front();
    ColorAnswers.pop_front();
    return colour;
}

bool FakeDialogs::SetUpPrinter(QPrinter& printer)
{
    Log.push_back({"printer", printer.docName().toStdString(), {}, {}, {}});
    RunWhileOpen(*this);
    if (PrinterAnswers.empty()) {
        ADD_FAILURE() << "unexpected printer dialog";
        return false;
    }
    const auto file = PrinterAnswers.front();
    PrinterAnswers.pop_front();
    if (!file)
        return false;
    if (file->rfind("queue:", 0) == 0) {
        printer.setPrinterName(QString::fromStdString(file->substr(6)));
        return printer.isValid();
    }
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QString::fromStdString(*file));
    return true;
}

bool FakeDialogs::PreviewPrint(QPrinter&, const std::function<void(QPrinter&)>&)
{
    Log.push_back({"preview", {}, {}, {}, {}});
    RunWhileOpen(*this);
    return true;
}

std::vector<std::string> FakeDialogs::Messages() const
{
    std::vector<std::string> out;
    for (const Shown& s : Log)
        if (s.Kind == "message")
            out.push_back(s.Text);
    return out;
}

std::vector<std::string> FakeDialogs::Questions() const
{
    std::vector<std::string> out;
    for (const Shown& s : Log)
        if (s.Kind == "ask" || s.Kind == "ask3")
            out.push_back(s.Text);
    return out;
}

std::string ChartFileBytes(const std::string& description, int samples, int level)
{
    std::string text = description + "\r\n";
    text += "1000     660     50     0     0     0     10     0     0     0     0     0     0\r\n";
    for (int k = 0; k < samples; ++k)
        text += std::to_string(level + (k * 7) % 40) + ",5\r\n";
    return text;
}

std::string WriteChart(const std::string& folder, const std::string& name, const std::string& description,
                       int level)
{
    const std::string path = (std::filesystem::path(folder) / name).string();
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    std::ofstream out(path, std::ios::binary);
    out << ChartFileBytes(description, 50, level);
    return path;
}

bool StartViewer(std::unique_ptr<TFrm_main_Lumidrax32>& w, FakeDialogs& dialogs, MainWindowOptions options,
                 QSize size)
{
    options.Dialogs = &dialogs;
    if (!options.SettingsAt)
        options.UseSettingsFile = false;
    w = std::make_unique<TFrm_main_Lumidrax32>(options);
    if (size.isValid())
        w->resize(size);
    QSignalSpy initialised(w.get(), &TFrm_main_Lumidrax32::Initialised);
    if (!initialised.wait(5000))
        return false;
    w->activateWindow();
    return QTest::qWaitForWindowActive(w.get());
}

bool StartViewerWithSettings(std::unique_ptr<TFrm_main_Lumidrax32>& w, FakeDialogs& dialogs,
                             const TempDir& dir, const std::string& sections)
{
    dir.Write("lumidrax.INI", "[GENERAL]\r\nDATAPATH=" + dir.Path() + "/\r\n" + sections);
    MainWindowOptions options;
    options.SettingsAt = SettingsLocation{dir.File("lumidrax.INI"), dir.Path() + "/"};
    options.ArchiveSpoolFolder = dir.File("spool");
    return StartViewer(w, dialogs, options);
}

bool SettingsFileViewer::Start(const std::string& general, const std::string& ports)
{
    dir.Write("lumidrax.INI", "[GENERAL]\r\nDATAPATH=" + dir.Path() + "/\r\nSAVEROOT=" + SaveRoot() + "\r\n" +
                                  general + "[PORTS]\r\n" + ports);
    std::filesystem::create_directories(SaveRoot());
    MainWindowOptions options;
    options.Dialogs = &dialogs;
    options.SettingsAt = SettingsLocation{Ini(), dir.Path() + "/"};
    w = std::make_unique<TFrm_main_Lumidrax32>(options);
    QSignalSpy initialised(w.get(), &TFrm_main_Lumidrax32::Initialised);
    return initialised.wait(5000);
}

QSet<QRgb> MarkColours(QListWidget* list, int row)
{
    list->scrollToItem(list->item(row));
    const QRect r = list->visualItemRect(list->item(row));
    const QImage image = list->viewport()->grab(QRect(16, r.top(), 16, r.height())).toImage();
    QSet<QRgb> colours;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            colours.insert(image.pixel(x, y) & 0xFFFFFFu);
    return colours;
}

void WhenModalOpens(std::function<void(QWidget&)> steps)
{
    QTimer::singleShot(0, [steps = std::move(steps)] {
        QWidget* window = QApplication::activeModalWidget();
        ASSERT_NE(window, nullptr);
        steps(*window);
    });
}

PlotWidget* ChartViewer::Plot()
{
    return w->ChartsPage().View()->Plot();
}

QListWidget* ChartViewer::List()
{
    return w->ChartsPage().ChartList();
}

void ChartViewer::Key(int key, Qt::KeyboardModifiers mods)
{
    QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : w.get();
    QTest::keyClick(target, static_cast<Qt::Key>(key), mods);
}

bool ChartViewer::OpenBatch(const std::vector<std::string>& files)
{
    const int before = w->Charts().Count;
    for (const std::string& f : files)
        w->ReceiveHandedOverName(f);
    QSignalSpy batch(w.get(), &TFrm_main_Lumidrax32::BatchOpened);
    return batch.wait(5000) && w->Charts().Count == before + static_cast<int>(files.size());
}

} // namespace lumidrax::test
