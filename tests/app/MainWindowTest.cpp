// The main window driven as a person would: keys, menu commands, drops and a
// second instance; checks what the person sees and what lands on disk.

#include "AppTestSupport.h"
#include "ChartListPopup.h"
#include "ChartMenus.h"
#include "ChartNotifier.h"
#include "ChartPage.h"
#include "ChartViewPanel.h"
#include "InstanceChannel.h"
#include "Limits.h"
#include "ReportMenus.h"
#include "TFrm_main_Lumidrax32.h"
#include "TestSupport.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QLocalSocket>
#include <QMenuBar>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QProcess>
#include <QSet>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTest>
#include <QToolBar>
#include <QUrl>
#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <thread>

namespace lumidrax {
namespace {

namespace fs = std::filesystem;
using test::FakeDialogs;
using test::ReadFile;
using test::TempDir;
using test::WriteChart;

// A started viewer with scripted dialogs.
struct Viewer {
    FakeDialogs dialogs;
    std::unique_ptr<TFrm_main_Lumidrax32> w;

    explicit Viewer(std::vector<std::string> args = {}, QString instance = {},
                    const std::string& saveRoot = {})
    {
        MainWindowOptions options;
        options.Arguments = std::move(args);
        options.InstanceName = std::move(instance);
        options.Dialogs = &dialogs;
        options.UseSettingsFile = false;
        w = std::make_unique<TFrm_main_Lumidrax32>(options);
        if (!saveRoot.empty())
            w->AppSettings().SaveRoot = w->AppSettings().DataPath = saveRoot;
        QSignalSpy initialised(w.get(), &TFrm_main_Lumidrax32::Initialised);
        hiddenAtStart = !w->isVisible();
        started = initialised.wait(5000);
        if (started) {
            w->activateWindow();
            activated = QTest::qWaitForWindowActive(w.get());
        }
    }

    bool hiddenAtStart = false;
    bool started = false;
    bool activated = false;

