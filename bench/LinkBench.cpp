// The viewer receiving from the simulator over a pseudo-terminal, with the
// real main window (offscreen):
//   BM_BluetoothTransferEventLoopGap  a 50-chart Bluetooth transfer sent at
//       full speed; counter max_gap_ms = the longest gap between ticks of a
//       1 ms timer while it arrives (goal: under 16 ms); refresh_gap_ms = the
//       gap that holds the final refresh (50 charts listed and drawn).
//   BM_MemoryReadOutToListed  a memory read-out of about 127 KB; counter
//       decode_to_listed_ms = from the port timer tick that ends the transfer
//       (after its 2 s of silence) to all its charts in the chart list
//       (goal: under 20 ms).
//
//   build/bin/bench_link

#include "BenchSupport.h"
#include "ChartNotifier.h"
#include "ChartPage.h"
#include "IDialogs.h"
#include "InstrumentLink.h"
#include "TFrm_main_Lumidrax32.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QListWidget>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <benchmark/benchmark.h>

#include <chrono>
#include <fstream>

namespace {

using namespace lumidrax;

constexpr int kWaitMs = 60000;

// Messages would stop a run: they are counted instead.
class CountingDialogs : public IDialogs {
  public:
    int shown = 0;
    int AskYesNo(const std::string&, const std::string&, bool) override { return kAnswerNo; }
    void ShowMessageBox(const std::string&, const std::string&) override { ++shown; }
    std::vector<std::string> OpenFileNames(const FileDialogRequest&) override { return {}; }
    std::optional<std::string> SaveFileName(const FileDialogRequest&) override { return {}; }
    std::optional<std::string> InputBox(const std::string&, const std::string&, const std::string&) override
    {
        return {};
    }
    std::optional<std::uint32_t> ChooseColor(std::uint32_t) override { return {}; }
};

// vkr-sim on its own pseudo-terminal, sending when released (once the
// viewer's port listens).
struct Sim {
    QProcess process;
    QString path;
    explicit Sim(QStringList args)
    {
        args << "--delay"
             << "0"
             << "--wait"
             << "20000"
             << "--step"
             << "--pty";
        process.start(QCoreApplication::applicationDirPath() + "/vkr-sim", args);
        process.waitForStarted(kWaitMs);
        while (!process.canReadLine() && process.waitForReadyRead(kWaitMs)) {
        }
        path = QString::fromUtf8(process.readLine()).trimmed();
    }
    void Release()
    {
        process.write("\n");
        process.waitForBytesWritten(kWaitMs);
    }
    ~Sim()
    {
        process.terminate();
        process.waitForFinished(kWaitMs);
    }
};

// A started window whose settings name the simulator's terminal as port 4.
struct Viewer {
    QTemporaryDir dir;
    CountingDialogs dialogs;
    std::unique_ptr<TFrm_main_Lumidrax32> w;
    Viewer(const std::string& connection, const QString& device)
    {
        const std::string root = dir.path().toStdString() + "/";
        std::ofstream(root + "lumidrax.INI")
            << "[GENERAL]\r\nDATAPATH=" << root << "\r\nSAVEROOT=" << root << "\r\nCONNECTION=" << connection
            << "\r\nPORT_COM=4\r\nPORT_BT1=4\r\nPORT_BT2=0\r\n[PORTS]\r\nCOM4=" << device.toStdString()
            << "\r\n";
        MainWindowOptions options;
        options.Dialogs = &dialogs;
        options.SettingsAt = SettingsLocation{root + "lumidrax.INI", root};
        w = std::make_unique<TFrm_main_Lumidrax32>(options);
        QSignalSpy initialised(w.get(), &TFrm_main_Lumidrax32::Initialised);
        initialised.wait(kWaitMs);
    }
    int Rows() const { return w->ChartsPage().ChartList()->count(); }
};

std::int64_t SteadyMs()
{
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

void BM_BluetoothTransferEventLoopGap(benchmark::State& state)
{
    double worst = 0;
    double worstRefresh = 0;
    for (auto _ : state) {
        Sim sim({"--model", "VKR104", "--generate", "50", "--samples", "10000"});
        QElapsedTimer clock;
        qint64 last = -1;
        qint64 maxGap = 0;
        qint64 refreshGap = 0;
        bool refreshed = false;
        QTimer tick;
        tick.setTimerType(Qt::PreciseTimer);
        QObject::connect(&tick, &QTimer::timeout, [&] {
            const qint64 now = clock.nsecsElapsed();
            if (last >= 0 && refreshed)
                refreshGap = std::max(refreshGap, now - last);
            else if (last >= 0)
                maxGap = std::max(maxGap, now - last);
            last = now;
        });
        Viewer v("BT", sim.path);
        sim.Release();
        QObject::connect(&v.w->Notifier(), &ChartNotifier::chartsAdded, [&] { refreshed = true; });
        clock.start();
        tick.start(1);
        const bool arrived = QTest::qWaitFor([&] { return v.Rows() == 50; }, kWaitMs);
        QTest::qWait(50); // a few ticks after the refresh
        tick.stop();
        if (!arrived)
            state.SkipWithError("the transfer did not arrive");
        worst = std::max(worst, static_cast<double>(maxGap) / 1e6);
        worstRefresh = std::max(worstRefresh, static_cast<double>(refreshGap) / 1e6);
    }
    state.counters["max_gap_ms"] = worst;
    state.counters["refresh_gap_ms"] = worstRefresh;
}

void BM_MemoryReadOutToListed(benchmark::State& state)
{
    double worst = 0;
    double bytes = 0;
    for (auto _ : state) {
        Sim sim({"--model", "VKR103RAM", "--generate", "12", "--samples", "10000"});
        Viewer v("COM", sim.path);
        sim.Release();
        std::int64_t listedAt = 0;
        QObject::connect(&v.w->Notifier(), &ChartNotifier::chartsAdded, [&] { listedAt = SteadyMs(); });
        const bool arrived = QTest::qWaitFor([&] { return v.Rows() == 12 && listedAt != 0; }, kWaitMs);
        if (!arrived) {
            state.SkipWithError("the read-out did not arrive");
            break;
        }
        const PortTransfer& t = v.w->Link().Transfer(1);
        worst = std::max(worst, static_cast<double>(listedAt - t.LastTimerTickMs()));
        bytes = static_cast<double>(t.TransferBytes());
    }
    state.counters["decode_to_listed_ms"] = worst;
    state.counters["transfer_bytes"] = bytes;
}

BENCHMARK(BM_BluetoothTransferEventLoopGap)->Iterations(3)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_MemoryReadOutToListed)->Iterations(3)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

int main(int argc, char** argv)
{
    return lumidrax::bench::RunWithQt(argc, argv);
}
