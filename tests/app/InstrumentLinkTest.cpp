// The viewer receiving from the simulated instruments over pseudo-terminals:
// the settings file names the ports ([PORTS] COMn=device), the window opens
// them at start, and the person sees the status boxes, the chart list, the
// reports page and the files saved under the save root.

#include "InstrumentLink.h"
#include "AppTestSupport.h"
#include "ChartMenus.h"
#include "ChartPage.h"
#include "MessageCatalogue.h"
#include "PortTestSupport.h"
#include "ReportCommands.h"
#include "ReportListDelegate.h"
#include "ReportMenus.h"
#include "ReportPage.h"
#include "TFrm_main_Lumidrax32.h"
#include "TestSupport.h"

#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <functional>
#include <iostream>
#include <thread>

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

namespace lumidrax {
namespace {

namespace fs = std::filesystem;
using test::BarePty;
using test::FakeDialogs;
using test::SimArgs;
using test::SimPty;
using test::TempDir;

constexpr int kTransferWaitMs = 30000;
constexpr int kFloodWaitMs = 120000;

// A viewer whose settings file lies in a temporary folder, and its port
// boxes, pop-up and saved files.
struct LinkViewer : test::SettingsFileViewer {
    QLineEdit* Box() { return w->Menus().e_port; }
    QLineEdit* RepBox() { return w->RepMenus().e_rep_port; }
    QColor BoxColour(QLineEdit* box) { return box->palette().color(QPalette::Base); }
    int ListRows() { return w->ChartsPage().ChartList()->count(); }
    void Popup(const QString& item)
    {
        for (QAction* a : w->Link().PopupPort()->actions())
            if (a->text() == item)
                a->trigger();
    }
    std::vector<std::string> SavedFiles(const std::string& ext)
    {
        std::vector<std::string> files;
        if (fs::exists(SaveRoot()))
            for (const auto& e : fs::recursive_directory_iterator(SaveRoot()))
                if (e.is_regular_file() && e.path().extension() == ext)
                    files.push_back(e.path().string());
        return files;
    }
};

const QColor kGreen(0, 128, 0), kRed(255, 0, 0), kGrey(128, 128, 128);

// The pieces that vkr-sim writes for these options (an RS-232 transfer, or
// every Bluetooth frame with its header), in order.
std::vector<std::string> SimPieces(const TempDir& dir, const std::string& options)
{
    std::string listed;
    if (test::RunCommand(test::BinPath("vkr-sim") + " --write " + dir.File("piece.bin") + " " + options,
                         listed) != 0)
        return {};
    std::vector<std::string> pieces;
    std::size_t from = 0;
    for (std::size_t end; (end = listed.find('\n', from)) != std::string::npos; from = end + 1)
        pieces.push_back(test::ReadFile(listed.substr(from, end - from)));
    return pieces;
}

// The peak resident memory of this process so far, in KiB (VmHWM).
long PeakMemoryKiB()
{
    const std::string status = test::ReadFile("/proc/self/status");
    const std::size_t at = status.find("VmHWM:");
    return at == std::string::npos ? -1 : std::stol(status.substr(at + 6));
}

// Runs the event loop until `done` holds, without the pauses between looks
// that qWaitFor makes (a flood is read as fast as it comes); false when it
// does not hold within timeoutMs.
bool RunUntil(const std::function<bool()>& done, int timeoutMs)
{
    QTimer wake; // a bound on each wait for events
    wake.start(50);
    QElapsedTimer waited;
    waited.start();
    while (!done()) {
        if (waited.hasExpired(timeoutMs))
            return false;
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    return true;
}

// Writes a flood of noise into a terminal's far end from a thread of its
// own, while the test's event loop lets the viewer read it.
class FloodWriter {
  public:
    FloodWriter(int fd, std::string start, std::size_t total)
        : thread_([this, fd, start = std::move(start), total] { Run(fd, start, total); })
    {
    }
    ~FloodWriter()
    {
        stop_ = true;
        thread_.join();
    }
    bool Done() const { return done_; }
    std::size_t Written() const { return written_; }

  private:
    void Run(int fd, std::string chunk, std::size_t total)
    {
        const int flags = ::fcntl(fd, F_GETFL);
        ::fcntl(fd, F_SETFL, flags | O_NONBLOCK);
        std::uint32_t seed = 7;
        std::size_t at = chunk.size(); // what of `chunk` is still to go, from its end
        while (written_ < total && !stop_) {
            if (at == 0) {
                chunk.resize(std::min<std::size_t>(64 * 1024, total - written_));
                for (char& c : chunk) {
                    seed = seed * 1664525u + 1013904223u;
                    c = static_cast<char>(seed >> 24);
                }
                if (written_ == 0)
                    chunk[0] = 0x55; // no block begins so
                at = chunk.size();
            }
            pollfd p{fd, POLLOUT, 0};
            if (::poll(&p, 1, 100) != 1)
                continue;
            const ssize_t put = ::write(fd, chunk.data() + chunk.size() - at, at);
            if (put > 0) {
                at -= static_cast<std::size_t>(put);
                written_ += static_cast<std::size_t>(put);
            } else if (errno != EAGAIN && errno != EINTR) {
                break;
            }
        }
        ::fcntl(fd, F_SETFL, flags);
        done_ = true;
    }

    std::atomic<bool> stop_{false};
    std::atomic<bool> done_{false};
    std::atomic<std::size_t> written_{0};
    std::thread thread_;
};

TEST(InstrumentLink, MemoryReadOutIsListedAndSavedUnderItsAutomaticNames)
{
    SimPty sim(SimArgs("VKR103RAM", {"--generate", "12"}));
    LinkViewer v;
    ASSERT_TRUE(v.Start("AUTOSAVE=1\r\nCONNECTION=COM\r\nPORT_COM=4\r\n", "COM4=" + sim.Path() + "\r\n"));
    ASSERT_TRUE(sim.Release());
    EXPECT_TRUE(v.w->Menus().rb_com->isChecked());
    EXPECT_TRUE(v.w->Menus().rb_com->isEnabled());
    EXPECT_EQ(v.Box()->text(), "COM4");
    EXPECT_EQ(v.BoxColour(v.Box()), kGreen);
    ASSERT_TRUE(QTest::qWaitFor([&] { return v.ListRows() == 12; }, kTransferWaitMs)) << v.ListRows();
    ASSERT_TRUE(QTest::qWaitFor([&] { return v.w->Queue().Empty(); }, kTransferWaitMs)); // the automatic save
    EXPECT_EQ(v.w->Charts().Count, 12);
    EXPECT_EQ(v.SavedFiles(".ndt").size(), 12u);
    EXPECT_EQ(v.BoxColour(v.Box()), kGreen);
    EXPECT_EQ(v.BoxColour(v.RepBox()), kGreen);
    EXPECT_TRUE(v.dialogs.Log.empty()) << v.dialogs.Log.front().Text;
    EXPECT_TRUE(v.w->Link().ProgressField()->text().startsWith("Received: "))
        << v.w->Link().ProgressField()->text().toStdString();
}

// A single VKR102 or VKR103 chart with automatic saving on is saved at once,
// like the charts of a memory read-out: nothing received stays only in
// memory. The first transfer is damaged: its message, and the next transfer
// on the same port arrives without a restart.
class InstrumentLinkSingleChart : public testing::TestWithParam<std::string> {};

TEST_P(InstrumentLinkSingleChart, DamagedTransferIsNamedAndTheNextChartIsListedAndSaved)
{
    const bool vkr102 = GetParam() == "VKR102";
    SimPty sim(SimArgs(GetParam(), {"--fault", vkr102 ? "noise" : "checksum",
                                    test::SourcePath("examples/vkr103-street5-pair14.ndt"),
                                    test::SourcePath("examples/vkr102-feeder3-pair2.ndt")}));
    LinkViewer v;
    ASSERT_TRUE(v.Start("AUTOSAVE=1\r\nCONNECTION=COM\r\nPORT_COM=1\r\n", "COM1=" + sim.Path() + "\r\n"));
    ASSERT_TRUE(sim.Release());
    // The damaged transfer is judged before the next one is sent: the two
    // never merge into one, however the processes are scheduled.
    ASSERT_TRUE(QTest::qWaitFor([&] { return !v.dialogs.Messages().empty(); }, kTransferWaitMs));
    const std::string expected = vkr102 ? "Error: noise on line." : "Error: data read error.";
    EXPECT_EQ(v.dialogs.Messages(), std::vector<std::string>{expected});
    EXPECT_EQ(v.ListRows(), 0);
    ASSERT_TRUE(sim.Release());
    ASSERT_TRUE(QTest::qWaitFor([&] { return v.ListRows() == 1; }, kTransferWaitMs));
    ASSERT_TRUE(QTest::qWaitFor([&] { return v.w->Queue().Empty(); }, kTransferWaitMs)); // the automatic save
    EXPECT_EQ(v.dialogs.Messages(), std::vector<std::string>{expected});
    EXPECT_EQ(v.SavedFiles(".ndt").size(), 1u);
    EXPECT_EQ(v.w->Pages()->currentIndex(), 0);
    EXPECT_EQ(v.BoxColour(v.Box()), kGreen);
}

INSTANTIATE_TEST_SUITE_P(Models, InstrumentLinkSingleChart, testing::Values("VKR102", "VKR103"));

TEST(InstrumentLink, ReceivedReportIsShownOnTheReportsPageAndSaved)
{
    SimPty sim(SimArgs("VKR103", {"--generate", "3", "--report"}));
    LinkViewer v;
    ASSERT_TRUE(v.Start("AUTOSAVE=1\r\nCONNECTION=COM\r\nPORT_COM=2\r\n", "COM2=" + sim.Path() + "\r\n"));
    ASSERT_TRUE(sim.Release());
    ReportPage& page = v.w->ReportsPage();
    ASSERT_TRUE(QTest::qWaitFor([&] { return page.ReportList()->count() == 1; }, kTransferWaitMs));
    ASSERT_TRUE(QTest::qWaitFor([&] { return v.w->Queue().Empty(); }, kTransferWaitMs)); // the automatic save
    EXPECT_EQ(v.w->Pages()->currentIndex(), 1);
    EXPECT_TRUE(v.w->RepCommands().Reports().At(0).Saved);
    EXPECT_FALSE(page.ReportList()->item(0)->data(ReportListDelegate::kUnsavedRole).toBool());
    EXPECT_FALSE(page.Memo()->toPlainText().isEmpty());
    const std::vector<std::string> saved = v.SavedFiles(".txt");
    ASSERT_EQ(saved.size(), 1u);
    EXPECT_EQ(page.ReportList()->item(0)->text().toStdString(), saved[0]);
    const std::string bytes = test::ReadFile(saved[0]);
    EXPECT_NE(bytes.find("\r\n"), std::string::npos);
    EXPECT_EQ(v.w->Charts().Count, 0);
}

// Two Bluetooth ports; the instrument talks on the second. Its number
// becomes PORT_BT1 (and the first one's PORT_BT2) in the settings file.
TEST(InstrumentLink, BluetoothTransferOnTheSecondPortIsRememberedInTheSettings)
{
    BarePty silent;
    SimPty sim(SimArgs("VKR104", {"--generate", "50", "--samples", "300"}));
    LinkViewer v;
    ASSERT_TRUE(v.Start("CONNECTION=BT\r\nPORT_BT1=5\r\nPORT_BT2=6\r\n",
                        "COM5=" + silent.Path() + "\r\nCOM6=" + sim.Path() + "\r\n"));
    ASSERT_TRUE(sim.Release());
    EXPECT_TRUE(v.w->Menus().rb_bt->isChecked());
    EXPECT_EQ(v.Box()->text(), "COM6"); // the last port opened paints the boxes
    ASSERT_TRUE(QTest::qWaitFor([&] { return v.ListRows() == 50; }, kTransferWaitMs)) << v.ListRows();
    EXPECT_TRUE(sim.WaitForLog("transfer delivered")); // a request came for every frame
    EXPECT_EQ(v.BoxColour(v.Box()), kGreen);
    EXPECT_TRUE(v.dialogs.Log.empty());
    const std::string ini = test::ReadFile(v.Ini());
    EXPECT_NE(ini.find("PORT_BT1=6"), std::string::npos) << ini;
    EXPECT_NE(ini.find("PORT_BT2=5"), std::string::npos) << ini;
    EXPECT_EQ(v.w->AppSettings().PortBT1, 6);
    EXPECT_TRUE(v.w->Link().PortRemembered());
    EXPECT_TRUE(v.w->Link().ProgressField()->text().endsWith("50 chart(s)"))
        << v.w->Link().ProgressField()->text().toStdString();
}

// A Bluetooth frame with a wrong byte count, or one that never comes: the
// message (for a missing frame with the number of charts that came), the
// charts already acknowledged stay listed, and the port is open again
// (green) for the next transfer.
class InstrumentLinkBluetoothFault : public testing::TestWithParam<std::string> {};

TEST_P(InstrumentLinkBluetoothFault, MessageKeepsTheChartsAndReopensThePort)
{
    SimPty sim(SimArgs("VKR104", {"--generate", "4", "--fault", GetParam(), "--fault-at", "3"}));
    LinkViewer v;
    ASSERT_TRUE(v.Start("CONNECTION=BT\r\nPORT_BT1=9\r\nPORT_BT2=0\r\n", "COM9=" + sim.Path() + "\r\n"));
    ASSERT_TRUE(sim.Release());
    ASSERT_TRUE(QTest::qWaitFor([&] { return !v.dialogs.Messages().empty(); }, kTransferWaitMs));
    const std::string expected = GetParam() == "count"
                                     ? ErrorText(kErrFrameLength, "")
                                     : "Some charts were not transfered. 2 charts of this transfer arrived.";
    EXPECT_EQ(v.dialogs.Messages(), std::vector<std::string>{expected});
    EXPECT_EQ(v.ListRows(), 2);
    EXPECT_EQ(v.BoxColour(v.Box()), kGreen);
    EXPECT_TRUE(v.w->Link().Port(1).Connected());
}

INSTANTIATE_TEST_SUITE_P(Faults, InstrumentLinkBluetoothFault, testing::Values("count", "missing"));

// The device vanishes mid-transfer: red boxes, the charts received stay, no
// reopening by itself, and the user is told that charts did not come and
// how many did; the progress field does not pass it off as a whole
// transfer. Connect (PopupPort) opens the port again, here a [PORTS]
// symlink pointed at a fresh terminal, and the next transfer comes.
// Disconnect paints the boxes grey.
TEST(InstrumentLink, VanishedDeviceTurnsRedSaysChartsWereLostAndConnectReopensIt)
{
    TempDir links;
    const std::string device = links.File("rfcomm0");
    auto sim = std::make_unique<SimPty>(SimArgs("VKR104", {"--generate", "50", "--samples", "2000"}));
    fs::create_symlink(sim->Path(), device);
    LinkViewer v;
    ASSERT_TRUE(v.Start("CONNECTION=BT\r\nPORT_BT1=3\r\nPORT_BT2=0\r\n", "COM3=" + device + "\r\n"));
    ASSERT_TRUE(sim->Release());
    ASSERT_TRUE(QTest::qWaitFor([&] { return v.w->Charts().Count >= 3; }, kTransferWaitMs));
    sim.reset();
    ASSERT_TRUE(QTest::qWaitFor([&] { return v.BoxColour(v.Box()) == kRed; }, kTransferWaitMs));
    EXPECT_EQ(v.BoxColour(v.RepBox()), kRed);
    EXPECT_EQ(v.Box()->text(), "COM3");
    // The red box says why, and what to do.
    EXPECT_EQ(v.Box()->toolTip().toStdString(), "COM3: the connection was lost (" + device +
                                                    ": no such device); choose Connect in this box's menu "
                                                    "to open it again");
    const int kept = v.w->Charts().Count;
    EXPECT_LT(kept, 50);
    EXPECT_EQ(v.ListRows(), kept);
    EXPECT_FALSE(v.w->Link().Port(1).Connected());
    ASSERT_TRUE(QTest::qWaitFor([&] { return !v.dialogs.Messages().empty(); }, kTransferWaitMs));
    const std::string lost =
        "Some charts were not transfered. " + std::to_string(kept) + " charts of this transfer arrived.";
    EXPECT_EQ(v.dialogs.Messages(), std::vector<std::string>{lost});
    EXPECT_EQ(v.dialogs.Log.back().Caption, "Error");
    const QString progress = v.w->Link().ProgressField()->text();
    EXPECT_TRUE(progress.startsWith("Incomplete transfer: ")) << progress.toStdString();
    EXPECT_TRUE(progress.endsWith(QString(", %1 chart(s)").arg(kept))) << progress.toStdString();

    sim = std::make_unique<SimPty>(
        SimArgs("VKR104", {test::SourcePath("examples/vkr104-exchangeB-cable20.ndt")}));
    fs::remove(device);
    fs::create_symlink(sim->Path(), device);
    v.Popup("&Connect");
    EXPECT_EQ(v.BoxColour(v.Box()), kGreen);
    ASSERT_TRUE(sim->Release());
    ASSERT_TRUE(QTest::qWaitFor([&] { return v.ListRows() == kept + 1; }, kTransferWaitMs));
    EXPECT_TRUE(sim->WaitForLog("transfer delivered"));
    EXPECT_EQ(v.dialogs.Messages(), std::vector<std::string>{lost});
    ASSERT_TRUE(QTest::qWaitFor([&] { return v.w->Link().Transfer(1).Machine().IsIdle(); }, kTransferWaitMs));
    EXPECT_EQ(v.w->Link().ProgressField()->text(),
              "Received: " + QString::number(v.w->Link().Transfer(1).TransferBytes()) + " bytes, 1 chart(s)");

    v.Popup("&Disconnect");
    EXPECT_EQ(v.BoxColour(v.Box()), kGrey);
    EXPECT_EQ(v.BoxColour(v.RepBox()), kGrey);
    EXPECT_EQ(v.dialogs.Messages().size(), 1u); // nothing was in progress
}

// Switching to RS 232 and back: the mode is written to the settings, the
// ports follow; a Bluetooth port that cannot open is named in a message.
TEST(InstrumentLink, ModeSwitchOpensThePortsOfTheMode)
{
    BarePty com;
    LinkViewer v;
    ASSERT_TRUE(
        v.Start("CONNECTION=COM\r\nPORT_COM=1\r\nPORT_BT1=7\r\nPORT_BT2=8\r\n",
                "COM1=" + com.Path() + "\r\nCOM7=/nonexistent/rfcomm7\r\nCOM8=/nonexistent/rfcomm8\r\n"));
    EXPECT_EQ(v.BoxColour(v.Box()), kGreen);
    v.w->Menus().rb_bt->click();
    EXPECT_TRUE(v.w->Menus().rb_bt->isChecked());
    ASSERT_EQ(v.dialogs.Messages(), std::vector<std::string>{"Error: unable to open port COM."});
    EXPECT_EQ(v.BoxColour(v.Box()), kRed);
    EXPECT_NE(test::ReadFile(v.Ini()).find("CONNECTION=BT"), std::string::npos);
    EXPECT_TRUE(v.w->Link().ProgressField()->text().contains("/nonexistent/rfcomm7"));

    v.w->Menus().rb_com->click();
    EXPECT_EQ(v.Box()->text(), "COM1");
    EXPECT_EQ(v.BoxColour(v.Box()), kGreen);
    EXPECT_EQ(v.dialogs.Messages().size(), 1u);
    EXPECT_NE(test::ReadFile(v.Ini()).find("CONNECTION=COM"), std::string::npos);
}

// A line that floods the port with noise far beyond any transfer: the
// transfer buffer never holds more than its bound, one message tells of it,
// the rest is dropped until the line has been quiet for 2 s, and the next
// transfer (a VKR103 chart on RS-232, a first VKR104 frame, which gets its
// request) is received as if nothing had happened.
class InstrumentLinkFlood : public testing::TestWithParam<std::string> {};

TEST_P(InstrumentLinkFlood, IsToldOnceWithinBoundedMemoryAndTheNextTransferArrives)
{
    const bool bt = GetParam() == "BT";
    TempDir pieces;
    const std::vector<std::string> next =
        bt ? SimPieces(pieces, "--model VKR104 " + test::SourcePath("examples/vkr104-exchangeB-cable20.ndt"))
           : SimPieces(pieces, "--model VKR103 " + test::SourcePath("examples/vkr103-street5-pair14.ndt"));
    ASSERT_EQ(next.size(), bt ? 2u : 1u); // BT: the frame and the empty frame
    BarePty line;
    LinkViewer v;
    ASSERT_TRUE(
        v.Start(bt ? "CONNECTION=BT\r\nPORT_BT1=2\r\nPORT_BT2=0\r\n" : "CONNECTION=COM\r\nPORT_COM=2\r\n",
                "COM2=" + line.Path() + "\r\n"));
    ASSERT_TRUE(v.w->Link().Port(1).Connected());
    const PortTransfer& transfer = v.w->Link().Transfer(1);
    std::size_t mostWaiting = 0;
    QObject::connect(&transfer, &PortTransfer::progressChanged,
                     [&] { mostWaiting = std::max(mostWaiting, transfer.Machine().BytesWaiting()); });
    const std::size_t bound = transfer.Machine().TransferLimit();
    const std::size_t flood = bound + (std::size_t{4} << 20);
    const long peakBefore = PeakMemoryKiB();
    {
        // BT: a header announcing 10 bytes, and then no end of bytes.
        FloodWriter writer(line.Master(), bt ? std::string("\x55\x0a\x00", 3) : std::string(), flood);
        ASSERT_TRUE(RunUntil([&] { return writer.Done(); }, kFloodWaitMs)) << writer.Written();
        EXPECT_EQ(writer.Written(), flood);
    }
    ASSERT_TRUE(QTest::qWaitFor([&] { return transfer.Machine().IsIdle() && !v.dialogs.Messages().empty(); },
                                kTransferWaitMs));
    const long peakAfter = PeakMemoryKiB();
    std::cout << "flood of " << flood << " bytes (" << GetParam() << "): most bytes waiting " << mostWaiting
              << ", peak memory " << peakBefore << " KiB before, " << peakAfter << " KiB after\n";
    EXPECT_GT(mostWaiting, 0u);
    EXPECT_LE(mostWaiting, bound);
    const std::string told = bt ? ErrorText(kErrFrameLength, "") : "Error: noise on line.";
    EXPECT_EQ(v.dialogs.Messages(), std::vector<std::string>{told});
    EXPECT_EQ(v.BoxColour(v.Box()), kGreen);
    EXPECT_EQ(v.ListRows(), 0);

    ASSERT_TRUE(line.Write(next[0]));
    ASSERT_TRUE(QTest::qWaitFor([&] { return v.w->Charts().Count == 1; }, kTransferWaitMs));
    if (bt) { // the chart is asked for the next one; the empty frame ends the transfer
        EXPECT_EQ(line.ReadFromPort(1), "R");
        ASSERT_TRUE(line.Write(next[1]));
        ASSERT_TRUE(QTest::qWaitFor([&] { return transfer.Machine().IsIdle(); }, kTransferWaitMs));
        EXPECT_EQ(line.ReadFromPort(1), "R");
    }
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return transfer.Machine().IsIdle() && v.ListRows() == 1; }, kTransferWaitMs));
    EXPECT_EQ(v.dialogs.Messages(), std::vector<std::string>{told});
    EXPECT_EQ(v.w->Charts().Count, 1);
}

