// The search for the instrument's ports over pseudo-terminals: the
// simulator answers "?NNN" on the terminals that [PORTS] or the test's
// device folder lead to; the machine's /dev is never looked at.

#include "PortIdentifier.h"
#include "PortTestSupport.h"
#include "SystemPortView.h"
#include "TestSupport.h"
#include "Tfrm_sniff.h"

#include <QCoreApplication>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <filesystem>
#include <thread>

namespace lumidrax {
namespace {

namespace fs = std::filesystem;
using test::BarePty;
using test::SimPty;
using test::TempDir;

const std::vector<std::string> kInstrument = {"--model", "VKR104", "--answer-only", "--wait", "20000"};

struct Search {
    TempDir dir;
    std::vector<std::string> log;

    std::string Dev() const { return dir.Path() + "/dev"; }

    IdentifyResult Run(std::map<int, std::string> ports)
    {
        fs::create_directories(Dev());
        IdentifyJob job;
        job.Ports = std::move(ports);
        job.DeviceFolder = Dev();
        job.System = SystemPortView();
        std::atomic<bool> stop{false};
        return PortIdentifier(job).Run([this](const std::string& line) { log.push_back(line); }, stop);
    }
    bool Logged(const std::string& line) const
    {
        return std::find(log.begin(), log.end(), line) != log.end();
    }
};

TEST(PortIdentifier, FindsTheSimulatorsTwoPortsAmongTheNumbers)
{
    SimPty first(kInstrument);
    SimPty second(kInstrument);
    ASSERT_FALSE(first.Path().empty());
    ASSERT_FALSE(second.Path().empty());
    Search s;
    const IdentifyResult r = s.Run({{7, first.Path()}, {200, second.Path()}});
    EXPECT_EQ(r.First, 7);
    EXPECT_EQ(r.Second, 200);
    EXPECT_TRUE(r.NewPorts.empty());
    ASSERT_GE(s.log.size(), 2u);
    EXPECT_EQ(s.log.front(), "Initializing...");
    EXPECT_EQ(s.log.back(), "Done");
    const std::vector<std::string> com7 = {"Opening COM007", "Port COM007 opened", "Questioned",
                                           "Recived 18 bytes", "Recived VKR104 simulator\r\n"};
    EXPECT_NE(std::search(s.log.begin(), s.log.end(), com7.begin(), com7.end()), s.log.end());
    EXPECT_TRUE(s.Logged("Opening COM200"));
    // Numbers without a device are passed over: only their empty lines.
    EXPECT_FALSE(s.Logged("Opening COM001"));
    EXPECT_EQ(std::count(s.log.begin(), s.log.end(), ""), 255);
}

TEST(PortIdentifier, AnUnmappedDeviceGetsTheLowestFreeNumber)
{
    SimPty sim(kInstrument);
    ASSERT_FALSE(sim.Path().empty());
    Search s;
    fs::create_directories(s.Dev());
    s.dir.Write("dev/ttyS0", ""); // number 1 has a default device: not free
    // A name of its own: the serial port's lock file is named after it.
    const std::string usb = s.Dev() + "/ttyUSB" + std::to_string(::getpid());
    fs::create_symlink(sim.Path(), usb);
    // Number 2 is taken by [PORTS], though its device is missing.
    const IdentifyResult r = s.Run({{2, s.dir.File("missing")}});
    EXPECT_EQ(r.First, 3);
    EXPECT_EQ(r.NewPorts, (std::map<int, std::string>{{3, usb}}));
    EXPECT_TRUE(s.Logged("Port " + usb + " opened"));
    EXPECT_EQ(s.log.back(), "Done");
}

// Answers every question with exactly eight bytes.
class EightByteResponder {
  public:
    EightByteResponder()
        : thread_([this] {
              while (!stop_) {
                  pollfd p{pty_.Master(), POLLIN, 0};
                  char buf[64];
                  if (::poll(&p, 1, 20) > 0 && (p.revents & POLLIN)) {
                      const ssize_t got = ::read(pty_.Master(), buf, sizeof buf);
                      if (got > 0 && std::find(buf, buf + got, '?') != buf + got && pty_.Write("VKR104xx"))
                          ++answered_;
                  }
              }
          })
    {
    }
    ~EightByteResponder()
    {
        stop_ = true;
        thread_.join();
    }
    const std::string& Path() const { return pty_.Path(); }
    int Answered() const { return answered_; }

  private:
    BarePty pty_;
    std::atomic<bool> stop_{false};
    std::atomic<int> answered_{0};
    std::thread thread_;
};

TEST(PortIdentifier, EightBytesAreNoAnswer)
{
    EightByteResponder port;
    Search s;
    const IdentifyResult r = s.Run({{3, port.Path()}});
    EXPECT_FALSE(r.Found());
    EXPECT_EQ(port.Answered(), 1);
    const std::vector<std::string> com3 = {"Port COM003 opened", "Questioned", "Nothing recived"};
    EXPECT_NE(std::search(s.log.begin(), s.log.end(), com3.begin(), com3.end()), s.log.end());
}

TEST(PortIdentifier, NothingFoundKeepsWhyPresentDevicesWouldNotOpen)
{
    Search s;
    s.dir.Write("not-a-terminal", "");
    const IdentifyResult r = s.Run({{4, s.dir.File("not-a-terminal")}, {5, s.dir.File("missing")}});
    EXPECT_FALSE(r.Found());
    std::vector<std::string> expected(1, "Initializing...");
    expected.resize(256, "");
    expected.push_back("Done");
    EXPECT_EQ(s.log, expected);
    ASSERT_EQ(r.Reasons.size(), 1u);
    EXPECT_EQ(r.Reasons[0], s.dir.File("not-a-terminal") + ": not a serial device");
}

TEST(Tfrm_sniff, ClosingTheDialogStopsTheSearch)
{
    SimPty sim(kInstrument);
    ASSERT_FALSE(sim.Path().empty());
    TempDir dir;
    IdentifyJob job;
    job.Ports = {{7, sim.Path()}};
    job.DeviceFolder = dir.Path();
    job.System = SystemPortView();
    Tfrm_sniff sniff(job);
    sniff.show();
    sniff.b_start->click();
    EXPECT_FALSE(sniff.b_start->isEnabled());
    ASSERT_TRUE(QTest::qWaitFor([&] { return sniff.m_log->toPlainText().contains("Port COM007 opened"); },
                                test::kPortWaitMs));
    sniff.reject();
    EXPECT_FALSE(sniff.Searching());
    EXPECT_FALSE(sniff.isVisible());
    QCoreApplication::processEvents();
    EXPECT_FALSE(sniff.m_log->toPlainText().contains("Done"));
    EXPECT_TRUE(sniff.m_log->toPlainText().startsWith("Initializing..."));
}

} // namespace
} // namespace lumidrax
