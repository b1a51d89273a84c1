// A real port joined to its transfer machine, served by the simulator on a
// pseudo-terminal: every model's transfer arrives in the collection, and
// each injected fault gives its message and status while keeping what was
// already received.

#include "PortTransfer.h"
#include "DecodeResult.h"
#include "PortTestSupport.h"
#include "TestSupport.h"

#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include <filesystem>

namespace lumidrax {
namespace {

using test::kPortWaitMs;
using test::SimArgs;
using test::SimPty;

// Longer than the longest wait of the conversation (5 s for a frame).
constexpr int kTransferWaitMs = 30000;

struct Link {
    explicit Link(ConnectionMode mode) : transfer(port, charts, ctx, mode)
    {
        ctx.Reports = &reports;
        ctx.Mode = mode;
        QObject::connect(&transfer, &PortTransfer::decoded,
                         [this](const DecodedTransfer& d) { results.push_back(d.result); });
        QObject::connect(&transfer, &PortTransfer::statusChanged,
                         [this](const StatusBoxState& s) { statuses.push_back(s.status); });
        QObject::connect(&transfer, &PortTransfer::messageRaised,
                         [this](const TransferMessage& m) { messages.push_back(m); });
    }
    bool Open(const std::string& device)
    {
        port.SetDevices({{4, device}});
        return transfer.Open(4);
    }
    // Waits until the window would refresh its chart list (or a report page).
    bool WaitForEnd(int ends = 1)
    {
        return QTest::qWaitFor([&] { return refreshes.count() + pages.count() >= ends; }, kTransferWaitMs);
    }