INSTANTIATE_TEST_SUITE_P(Modes, InstrumentLinkFlood, testing::Values("COM", "BT"));

// A memory read-out of 14 charts of 10000 samples is longer than the old
// driver's queue of 128000 bytes: every chart arrives, without a message.
TEST(InstrumentLink, LongMemoryReadOutArrivesWhole)
{
    SimPty sim(SimArgs("VKR103RAM", {"--generate", "14", "--samples", "10000"}));
    LinkViewer v;
    ASSERT_TRUE(v.Start("CONNECTION=COM\r\nPORT_COM=4\r\n", "COM4=" + sim.Path() + "\r\n"));
    const std::size_t sent = sim.Deliver();
    EXPECT_EQ(sent, 140406u);
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return v.w->Link().Transfer(1).Machine().IsIdle() && v.ListRows() > 0; }, kTransferWaitMs));
    EXPECT_EQ(v.ListRows(), 14);
    EXPECT_EQ(v.w->Charts().Rec(14).SampleCount, 10000);
    EXPECT_EQ(v.w->Charts().Rec(14).Description, "Chart No. 14");
    EXPECT_TRUE(v.dialogs.Log.empty()) << v.dialogs.Log.front().Text;
    EXPECT_EQ(v.w->Link().ProgressField()->text(), QString("Received: %1 bytes").arg(sent));
}

