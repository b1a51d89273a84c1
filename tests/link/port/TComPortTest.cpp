// The serial port over pseudo-terminals: open, receive, send, purge, close,
// and a device that goes away while open.

#include "TComPort.h"
#include "PortTestSupport.h"

#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include <cerrno>

namespace lumidrax {
namespace {

using test::BarePty;
using test::kPortWaitMs;

TEST(TComPort, DeviceOfAPortNumberAndLineSettings)
{
    const PortDeviceMap devices{{5, "/dev/rfcomm0"}, {7, ""}};
    EXPECT_EQ(TComPort::DeviceName(5, devices), "/dev/rfcomm0");
    EXPECT_EQ(TComPort::DeviceName(1, devices), "/dev/ttyS0");
    EXPECT_EQ(TComPort::DeviceName(7, devices), "/dev/ttyS6"); // an empty entry counts as none
    EXPECT_EQ(TComPort::DeviceName(2, devices, "/tmp/dev"), "/tmp/dev/ttyS1");

    TComPort port;
    EXPECT_EQ(port.Port, 1);
    EXPECT_EQ(port.BaudRate, 9600);
    EXPECT_EQ(port.DataBits(), 8);
    port.SetDataBits(4);
    EXPECT_EQ(port.DataBits(), 5);
    port.SetDataBits(12);
    EXPECT_EQ(port.DataBits(), 8);
    port.SetDataBits(7);
    EXPECT_EQ(port.DataBits(), 7);
}

TEST(TComPort, MissingDeviceFailsToOpenWithItsReason)
{
    TComPort port;
    port.Port = 200;
    port.SetDevices({{200, "/nonexistent/ttyLumidrax"}});
    QSignalSpy opened(&port, &TComPort::OnOpen);
    QSignalSpy closed(&port, &TComPort::OnClose);
    try {
        port.Open();
        FAIL() << "the port opened";
    } catch (const EComHandle& e) {
        const std::string text = e.what();
        EXPECT_EQ(text.rfind("Unable to open com port: /nonexistent/ttyLumidrax", 0), 0u) << text;
        EXPECT_NE(text.find("[PORTS]"), std::string::npos) << text;
    }
    EXPECT_FALSE(port.Connected());
    EXPECT_EQ(port.OpenErrno(), ENOENT);
    EXPECT_EQ(opened.count(), 0);
    EXPECT_EQ(closed.count(), 0);
    port.Close(); // closing a closed port does nothing
    EXPECT_EQ(closed.count(), 0);
}

TEST(TComPort, PseudoTerminalReceivesSendsAndCloses)
{
    BarePty pty;
    ASSERT_FALSE(pty.Path().empty());
    TComPort port;
    port.Port = 3;
    port.SetDevices({{3, pty.Path()}});
    QSignalSpy opened(&port, &TComPort::OnOpen);
    QSignalSpy closed(&port, &TComPort::OnClose);
    QSignalSpy received(&port, &TComPort::OnRxChar);
    ASSERT_NO_THROW(port.Open()); // no DTR line on a pseudo-terminal: still opens
    EXPECT_TRUE(port.Connected());
    EXPECT_EQ(opened.count(), 1);

    ASSERT_TRUE(pty.Write("0123456789"));
    EXPECT_TRUE(QTest::qWaitFor([&] { return port.InputCount() == 10; }, kPortWaitMs));
    EXPECT_GE(received.count(), 1);
    std::uint8_t buf[100];
    EXPECT_EQ(port.Read(buf, 100), 10); // fewer waiting than asked: at once
    EXPECT_EQ(std::string(reinterpret_cast<char*>(buf), 10), "0123456789");

    ASSERT_TRUE(pty.Write("abc"));
    EXPECT_TRUE(QTest::qWaitFor([&] { return port.InputCount() == 3; }, kPortWaitMs));
    std::string text;
    EXPECT_EQ(port.ReadStr(text, 2), 2);
    EXPECT_EQ(text, "ab");
    port.PurgeInput();
    EXPECT_EQ(port.InputCount(), 0);

    EXPECT_EQ(port.WriteStr("R"), 1);
    EXPECT_EQ(pty.ReadFromPort(1), "R");

    // Opening an open port closes it first.
    ASSERT_NO_THROW(port.Open());
    EXPECT_EQ(closed.count(), 1);
    EXPECT_EQ(opened.count(), 2);
    port.Close();
    EXPECT_EQ(closed.count(), 2);
    EXPECT_FALSE(port.Connected());
    port.Close();
    EXPECT_EQ(closed.count(), 2);
    EXPECT_THROW(port.WriteStr("R"), EWriteError);
}

TEST(TComPort, DeviceGoingAwayClosesThePort)
{
    auto pty = std::make_unique<BarePty>();
    TComPort port;
    port.SetDevices({{1, pty->Path()}});
    ASSERT_NO_THROW(port.Open());
    QSignalSpy closed(&port, &TComPort::OnClose);
    ASSERT_TRUE(pty->Write("x"));
    EXPECT_TRUE(QTest::qWaitFor([&] { return port.InputCount() == 1; }, kPortWaitMs));
    pty.reset(); // the far end is gone
    EXPECT_TRUE(closed.count() == 1 || closed.wait(kPortWaitMs));
    EXPECT_FALSE(port.Connected());
}

} // namespace
} // namespace lumidrax