    ChartMenus& Menus() { return w->Menus(); }
    QListWidget* List() { return w->ChartsPage().ChartList(); }
    TMereni& Charts() { return w->Charts(); }
    void Key(Qt::Key key, Qt::KeyboardModifiers mods = Qt::NoModifier)
    {
        QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : w.get();
        QTest::keyClick(target, key, mods);
    }
    void ClickRow(int row, Qt::KeyboardModifiers mods = Qt::NoModifier)
    {
        QListWidget* list = List();
        const QRect r = list->visualItemRect(list->item(row));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, mods, r.center());
    }
    QStringList Rows()
    {
        QStringList rows;
        for (int k = 0; k < List()->count(); ++k)
            rows << List()->item(k)->text();
        return rows;
    }
    // Opens these files with Ctrl+O, as chosen in the open dialog.
    void OpenWithCtrlO(std::vector<std::string> files)
    {
        dialogs.OpenAnswers = {std::move(files)};
        Key(Qt::Key_O, Qt::ControlModifier);
    }
    // Chart descriptions in number order.
    std::vector<std::string> Descriptions()
    {
        std::vector<std::string> out;
        for (int i = 1; i <= Charts().Count; ++i)
            out.push_back(Charts().Rec(i).Description);
        return out;
    }
    // Adds an unsaved chart as a transfer from the instrument would.
    void AddReceived(const std::string& description, const std::string& autoName = {})
    {
        TJednoMereni r;
        r.Interval = 1000;
        r.Velocity = 0.66L;
        r.Pozice0X = 10;
        r.Description = description;
        r.SetSamples(std::vector<long double>(40, 5.5L));
        r.AutoFileName = autoName;
        r.DisplayName = autoName;
        r.IsNew = true;
        Charts().AppendRecord(std::move(r));
        emit w->Notifier().chartsAdded();
    }
};

#define START_VIEWER(v)                                                                                      \
    ASSERT_TRUE((v).started);                                                                                \
    ASSERT_TRUE((v).activated)

// Runs events until the condition holds, failing the test when it does not
// within timeoutMs. (A failed QTRY_* only returns from a gtest test, which
// then passes.)
#define WAIT_UNTIL(condition, timeoutMs)                                                                     \
    ASSERT_TRUE(QTest::qWaitFor([&] { return static_cast<bool>(condition); }, timeoutMs)) << #condition

TEST(MainWindow, StartsHiddenThenShowsTheChartPageWithItsCommands)
{
    Viewer v;
    START_VIEWER(v);
    EXPECT_TRUE(v.hiddenAtStart);
    EXPECT_TRUE(v.w->isVisible());
    EXPECT_EQ(v.w->windowTitle(), "Lumidrax");
    EXPECT_EQ(v.w->Pages()->tabText(0), "Chart");
    EXPECT_EQ(v.w->Pages()->tabText(1), "Report");
    EXPECT_EQ(v.w->Pages()->currentIndex(), 0);
    ChartMenus& m = v.Menus();
    EXPECT_TRUE(m.MainMenu->isVisible());
    EXPECT_FALSE(v.w->RepMenus().MainMenuRep->isVisible());
    EXPECT_TRUE(m.ToolBar->isVisible());
    EXPECT_FALSE(v.w->RepMenus().RepToolBar->isVisible());
    // Nothing loaded: only Open and the toggles work.
    EXPECT_TRUE(m.mi_file_open->isEnabled());
    EXPECT_FALSE(m.mi_file_close_selected->isEnabled());
    EXPECT_FALSE(m.mi_file_close_all->isEnabled());
    EXPECT_FALSE(m.mi_save_selected->isEnabled());
    EXPECT_FALSE(m.mi_save_all->isEnabled());
    EXPECT_FALSE(m.mi_file_saveas->isEnabled());
    EXPECT_FALSE(m.mi_file_close->isEnabled());
    EXPECT_FALSE(m.mi_file_save->isEnabled());
    EXPECT_EQ(m.mi_file_open->text(), "&Open...");
    EXPECT_EQ(m.mi_file_open->shortcut(), QKeySequence("Ctrl+O"));
    EXPECT_EQ(m.mi_file_saveas->text(), "S&ave Selected Chart As...");
    EXPECT_EQ(m.mi_file_saveas->shortcut(), QKeySequence("Ctrl+Shift+S"));
    EXPECT_EQ(m.mi_file_close_selected->shortcut(), QKeySequence("Ctrl+F4"));
    EXPECT_EQ(m.mi_file_close_all->shortcut(), QKeySequence("Ctrl+N"));
    EXPECT_EQ(m.mi_save_selected->shortcut(), QKeySequence("Ctrl+S"));
    EXPECT_FALSE(m.mi_file_autoname->isVisible());

    // The hint of the item under the mouse shows in the first status panel.
    m.mi_file_saveas->showStatusText(v.w.get());
    EXPECT_EQ(v.w->StatusText(0), "Save Selected Chart As");
    m.mi_file_open->showStatusText(v.w.get());
    EXPECT_EQ(v.w->StatusText(0), "Open Chart");

    // The report page brings its own menu and tool bar; Ctrl+O there opens
    // reports, not charts.
    v.w->Pages()->setCurrentIndex(1);
    EXPECT_FALSE(m.MainMenu->isVisible());
    EXPECT_TRUE(v.w->RepMenus().MainMenuRep->isVisible());
    EXPECT_TRUE(v.w->RepMenus().RepToolBar->isVisible());
    EXPECT_FALSE(m.ToolBar->isVisible());
    v.dialogs.OpenAnswers.push_back({});
    v.Key(Qt::Key_O, Qt::ControlModifier);
    ASSERT_EQ(v.dialogs.Log.size(), 1u);
    EXPECT_EQ(v.dialogs.Log[0].Request.Filter, "Report files|*.txt");
    v.w->Pages()->setCurrentIndex(0);
    EXPECT_TRUE(m.MainMenu->isVisible());
}

TEST(MainWindow, OpensChartsByTheDialogAndReportsARepeatedFile)
{
    TempDir dir;
    Viewer v({}, {}, dir.Path() + "/");
    START_VIEWER(v);
    const std::string c = WriteChart(dir.Path(), "c.ndt", "third");
    const std::string a = WriteChart(dir.Path(), "a.ndt", "first");
    const std::string b = WriteChart(dir.Path(), "b.ndt", "second");
    v.dialogs.OpenAnswers = {{c, a, b}};
    v.Key(Qt::Key_O, Qt::ControlModifier);
    ASSERT_EQ(v.dialogs.Log.size(), 1u);
    EXPECT_EQ(v.dialogs.Log[0].Kind, "open");
    EXPECT_EQ(v.dialogs.Log[0].Request.Title, "Open file ...");
    EXPECT_EQ(v.dialogs.Log[0].Request.Filter, "Chart files|*.ndt");
    EXPECT_EQ(v.dialogs.Log[0].Request.Folder, dir.Path() + "/");
    EXPECT_EQ(v.Rows(), (QStringList{"1", "2", "3"}));
    EXPECT_EQ(v.Descriptions(), (std::vector<std::string>{"first", "second", "third"}));
    // The new charts are selected: several, so no single reference.
    EXPECT_EQ(v.List()->selectedItems().size(), 3);
    EXPECT_EQ(v.Charts().RefIndex, 0);
    ChartMenus& m = v.Menus();
    EXPECT_TRUE(m.mi_file_close_selected->isEnabled());
    EXPECT_TRUE(m.mi_file_close_all->isEnabled());
    EXPECT_TRUE(m.mi_save_all->isEnabled());
    EXPECT_FALSE(m.mi_file_saveas->isEnabled());

    // Picking one row makes it the only selection: save as is offered.
    v.ClickRow(1);
    EXPECT_EQ(v.List()->selectedItems().size(), 1);
    EXPECT_EQ(v.Charts().RefIndex, 2);
    EXPECT_EQ(v.Charts().ActiveIndex, 2);
    EXPECT_TRUE(m.mi_file_saveas->isEnabled());

    // The same file again through the dialog: one message naming it.
    v.dialogs.OpenAnswers = {{a}};
    m.mi_file_open->trigger();
    EXPECT_EQ(v.dialogs.Messages(), std::vector<std::string>{"Error: chart " + a + " already loaded."});
    EXPECT_EQ(v.Charts().Count, 3);
    // Cancel in the dialog does nothing.
    v.dialogs.OpenAnswers = {{}};
    m.mi_file_open->trigger();
    EXPECT_EQ(v.Charts().Count, 3);
}

TEST(MainWindow, OpensDroppedChartFilesInNameOrder)
{
    TempDir dir;
    Viewer v;
    START_VIEWER(v);
    v.w->Pages()->setCurrentIndex(1);
    const std::string b = WriteChart(dir.Path(), "B.ndt", "bee");
    const std::string a = WriteChart(dir.Path(), "a.NDT", "ay");
    const std::string txt = WriteChart(dir.Path(), "c.txt", "text");
    QMimeData mime;
    mime.setUrls({QUrl::fromLocalFile(QString::fromStdString(b)),
                  QUrl::fromLocalFile(QString::fromStdString(a)),
                  QUrl::fromLocalFile(QString::fromStdString(txt))});
    const QPoint at = v.w->rect().center();
    QDragEnterEvent enter(at, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(v.w.get(), &enter);
    EXPECT_TRUE(enter.isAccepted());
    QSignalSpy batches(v.w.get(), &TFrm_main_Lumidrax32::BatchOpened);
    QDropEvent drop(QPointF(at), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(v.w.get(), &drop);
    ASSERT_EQ(batches.size(), 1);
    EXPECT_EQ(batches[0][0].toInt(), 2);
    EXPECT_EQ(v.Descriptions(), (std::vector<std::string>{"ay", "bee"}));
    EXPECT_EQ(v.Rows(), (QStringList{"1", "2"}));
    // The drop brought the chart page forward.
    EXPECT_EQ(v.w->Pages()->currentIndex(), 0);
    EXPECT_TRUE(v.dialogs.Log.empty());
}

TEST(MainWindow, ASecondInstanceHandsItsFileOverAndEnds)
{
    TempDir dir;
    Viewer v({}, DefaultInstanceName());
    START_VIEWER(v);
    const std::string one = WriteChart(dir.Path(), "one.ndt", "from second instance");

    QProcess second;
    second.start(QString::fromStdString(test::BinPath("lumidrax")), {QString::fromStdString(one)});
    ASSERT_TRUE(second.waitForStarted(5000));
    // The second process waits for the answer while this one serves it.
    WAIT_UNTIL(second.state() == QProcess::NotRunning, 10000);
    if (second.state() != QProcess::NotRunning)
        second.kill();
    EXPECT_EQ(second.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(second.exitCode(), 0);
    WAIT_UNTIL(v.Charts().Count == 1, 5000);
    EXPECT_EQ(v.Descriptions(), std::vector<std::string>{"from second instance"});
    EXPECT_EQ(v.Rows(), QStringList{"1"});

    // A second instance with no file name also ends and hands nothing over.
    QProcess empty;
    empty.start(QString::fromStdString(test::BinPath("lumidrax")), {});
    ASSERT_TRUE(empty.waitForStarted(5000));
    WAIT_UNTIL(empty.state() == QProcess::NotRunning, 10000);
    EXPECT_EQ(empty.exitCode(), 0);
    QTest::qWait(0);
    EXPECT_TRUE(v.w->PendingFiles().empty());
}

TEST(MainWindow, NamesArrivingInQuickSuccessionOpenAsOneBatch)
{
    TempDir dir;
    const QString name = DefaultInstanceName() + "-batch";
    Viewer v({}, name);
    START_VIEWER(v);
    std::vector<std::string> files = {WriteChart(dir.Path(), "z.ndt", "zed"),
                                      WriteChart(dir.Path(), "m.ndt", "em"),
                                      WriteChart(dir.Path(), "A.ndt", "ay")};
    QSignalSpy batches(v.w.get(), &TFrm_main_Lumidrax32::BatchOpened);
    std::vector<std::thread> senders;
    std::atomic<int> answered{0};
    for (const std::string& f : files)
        senders.emplace_back([&, f] {
            if (HandOverToRunningInstance(name, {f}))
                ++answered;
        });
    WAIT_UNTIL(answered.load() == 3, 5000);
    for (std::thread& t : senders)
        t.join();
    WAIT_UNTIL(batches.size() == 1, 5000);
    EXPECT_EQ(batches[0][0].toInt(), 3);
    EXPECT_EQ(v.Descriptions(), (std::vector<std::string>{"ay", "em", "zed"}));
    EXPECT_TRUE(v.dialogs.Log.empty());
}

TEST(MainWindow, CommandLineOpensOneChartOrABatchAndNamesAMissingFile)
{
    TempDir dir;
    {
        Viewer v({dir.File("missing.ndt")});
        START_VIEWER(v);
        EXPECT_EQ(v.dialogs.Messages(),
                  std::vector<std::string>{"Error: file " + dir.File("missing.ndt") + " does not exists."});
        EXPECT_EQ(v.Charts().Count, 0);
    }
    {
        const std::string b = WriteChart(dir.Path(), "b.ndt", "bee");
        const std::string a = WriteChart(dir.Path(), "a.ndt", "ay");
        Viewer v({b, a, dir.File("x.txt")});
        START_VIEWER(v);
        EXPECT_EQ(v.Descriptions(), (std::vector<std::string>{"ay", "bee"}));
        EXPECT_TRUE(v.dialogs.Log.empty());
    }
}

TEST(MainWindow, NamesThatAreNotUtf8OpenFromTheCommandLineADropAndAHandOver)
{
    TempDir dir;
    // Latin-1 bytes, as an old archive or a Windows share may name files.
    const std::string first = WriteChart(dir.Path(), "d\xE9j\xE0.ndt", "first");
    const std::string second = WriteChart(dir.Path(), "n\xFA.ndt", "second");
    const std::string third = WriteChart(dir.Path(), "\xB5s.ndt", "third");
    ASSERT_TRUE(fs::exists(first));
    const QString instance = DefaultInstanceName() + "-bytes";
    Viewer v({first}, instance);
    START_VIEWER(v);
    ASSERT_EQ(v.Charts().Count, 1);
    EXPECT_EQ(v.Charts().Rec(1).FileName, first);

    QMimeData mime;
    mime.setUrls({QUrl::fromEncoded("file://" + QByteArray::fromStdString(second).toPercentEncoding("/"))});
    const QPoint at = v.w->rect().center();
    QDragEnterEvent enter(at, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(v.w.get(), &enter);
    QDropEvent drop(QPointF(at), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(v.w.get(), &drop);
    ASSERT_EQ(v.Charts().Count, 2);
    EXPECT_EQ(v.Charts().Rec(2).FileName, second);

    std::atomic<bool> handed{false};
    std::thread sender([&] { handed = HandOverToRunningInstance(instance, {third}); });
    WAIT_UNTIL(v.Charts().Count == 3, 5000);
    sender.join();
    EXPECT_TRUE(handed);
    EXPECT_EQ(v.Charts().Rec(3).FileName, third);
    EXPECT_EQ(v.Descriptions(), (std::vector<std::string>{"first", "second", "third"}));
    EXPECT_TRUE(v.dialogs.Log.empty());
}

TEST(MainWindow, TheEleventhChartIsListedButNotDrawn)
{
    TempDir dir;
    Viewer v;
    START_VIEWER(v);
    std::vector<std::string> names;
    for (int k = 1; k <= 11; ++k)
        names.push_back(WriteChart(dir.Path(),
                                   "chart" + std::string(k < 10 ? "0" : "") + std::to_string(k) + ".ndt",
                                   "chart " + std::to_string(k), k));
    v.dialogs.OpenAnswers = {names};
    v.Menus().mi_file_open->trigger();
    ASSERT_EQ(v.Charts().Count, 11);
    EXPECT_EQ(v.List()->count(), 11);
    EXPECT_EQ(v.Charts().ShownCount, kMaxShown);
    for (int i = 1; i <= 10; ++i)
        EXPECT_TRUE(v.Charts().Rec(i).Shown) << i;
    EXPECT_FALSE(v.Charts().Rec(11).Shown);
    EXPECT_EQ(v.Charts().Rec(11).Color, kWhite);
    EXPECT_EQ(v.Charts().Rec(11).ColorSlot, 0);

    // In the list, the colour mark of row 1 is red; that of row 11 is blank
    // (white on the white list).
    EXPECT_TRUE(test::MarkColours(v.List(), 0).contains(SlotColour(1)));
    EXPECT_EQ(test::MarkColours(v.List(), 10), QSet<QRgb>{kWhite});

    // The plot shows the ten curve colours, and the 11th chart adds nothing:
    // the picture equals that of a viewer with only the first ten.
    const QImage withEleven =
        v.w->ChartsPage().View()->Plot()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    ASSERT_FALSE(withEleven.isNull());
    for (int slot = 1; slot <= 9; ++slot) {
        const QRgb wanted = 0xFF000000u | SlotColour(slot);
        bool found = false;
        for (int y = 0; y < withEleven.height() && !found; ++y)
            for (int x = 0; x < withEleven.width() && !found; ++x)
                found = withEleven.pixel(x, y) == wanted;
        EXPECT_TRUE(found) << "slot " << slot;
    }
    Viewer ten;
    START_VIEWER(ten);
    names.pop_back();
    ten.dialogs.OpenAnswers = {names};
    ten.Menus().mi_file_open->trigger();
    ASSERT_EQ(ten.Charts().Count, 10);
    ASSERT_EQ(ten.w->ChartsPage().View()->Plot()->size(), v.w->ChartsPage().View()->Plot()->size());
    const QImage withTen =
        ten.w->ChartsPage().View()->Plot()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    EXPECT_TRUE(withTen == withEleven);
}

TEST(MainWindow, SaveAndSaveAsFollowTheAnswers)
{
    TempDir dir;
    Viewer v({}, {}, dir.Path() + "/");
    START_VIEWER(v);
    const std::string loaded = WriteChart(dir.Path(), "loaded.ndt", "original");
    v.OpenWithCtrlO({loaded});
    v.AddReceived("received", dir.Path() + "/26-12-08/101010.ndt");
    EXPECT_EQ(v.Rows(), (QStringList{"1", "2"}));
    v.Charts().Rec(1).Description = "edited";
    v.Charts().Rec(1).Saved = false;

    // Ctrl+S on the loaded chart rewrites its file without a question.
    v.ClickRow(0);
    v.Key(Qt::Key_S, Qt::ControlModifier);
    EXPECT_TRUE(v.dialogs.Log.size() == 1u); // only the open dialog
    EXPECT_TRUE(v.Charts().Rec(1).Saved);
    EXPECT_EQ(ReadFile(loaded).substr(0, 8), "edited\r\n");
    EXPECT_EQ(v.Charts().RefIndex, 1);

    // The received chart: its automatic folder is missing; No, then Cancel in
    // the save dialog leaves it unsaved.
    v.ClickRow(1);
    v.dialogs.Answers = {kAnswerNo};
    v.dialogs.SaveAnswers = {std::nullopt};
    v.Key(Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(v.dialogs.Questions().back(),
              "Directory " + dir.Path() + "/26-12-08/ does not exist. Create it ?");
    EXPECT_EQ(v.dialogs.Log.back().Request.FileName, "101010.ndt");
    EXPECT_FALSE(v.Charts().Rec(2).Saved);
    EXPECT_FALSE(fs::exists(dir.Path() + "/26-12-08"));

    // Save as: Cancel, then a declined overwrite, then a new name.
    const std::string other = WriteChart(dir.Path(), "other.ndt", "other");
    v.dialogs.SaveAnswers = {std::nullopt, other, dir.Path() + "/kept.ndt"};
    // Each time the missing automatic folder is offered first (No).
    v.dialogs.Answers = {kAnswerNo, kAnswerNo, kAnswerNo, kAnswerNo};
    v.Key(Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(v.dialogs.Log.back().Request.Title, "Save as ...");
    EXPECT_FALSE(v.Charts().Rec(2).Saved);
    v.Key(Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(v.dialogs.Questions().back(), "File " + other + " already exists. Overwrite ?");
    EXPECT_FALSE(v.Charts().Rec(2).Saved);
    EXPECT_EQ(ReadFile(other).substr(0, 7), "other\r\n");
    v.Key(Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_TRUE(v.Charts().Rec(2).Saved);
    EXPECT_EQ(v.Charts().Rec(2).DisplayName, dir.Path() + "/kept.ndt");
    EXPECT_TRUE(fs::exists(dir.Path() + "/kept.ndt"));
    EXPECT_TRUE(v.dialogs.ScriptUsed());

    // Save all with AutoSave on: the missing automatic folder is made
    // without a question.
    v.Menus().mi_file_autosave->trigger();
    EXPECT_TRUE(v.Menus().mi_file_autosave->isChecked());
    EXPECT_TRUE(v.w->RepMenus().mi_rep_file_autosave->isChecked());
    EXPECT_TRUE(v.Menus().mi_file_autoname->isChecked());
    v.AddReceived("automatic", dir.Path() + "/26-12-09/121212.ndt");
    const std::size_t before = v.dialogs.Log.size();
    v.Menus().mi_save_all->trigger();
    EXPECT_EQ(v.dialogs.Log.size(), before);
    EXPECT_TRUE(fs::exists(dir.Path() + "/26-12-09/121212.ndt"));
    EXPECT_TRUE(v.Charts().Rec(3).Saved);
    v.Menus().mi_file_autosave->trigger();
    EXPECT_FALSE(v.Menus().mi_file_autosave->isChecked());
    EXPECT_FALSE(v.w->RepMenus().mi_rep_file_autosave->isChecked());
    EXPECT_FALSE(v.w->AppSettings().AutoSave);
}

TEST(MainWindow, CloseCommandsFollowTheAnswers)
{
    TempDir dir;
    Viewer v;
    START_VIEWER(v);
    v.OpenWithCtrlO({WriteChart(dir.Path(), "1.ndt", "one"), WriteChart(dir.Path(), "3.ndt", "three")});
    v.AddReceived("unsaved");
    ASSERT_EQ(v.Descriptions(), (std::vector<std::string>{"one", "three", "unsaved"}));

    // Select all rows with the keyboard-free way a person would: click, then
    // shift-click.
    v.ClickRow(0);
    v.ClickRow(2, Qt::ShiftModifier);
    ASSERT_EQ(v.List()->selectedItems().size(), 3);
    v.dialogs.Answers = {kAnswerCancel};
    v.Key(Qt::Key_F4, Qt::ControlModifier);
    EXPECT_EQ(v.dialogs.Log.back().Caption, "Close");
    EXPECT_EQ(v.dialogs.Log.back().Text, "Save all unsaved charts ?");
    EXPECT_EQ(v.Charts().Count, 3);
    v.dialogs.Answers = {kAnswerYes};
    v.Key(Qt::Key_F4, Qt::ControlModifier);
    EXPECT_EQ(v.Descriptions(), std::vector<std::string>{"unsaved"});
    EXPECT_EQ(v.Rows(), QStringList{"1"});

    v.OpenWithCtrlO({WriteChart(dir.Path(), "4.ndt", "four")});
    v.ClickRow(0);
    v.ClickRow(1, Qt::ControlModifier);
    v.dialogs.Answers = {kAnswerNo};
    v.Key(Qt::Key_F4, Qt::ControlModifier);
    EXPECT_EQ(v.Charts().Count, 0);
    EXPECT_EQ(v.List()->count(), 0);
    EXPECT_FALSE(v.Menus().mi_file_close_all->isEnabled());

    // Close all: Cancel, Yes (keeps the unsaved), No (closes everything).
    v.OpenWithCtrlO({WriteChart(dir.Path(), "5.ndt", "five")});
    v.AddReceived("unsaved again");
    v.dialogs.Answers = {kAnswerCancel, kAnswerYes, kAnswerNo};
    v.Key(Qt::Key_N, Qt::ControlModifier);
    EXPECT_EQ(v.Charts().Count, 2);
    v.Key(Qt::Key_N, Qt::ControlModifier);
    EXPECT_EQ(v.Descriptions(), std::vector<std::string>{"unsaved again"});
    EXPECT_EQ(v.Rows(), QStringList{"1"});
    v.Key(Qt::Key_N, Qt::ControlModifier);
    EXPECT_EQ(v.Charts().Count, 0);
    EXPECT_TRUE(v.dialogs.ScriptUsed());

    // Only saved charts: closed without a question.
    const std::size_t before = v.dialogs.Log.size();
    v.OpenWithCtrlO({WriteChart(dir.Path(), "6.ndt", "six")});
    v.Key(Qt::Key_N, Qt::ControlModifier);
    EXPECT_EQ(v.Charts().Count, 0);
    EXPECT_EQ(v.dialogs.Log.size(), before + 1);
}

TEST(MainWindow, ExitQuestionCancelNoAndYes)
{
    TempDir dir;
    const std::string autoName = dir.Path() + "/26-03-04/080000.ndt";
    const std::string chosen = dir.Path() + "/chosen.ndt";
    {
        Viewer v({}, {}, dir.Path() + "/");
        START_VIEWER(v);
        v.AddReceived("unsaved", autoName);
        QSignalSpy closed(v.w.get(), &TFrm_main_Lumidrax32::Closed);
        v.dialogs.Answers = {kAnswerCancel};
        v.Menus().mi_file_exit->trigger();
        EXPECT_EQ(v.dialogs.Log.back().Kind, "ask3");
        EXPECT_EQ(v.dialogs.Log.back().Caption, "Close");
        EXPECT_EQ(v.dialogs.Log.back().Text, "Save all unsaved charts and reports ?");
        EXPECT_TRUE(v.w->isVisible());
        EXPECT_EQ(closed.size(), 0);

        v.dialogs.Answers = {kAnswerNo};
        v.Menus().mi_file_exit->trigger();
        EXPECT_FALSE(v.w->isVisible());
        EXPECT_EQ(closed.size(), 1);
        EXPECT_FALSE(fs::exists(autoName));
    }
    {
        // Yes writes every unsaved chart; one without any name gets the save
        // dialog instead of failing.
        Viewer v({}, {}, dir.Path() + "/");
        START_VIEWER(v);
        v.AddReceived("automatic", autoName);
        v.AddReceived("nameless");
        QSignalSpy closed(v.w.get(), &TFrm_main_Lumidrax32::Closed);
        v.dialogs.Answers = {kAnswerYes};
        v.dialogs.SaveAnswers = {chosen};
        v.w->close();
        EXPECT_EQ(closed.size(), 1);
        EXPECT_TRUE(fs::exists(autoName));
        EXPECT_EQ(ReadFile(chosen).substr(0, 10), "nameless\r\n");
        EXPECT_EQ(v.dialogs.Log[1].Request.Title, "Save");
    }
    {
        // Yes, but the nameless chart's dialog is cancelled: nothing is lost,
        // the window stays.
        Viewer v;
        START_VIEWER(v);
        v.AddReceived("nameless");
        QSignalSpy closed(v.w.get(), &TFrm_main_Lumidrax32::Closed);
        v.dialogs.Answers = {kAnswerYes};
        v.dialogs.SaveAnswers = {std::nullopt};
        v.w->close();
        EXPECT_EQ(closed.size(), 0);
        EXPECT_TRUE(v.w->isVisible());
        EXPECT_EQ(v.Charts().Count, 1);
    }
    {
        // Nothing unsaved: no question.
        Viewer v;
        START_VIEWER(v);
        QSignalSpy closed(v.w.get(), &TFrm_main_Lumidrax32::Closed);
        v.w->close();
        EXPECT_EQ(closed.size(), 1);
        EXPECT_TRUE(v.dialogs.Log.empty());
    }
}

TEST(MainWindow, HelpOpensAWindowPerRequestAndAboutShowsTheBuild)
{
    Viewer v;
    START_VIEWER(v);
    auto helpWindows = [] {
        int n = 0;
        for (QWidget* top : QApplication::topLevelWidgets())
            if (top->isVisible() && top->windowTitle() == "Lumidrax Help")
                ++n;
        return n;
    };
    v.Key(Qt::Key_F1);
    EXPECT_EQ(helpWindows(), 1);
    v.w->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(v.w.get()));
    v.Menus().mi_help_contens->trigger();
    EXPECT_EQ(helpWindows(), 2);

    QString title;
    QString texts;
    test::WhenModalOpens([&](QWidget& box) {
        title = box.windowTitle();
        for (QLabel* label : box.findChildren<QLabel*>())
            texts += label->text() + "\n";
        box.close();
    });
    v.Menus().mi_help_about->trigger();
    EXPECT_EQ(title, "About Lumidrax");
    EXPECT_TRUE(texts.contains("Build 3.1.0.536")) << texts.toStdString();
}

// What scripts/run.sh does: the viewer started on every example chart.
TEST(MainWindow, StartsOnAllExampleChartsGivenOnTheCommandLine)
{
    std::vector<std::string> args;
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(test::SourcePath("examples")))
        if (entry.path().extension() == ".ndt") {
            args.push_back(entry.path().string());
            names.push_back(entry.path().filename().string());
        }
    ASSERT_GE(args.size(), 2u);
    Viewer v(args);
    START_VIEWER(v);
    EXPECT_TRUE(v.dialogs.Log.empty());
    ASSERT_EQ(v.Charts().Count, static_cast<int>(args.size()));
    std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
        return QString::fromStdString(a).compare(QString::fromStdString(b), Qt::CaseInsensitive) < 0;
    });
    for (int i = 1; i <= v.Charts().Count; ++i)
        EXPECT_EQ(fs::path(v.Charts().Rec(i).FileName).filename().string(), names[i - 1]);
    EXPECT_EQ(v.List()->count(), static_cast<int>(args.size()));
    EXPECT_EQ(v.Charts().ShownCount, std::min<int>(static_cast<int>(args.size()), kMaxShown));
}

// The hand-over channel takes any bytes: names that are not files are
// skipped, an endless name is cut off, and the next instance is served.
TEST(InstanceChannel, SurvivesGarbageAndServesTheNextInstance)
{
    TempDir dir;
    const QString name = DefaultInstanceName() + "-garbage";
    Viewer v({}, name);
    START_VIEWER(v);
    QSignalSpy batches(v.w.get(), &TFrm_main_Lumidrax32::BatchOpened);
    QByteArray answers;
    std::atomic<bool> done{false};
    std::thread sender([&] {
        struct Done {
            std::atomic<bool>& flag;
            ~Done() { flag = true; }
        } finish{done};
        QLocalSocket socket;
        socket.connectToServer(name);
        if (!socket.waitForConnected(3000))
            return;
        socket.write(QByteArray("\xff\xfe\x01 not a file", 14) + '\0');
        socket.waitForBytesWritten(3000);
        if (socket.waitForReadyRead(3000))
            answers += socket.readAll();
        socket.write(QByteArray(InstanceChannel::kMaxNameBytes + 100, 'a'));
        socket.waitForBytesWritten(3000);
        socket.waitForDisconnected(3000);
    });
    WAIT_UNTIL(done.load(), 10000);
    sender.join();
    EXPECT_EQ(answers, QByteArray("1"));
    WAIT_UNTIL(batches.size() == 1, 5000);
    EXPECT_EQ(batches[0][0].toInt(), 0);
    EXPECT_EQ(v.Charts().Count, 0);

    const std::string chart = WriteChart(dir.Path(), "after.ndt", "after garbage");
    std::atomic<bool> handed{false};
    std::atomic<bool> nextDone{false};
    std::thread next([&] {
        handed = HandOverToRunningInstance(name, {chart});
        nextDone = true;
    });
    WAIT_UNTIL(nextDone.load(), 5000);
    next.join();
    WAIT_UNTIL(v.Charts().Count == 1, 5000);
    EXPECT_TRUE(handed);
    EXPECT_TRUE(v.dialogs.Log.empty());
}

TEST(MainWindow, EditsOneDescriptionInPlaceAndSeveralInTheEditor)
{
    TempDir dir;
    Viewer v;
    START_VIEWER(v);
    v.OpenWithCtrlO({WriteChart(dir.Path(), "a.ndt", "alpha"), WriteChart(dir.Path(), "b.ndt", "beta")});

    // One row: F7 opens the field over its description; Esc keeps the text.
    v.ClickRow(1);
    v.Key(Qt::Key_F7);
    auto* field = v.w->findChild<QLineEdit*>("e_description");
    ASSERT_NE(field, nullptr);
    ASSERT_TRUE(field->isVisible());
    EXPECT_EQ(field->text(), "beta");
    QTest::keyClicks(field, "gamma");
    QTest::keyClick(field, Qt::Key_Escape);
    EXPECT_FALSE(field->isVisible());
    EXPECT_EQ(v.Charts().Rec(2).Description, "beta");
    EXPECT_TRUE(v.Charts().Rec(2).Saved);

    // Enter stores it, marks the chart unsaved and shows it in the status bar.
    v.Key(Qt::Key_F7);
    ASSERT_TRUE(field->isVisible());
    QTest::keyClicks(field, "gamma");
    QTest::keyClick(field, Qt::Key_Return);
    EXPECT_FALSE(field->isVisible());
    EXPECT_EQ(v.Charts().Rec(2).Description, "gamma");
    EXPECT_FALSE(v.Charts().Rec(2).Saved);
    EXPECT_EQ(v.w->StatusText(1), "gamma"); // panel 1: the description panel
    EXPECT_NE(v.w->StatusText(0), "gamma");
    EXPECT_EQ(v.Charts().Rec(1).Description, "alpha");

    // Two rows: the description editor, starting empty (they differ).
    v.ClickRow(0, Qt::ShiftModifier);
    ASSERT_EQ(v.List()->selectedItems().size(), 2);
    QString caption;
    QString startText;
    test::WhenModalOpensWith<QPlainTextEdit>([&](QWidget& editor, QPlainTextEdit& memo) {
        caption = editor.windowTitle();
        startText = memo.toPlainText();
        QTest::keyClicks(&memo, "shared");
        QTest::keyClick(&memo, Qt::Key_Return);
    });
    v.Key(Qt::Key_F7);
    EXPECT_EQ(caption, "Description of 2 selected curves");
    EXPECT_EQ(startText, "");
    EXPECT_EQ(v.Descriptions(), (std::vector<std::string>{"shared", "shared"}));
    EXPECT_FALSE(v.Charts().Rec(1).Saved);
    EXPECT_TRUE(v.Menus().mi_curves_edit_desc->isEnabled());
}

TEST(MainWindow, ChartListKeysSelectAllAndCloseWithDelete)
{
    TempDir dir;
    Viewer v;
    START_VIEWER(v);
    v.OpenWithCtrlO({WriteChart(dir.Path(), "a.ndt", "a"), WriteChart(dir.Path(), "b.ndt", "b"),
                     WriteChart(dir.Path(), "c.ndt", "c")});
    v.ClickRow(0);
    ASSERT_EQ(v.List()->selectedItems().size(), 1);
    EXPECT_TRUE(v.w->ListPopup().mi_curves_select_all->isEnabled());
    EXPECT_TRUE(v.w->ListPopup().mi_curves_saveas->isEnabled());
    v.Key(Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(v.List()->selectedItems().size(), 3);
    EXPECT_FALSE(v.w->ListPopup().mi_curves_select_all->isEnabled());
    EXPECT_FALSE(v.w->ListPopup().mi_curves_saveas->isEnabled());
    v.ClickRow(1);
    v.Key(Qt::Key_Delete);
    EXPECT_EQ(v.Descriptions(), (std::vector<std::string>{"a", "c"}));
    EXPECT_EQ(v.Rows(), (QStringList{"1", "2"}));
    // Ctrl+S from the list still reaches the main menu's command.
    v.ClickRow(0);
    v.Charts().Rec(1).Saved = false;
    v.Key(Qt::Key_S, Qt::ControlModifier);
    EXPECT_TRUE(v.Charts().Rec(1).Saved);
    EXPECT_EQ(v.dialogs.Log.size(), 1u);
}

} // namespace
} // namespace lumidrax