// Automatic saving after a transfer writes the chart that arrived and
// nothing else: an opened chart whose description was edited and a filtered
// chart stay unsaved, and their files stay as they were.
TEST(InstrumentLink, AutomaticSavingWritesOnlyTheReceivedChart)
{
    TempDir files;
    const std::string opened = test::WriteChart(files.Path(), "street.ndt", "street cabinet");
    const std::string openedBytes = test::ReadFile(opened);
    SimPty sim(SimArgs("VKR103", {test::SourcePath("examples/vkr103-street5-pair14.ndt")}));
    LinkViewer v;
    ASSERT_TRUE(v.Start("AUTOSAVE=1\r\nCONNECTION=COM\r\nPORT_COM=1\r\n", "COM1=" + sim.Path() + "\r\n"));
    QSignalSpy batch(v.w.get(), &TFrm_main_Lumidrax32::BatchOpened);
    v.w->ReceiveHandedOverName(opened);
    ASSERT_TRUE(batch.wait(5000));
    ASSERT_EQ(v.ListRows(), 1);

    // The description of the opened chart, edited in place.
    QListWidget* list = v.w->ChartsPage().ChartList();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier,
                      list->visualItemRect(list->item(0)).center());
    v.w->Menus().mi_curves_edit_desc->trigger();
    auto* field = v.w->findChild<QLineEdit*>("e_description");
    ASSERT_NE(field, nullptr);
    ASSERT_TRUE(field->isVisible());
    field->selectAll();
    QTest::keyClicks(field, "edited");
    QTest::keyClick(field, Qt::Key_Return);
    ASSERT_EQ(v.w->Charts().Rec(1).Description, "edited");
    // A filtered copy of it.
    QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier,
                      list->visualItemRect(list->item(0)).center());
    v.w->Menus().mi_filter[2]->trigger();
    ASSERT_EQ(v.ListRows(), 2);
    const std::string filtered = v.w->Charts().Rec(2).DisplayName;
    ASSERT_FALSE(v.w->Charts().Rec(1).Saved);
    ASSERT_FALSE(v.w->Charts().Rec(2).Saved);
    const std::size_t shown = v.dialogs.Log.size();

    ASSERT_TRUE(sim.Release());
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return v.ListRows() == 3 && v.w->Charts().Rec(3).Saved; }, kTransferWaitMs));
    ASSERT_TRUE(QTest::qWaitFor([&] { return v.w->Queue().Empty(); }, kTransferWaitMs));
    EXPECT_EQ(v.SavedFiles(".ndt").size(), 1u);
    EXPECT_FALSE(v.w->Charts().Rec(1).Saved);
    EXPECT_FALSE(v.w->Charts().Rec(2).Saved);
    EXPECT_EQ(test::ReadFile(opened), openedBytes);
    EXPECT_FALSE(fs::exists(filtered)) << filtered;
    EXPECT_FALSE(fs::exists(files.File("street_F5.ndt")));
    EXPECT_EQ(v.dialogs.Log.size(), shown); // no question, no save dialog
}