    TComPort port;
    TMereni charts;
    TReportList reports;
    DecoderContext ctx;
    PortTransfer transfer;
    QSignalSpy refreshes{&transfer, &PortTransfer::refreshRequested};
    QSignalSpy saves{&transfer, &PortTransfer::saveRequested};
    QSignalSpy pages{&transfer, &PortTransfer::pageRequested};
    QSignalSpy delivered{&transfer, &PortTransfer::workingPortDelivered};
    std::vector<int> results;
    std::vector<PortStatus> statuses;
    std::vector<TransferMessage> messages;
};

TEST(PortTransfer, BluetoothTransferOf50ChartsOneFramePerRequest)
{
    SimPty sim(SimArgs("VKR104", {"--generate", "50", "--samples", "300"}));
    ASSERT_FALSE(sim.Path().empty());
    Link link(ConnectionMode::BT);
    link.ctx.AutoSave = true;
    ASSERT_TRUE(link.Open(sim.Path())) << link.transfer.LastError();
    EXPECT_EQ(link.statuses, std::vector<PortStatus>{PortStatus::Open});
    ASSERT_TRUE(sim.Release());

    ASSERT_TRUE(link.WaitForEnd()) << link.results.size() << " frames came";
    EXPECT_EQ(link.charts.Count, 50);
    ASSERT_EQ(link.results.size(), 51u); // each frame came only after the request for it
    EXPECT_EQ(std::count(link.results.begin(), link.results.end(), kVKR104ChartAdded), 50);
    EXPECT_EQ(link.results.back(), kEndOfBluetoothTransfer);
    ASSERT_EQ(link.saves.count(), 1);
    EXPECT_EQ(link.saves.at(0).at(0).value<std::vector<ChartId>>().size(), 50u);
    EXPECT_TRUE(link.messages.empty());
    EXPECT_EQ(link.statuses.back(), PortStatus::Open);
    EXPECT_GE(link.delivered.count(), 1);
    EXPECT_EQ(link.transfer.TransferCharts(), 50);
    EXPECT_GT(link.transfer.TransferBytes(), 50 * 300);
    EXPECT_TRUE(link.transfer.Machine().IsIdle());
    EXPECT_TRUE(sim.WaitForLog("transfer delivered"))
        << sim.Log(); // the request after the empty frame came too
}

struct Rs232Case {
    const char* model;
    bool report;
    int charts; // charts sent
    int result;
};

class PortTransferRs232 : public testing::TestWithParam<Rs232Case> {};

TEST_P(PortTransferRs232, TransferEndsAfterTwoSecondsOfSilence)
{
    const Rs232Case c = GetParam();
    std::vector<std::string> more = {"--generate", std::to_string(c.charts)};
    if (c.report)
        more.push_back("--report");
    SimPty sim(SimArgs(c.model, more));
    Link link(ConnectionMode::COM);
    link.ctx.AutoSave = true;
    ASSERT_TRUE(link.Open(sim.Path())) << link.transfer.LastError();
    ASSERT_TRUE(sim.Release());
    ASSERT_TRUE(link.WaitForEnd());
    ASSERT_EQ(link.results, std::vector<int>{c.result});
    // Green when open, yellow while bytes arrive, green when received.
    EXPECT_EQ(link.statuses,
              (std::vector<PortStatus>{PortStatus::Open, PortStatus::Arriving, PortStatus::Open}));
    if (c.report) {
        EXPECT_EQ(link.charts.Count, 0);
        EXPECT_EQ(link.reports.Count(), 1);
        EXPECT_EQ(link.pages.at(0).at(0).value<ShowPage>(), ShowPage::Reports);
    } else {
        EXPECT_EQ(link.charts.Count, c.charts);
        EXPECT_EQ(link.saves.count(), 1); // automatic saving keeps every received chart
    }
    EXPECT_EQ(link.delivered.count(), 1);
    EXPECT_TRUE(link.messages.empty());
}

INSTANTIATE_TEST_SUITE_P(Models, PortTransferRs232,
                         testing::Values(Rs232Case{"VKR102", false, 1, kVKR102ChartAdded},
                                         Rs232Case{"VKR103", false, 1, kVKR103ChartAdded},
                                         Rs232Case{"VKR103RAM", false, 12, kVKR103RAMChartsAdded},
                                         Rs232Case{"VKR102", true, 3, kVKR102ReportBuilt},
                                         Rs232Case{"VKR103", true, 3, kVKR103ReportBuilt},
                                         Rs232Case{"VKR103RAM", true, 3, kVKR103RAMReportBuilt}));

struct FaultCase {
    const char* model;
    const char* fault;
    int faultAt;
    int code;         // catalogue code of the message, 0 for a text of its own
    int chartsKept;   // charts received before the fault
    bool reopened;    // the port was closed and opened again
    const char* text; // part of the message
};

class PortTransferFault : public testing::TestWithParam<FaultCase> {};

// The fault's message; the charts already received stay; the next transfer
// over the same port (a [PORTS] symlink pointed at a fresh terminal, then
// Connect) arrives whole.
TEST_P(PortTransferFault, MessageKeepsChartsAndNextTransferWorks)
{
    const FaultCase c = GetParam();
    const bool bt = std::string(c.model) == "VKR104";
    const ConnectionMode mode = bt ? ConnectionMode::BT : ConnectionMode::COM;
    const std::string charts = c.chartsKept > 0 ? "4" : "1";
    auto sim = std::make_unique<SimPty>(SimArgs(c.model, {"--generate", bt ? charts : "1", "--fault", c.fault,
                                                          "--fault-at", std::to_string(c.faultAt)}));
    ASSERT_FALSE(sim->Path().empty());
    const std::filesystem::path link_path =
        std::filesystem::temp_directory_path() / ("lumidrax-port-" + std::to_string(::getpid()));
    std::filesystem::remove(link_path);
    std::filesystem::create_symlink(sim->Path(), link_path);

    Link link(mode);
    QSignalSpy opened(&link.port, &TComPort::OnOpen);
    ASSERT_TRUE(link.Open(link_path.string())) << link.transfer.LastError();
    ASSERT_TRUE(sim->Release());
    ASSERT_TRUE(QTest::qWaitFor([&] { return !link.messages.empty(); }, kTransferWaitMs));
    EXPECT_EQ(link.messages[0].code, c.code);
    EXPECT_EQ(link.messages[0].caption, "Error");
    // A missing frame also says how many charts of the transfer came.
    EXPECT_EQ(link.messages[0].text,
              c.code != 0 ? ErrorText(c.code, "") : TransferMachine::NotTransferredText(c.chartsKept));
    EXPECT_EQ(link.messages[0].text.rfind(c.text, 0), 0u);
    EXPECT_EQ(link.charts.Count, c.chartsKept);
    EXPECT_EQ(opened.count(), c.reopened ? 2 : 1) << link.transfer.LastError() << sim->Log();
    EXPECT_TRUE(link.port.Connected());
    EXPECT_EQ(link.statuses.back(), PortStatus::Open);

    // A chart of its own, not a duplicate of one the first transfer brought.
    const std::vector<std::string> next = {bt ? test::SourcePath("examples/vkr104-exchangeB-cable20.ndt")
                                              : test::SourcePath("examples/vkr103-street5-pair14.ndt")};
    sim = std::make_unique<SimPty>(SimArgs(c.model, next));
    ASSERT_FALSE(sim->Path().empty());
    std::filesystem::remove(link_path);
    std::filesystem::create_symlink(sim->Path(), link_path);
    link.transfer.Close(false);
    ASSERT_TRUE(link.transfer.Open(4)) << link.transfer.LastError();
    const int ends = static_cast<int>(link.refreshes.count() + link.pages.count());
    ASSERT_TRUE(sim->Release());
    ASSERT_TRUE(link.WaitForEnd(ends + 1));
    EXPECT_EQ(link.charts.Count, c.chartsKept + 1);
    EXPECT_EQ(link.messages.size(), 1u) << link.messages.back().text;
    std::filesystem::remove(link_path);
}

INSTANTIATE_TEST_SUITE_P(Faults, PortTransferFault,
                         testing::Values(FaultCase{"VKR103", "checksum", 1, kErrChecksum, 0, false, ""},
                                         FaultCase{"VKR103", "count", 1, kErrByteCount, 0, false, ""},
                                         FaultCase{"VKR102", "noise", 1, kErrNoiseOnLine, 0, false, ""},
                                         FaultCase{"VKR104", "count", 3, kErrFrameLength, 2, true, ""},
                                         FaultCase{"VKR104", "short", 3, kErrFrameLength, 2, true, ""},
                                         FaultCase{"VKR104", "missing", 3, 0, 2, true,
                                                   "Some charts were not transfered."}));

// The device vanishes in the middle of a Bluetooth transfer: the port
// closes, the boxes turn red, the charts received stay, and the port is not
// opened again by itself.
TEST(PortTransfer, DeviceVanishingMidTransferKeepsChartsAndStaysClosed)
{
    auto sim = std::make_unique<SimPty>(SimArgs("VKR104", {"--generate", "50", "--samples", "2000"}));
    Link link(ConnectionMode::BT);
    QSignalSpy opened(&link.port, &TComPort::OnOpen);
    QSignalSpy closed(&link.port, &TComPort::OnClose);
    ASSERT_TRUE(link.Open(sim->Path()));
    ASSERT_TRUE(sim->Release());
    ASSERT_TRUE(QTest::qWaitFor([&] { return link.charts.Count >= 3; }, kTransferWaitMs));
    sim.reset(); // the simulator ends: its terminal goes away
    ASSERT_TRUE(closed.count() == 1 || closed.wait(kPortWaitMs));
    const int kept = link.charts.Count;
    EXPECT_GE(kept, 3);
    EXPECT_LT(kept, 50);
    EXPECT_FALSE(link.port.Connected());
    EXPECT_EQ(link.statuses.back(), PortStatus::Lost);
    EXPECT_GE(link.refreshes.count(), 1); // the transfer ended with what had arrived
    // ... and says that the rest did not come.
    ASSERT_EQ(link.messages.size(), 1u);
    EXPECT_EQ(link.messages[0].text, TransferMachine::NotTransferredText(kept));
    EXPECT_TRUE(link.transfer.TransferIncomplete());
    EXPECT_TRUE(link.transfer.Machine().IsIdle());
    QCoreApplication::processEvents();
    EXPECT_EQ(opened.count(), 1);
    EXPECT_EQ(link.charts.Count, kept);
}

} // namespace
} // namespace lumidrax
