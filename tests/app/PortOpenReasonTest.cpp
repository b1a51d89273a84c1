// Why a port will not open: the text for each error and device state, from
// made-up facts (no real device is touched).

#include "PortOpenReason.h"
#include "SystemPortView.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <map>

namespace lumidrax {
namespace {

PortDeviceFacts Usb(int error)
{
    PortDeviceFacts f;
    f.Device = "/dev/ttyUSB0";
    f.Error = error;
    f.Group = "dialout";
    f.User = "anna";
    return f;
}

TEST(PortOpenReason, EachErrorAndStateHasItsText)
{
    struct Case {
        const char* Name;
        PortDeviceFacts Facts;
        std::string Text;
    };
    PortDeviceFacts missing = Usb(ENOENT);
    missing.Exists = false;
    PortDeviceFacts joined = Usb(EACCES);
    joined.UserInGroup = true;
    PortDeviceFacts noGroup = Usb(EACCES);
    noGroup.Group.clear();
    PortDeviceFacts held = Usb(EBUSY);
    held.Holder = "ModemManager (612)";
    PortDeviceFacts rfcomm = Usb(EHOSTDOWN);
    rfcomm.Device = "/dev/rfcomm0";
    rfcomm.Bluetooth = true;
    PortDeviceFacts refused = rfcomm;
    refused.Error = ECONNREFUSED;
    const std::string peer =
        "/dev/rfcomm0: the Bluetooth instrument does not answer (switched off, out of range or refusing the "
        "connection)";
    const Case cases[] = {
        {"missing", missing, "/dev/ttyUSB0: no such device"},
        {"ENODEV", Usb(ENODEV), "/dev/ttyUSB0: no such device"},
        {"not in group", Usb(EACCES),
         "/dev/ttyUSB0: permission denied; the device belongs to the group dialout: add yourself with \"sudo "
         "usermod -aG dialout anna\" and log in again"},
        {"joined, old session", joined,
         "/dev/ttyUSB0: permission denied; you are in the group dialout, but this session started before you "
         "joined it: log in again"},
        {"group unknown", noGroup, "/dev/ttyUSB0: permission denied"},
        {"busy, holder known", held, "/dev/ttyUSB0: busy, held by ModemManager (612)"},
        {"busy, holder unknown", Usb(EBUSY), "/dev/ttyUSB0: busy, held by another program"},
        {"Bluetooth peer down", rfcomm, peer},
        {"Bluetooth refused", refused, peer},
        {"not a terminal", Usb(ENOTTY), "/dev/ttyUSB0: not a serial device"},
        {"link loop", Usb(ELOOP), "/dev/ttyUSB0: symbolic link loop"},
        {"opened", Usb(0), ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(PortOpenReason(c.Facts), c.Text) << c.Name;
}

// A made-up system: two devices of the group dialout (20), one user whose
// session predates joining it on the second machine state.
struct FakeSystem {
    std::map<std::string, unsigned> Files = {{"/dev/ttyUSB0", 20}, {"/dev/rfcomm0", 20}};
    std::map<unsigned, std::string> Groups = {{20, "dialout"}};
    std::vector<std::pair<std::string, unsigned>> Members;
    std::vector<unsigned> Session = {1000};
    std::map<std::string, std::string> Holders;
    std::map<std::string, int> Denied; // path -> errno of asking for access

    PortSystemView View() const
    {
        PortSystemView v;
        v.PathGroup = [this](const std::string& p) -> std::optional<unsigned> {
            const auto it = Files.find(p);
            return it == Files.end() ? std::nullopt : std::optional<unsigned>(it->second);
        };
        v.GroupName = [this](unsigned g) { return Groups.count(g) ? Groups.at(g) : std::string(); };
        v.UserName = [] { return std::string("anna"); };
        v.UserInGroup = [this](const std::string& u, unsigned g) {
            return std::find(Members.begin(), Members.end(), std::make_pair(u, g)) != Members.end();
        };
        v.SessionGroups = [this] { return Session; };
        v.AccessError = [this](const std::string& p) { return Denied.count(p) ? Denied.at(p) : 0; };
        v.Holder = [this](const std::string& p) { return Holders.count(p) ? Holders.at(p) : std::string(); };
        return v;
    }
};

TEST(PortOpenReason, FactsComeFromTheSystemView)
{
    FakeSystem sys;
    EXPECT_EQ(PortOpenReason(GatherPortFacts("/dev/ttyACM3", ENOENT, sys.View())),
              "/dev/ttyACM3: no such device");
    EXPECT_EQ(
        PortOpenReason(GatherPortFacts("/dev/ttyUSB0", EACCES, sys.View())),
        "/dev/ttyUSB0: permission denied; the device belongs to the group dialout: add yourself with \"sudo "
        "usermod -aG dialout anna\" and log in again");
    sys.Members.emplace_back("anna", 20);
    EXPECT_EQ(
        PortOpenReason(GatherPortFacts("/dev/ttyUSB0", EACCES, sys.View())),
        "/dev/ttyUSB0: permission denied; you are in the group dialout, but this session started before you "
        "joined it: log in again");
    sys.Holders["/dev/ttyUSB0"] = "ModemManager (612)";
    EXPECT_EQ(PortOpenReason(GatherPortFacts("/dev/ttyUSB0", EBUSY, sys.View())),
              "/dev/ttyUSB0: busy, held by ModemManager (612)");
    const PortDeviceFacts rfcomm = GatherPortFacts("/dev/rfcomm0", EHOSTDOWN, sys.View());
    EXPECT_TRUE(rfcomm.Bluetooth);
    EXPECT_TRUE(PortOpenReason(rfcomm).find("Bluetooth instrument does not answer") != std::string::npos);
}

TEST(PortOpenReason, DeviceStateWithoutOpening)
{
    FakeSystem sys;
    sys.Denied["/dev/rfcomm0"] = EACCES;
    EXPECT_EQ(DeviceState("/dev/ttyACM0", sys.View()), "/dev/ttyACM0: no such device");
    EXPECT_EQ(DeviceState("/dev/ttyUSB0", sys.View()), "");
    EXPECT_EQ(DeviceState("/dev/rfcomm0", sys.View()),
              "/dev/rfcomm0: permission denied; the device belongs to the group dialout: add yourself with "
              "\"sudo usermod -aG dialout anna\" and log in again");
}

// The kernel's list of terminal drivers tells a serial line or a
// pseudo-terminal from /dev/null and the system's own terminals.
TEST(PortOpenReason, TerminalDriversByDeviceNumber)
{
    const std::string drivers = "/dev/tty             /dev/tty        5       0 system:/dev/tty\n"
                                "/dev/ptmx            /dev/ptmx       5       2 system\n"
                                "usbserial            /dev/ttyUSB   188 0-511 serial\n"
                                "serial               /dev/ttyS       4      64-111 serial\n"
                                "pty_slave            /dev/pts      136 0-1048575 pty:slave\n"
                                "pty_master           /dev/ptm      128 0-1048575 pty:master\n";
    const struct {
        unsigned Major, Minor;
        bool Terminal;
    } cases[] = {{188, 0, true},  {4, 64, true}, {4, 112, false}, {136, 7, true},
                 {128, 7, false}, {5, 0, false}, {5, 2, false},   {1, 3, false}};
    for (const auto& c : cases)
        EXPECT_EQ(IsTerminalDriver(drivers, c.Major, c.Minor), c.Terminal) << c.Major << ":" << c.Minor;
    // What the list says of a device that is no terminal.
    FakeSystem sys;
    PortSystemView view = sys.View();
    view.TerminalError = [](const std::string& p) { return p == "/dev/ttyUSB0" ? ENOTTY : 0; };
    EXPECT_EQ(DeviceState("/dev/ttyUSB0", view), "/dev/ttyUSB0: not a serial device");
    EXPECT_EQ(DeviceState("/dev/rfcomm0", view), "");
}

} // namespace
} // namespace lumidrax