// A click on the mode button that is already checked ("BT" in Bluetooth
// mode) changes nothing: the ports stay open, the settings are not written,
// and the missing-frame message of the transfer under way still comes.
TEST(InstrumentLink, ClickOnTheModeInUseLeavesTheTransferAlone)
{
    SimPty sim(SimArgs("VKR104", {"--generate", "4", "--fault", "missing", "--fault-at", "3"}));
    LinkViewer v;
    ASSERT_TRUE(v.Start("CONNECTION=BT\r\nPORT_BT1=9\r\nPORT_BT2=0\r\n", "COM9=" + sim.Path() + "\r\n"));
    QSignalSpy opened(&v.w->Link().Port(1), &TComPort::OnOpen);
    QSignalSpy closed(&v.w->Link().Port(1), &TComPort::OnClose);
    ASSERT_TRUE(sim.Release());
    // The list shows the charts when the transfer ends; the collection has
    // them at once.
    ASSERT_TRUE(QTest::qWaitFor([&] { return v.w->Charts().Count == 2; }, kTransferWaitMs));
    ASSERT_TRUE(v.w->Link().Transfer(1).Machine().ChartTimerRunning());
    const std::string ini = test::ReadFile(v.Ini());
    QRadioButton* bt = v.w->Menus().rb_bt;
    ASSERT_TRUE(bt->isChecked());
    v.w->resize(1600, 900); // the whole tool bar shows, without its extension menu
    ASSERT_TRUE(QTest::qWaitFor([&] { return bt->isVisible(); }, kTransferWaitMs));
    QTest::mouseClick(bt, Qt::LeftButton);
    EXPECT_TRUE(bt->isChecked());
    EXPECT_EQ(opened.count(), 0);
    EXPECT_EQ(closed.count(), 0);
    EXPECT_EQ(test::ReadFile(v.Ini()), ini);
    EXPECT_TRUE(v.w->Link().Transfer(1).Machine().ChartTimerRunning());
    ASSERT_TRUE(QTest::qWaitFor([&] { return !v.dialogs.Messages().empty(); }, kTransferWaitMs));
    EXPECT_EQ(
        v.dialogs.Messages(),
        std::vector<std::string>{"Some charts were not transfered. 2 charts of this transfer arrived."});
    EXPECT_EQ(opened.count(), 1); // the missing frame's own reopening
    EXPECT_EQ(v.ListRows(), 2);
    EXPECT_EQ(v.BoxColour(v.Box()), kGreen);
}

// FinishPendingTransfers, as the window calls it before asking about unsaved
// work on closing: an RS-232 chart whose 2 s of silence have not passed is
// listed at once, the port stays open, and its automatic save waits in the
// queue like every transfer's. A second call finds nothing.
TEST(InstrumentLink, FinishPendingTransfersListsAChartBeforeItsSilenceEnds)
{
    SimPty sim(SimArgs("VKR103", {test::SourcePath("examples/vkr103-street5-pair14.ndt")}));
    LinkViewer v;
    ASSERT_TRUE(v.Start("AUTOSAVE=1\r\nCONNECTION=COM\r\nPORT_COM=1\r\n", "COM1=" + sim.Path() + "\r\n"));
    const std::size_t sent = sim.Deliver();
    ASSERT_GT(sent, 0u);
    InstrumentLink& link = v.w->Link();
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return link.Transfer(1).Machine().BytesWaiting() == sent; }, kTransferWaitMs));
    ASSERT_EQ(v.ListRows(), 0);

    link.FinishPendingTransfers();
    EXPECT_EQ(v.w->Charts().Count, 1);
    EXPECT_TRUE(link.Port(1).Connected());
    EXPECT_TRUE(link.Transfer(1).Machine().IsIdle());
    EXPECT_EQ(v.BoxColour(v.Box()), kGreen);
    EXPECT_TRUE(v.SavedFiles(".ndt").empty());
    EXPECT_FALSE(v.w->Queue().Empty());
    link.FinishPendingTransfers();
    EXPECT_EQ(v.w->Charts().Count, 1);
    ASSERT_TRUE(QTest::qWaitFor([&] { return v.ListRows() == 1; }, kTransferWaitMs));
    ASSERT_TRUE(QTest::qWaitFor([&] { return v.SavedFiles(".ndt").size() == 1; }, kTransferWaitMs));
    EXPECT_TRUE(v.w->Charts().Rec(1).Saved);
    EXPECT_TRUE(v.dialogs.Log.empty());
}

} // namespace
} // namespace lumidrax
