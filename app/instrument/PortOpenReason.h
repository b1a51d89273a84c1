#pragma once
// Why a serial port will not open, in words a user can act on: built from
// the error of the failed open and what is known about the device (does it
// exist, its group, whether the user and this session are in that group,
// which process holds it, whether it is a Bluetooth link). Gathering these
// facts from the system is the caller's business; this text needs none of
// it. No Qt.

#include "PortSystemView.h"

#include <string>

namespace lumidrax {

struct PortDeviceFacts {
    std::string Device;          // e.g. "/dev/rfcomm0"
    int Error = 0;               // errno of the failed open
    bool Exists = true;          // the device path exists
    std::string Group;           // group owning the device; empty when unknown
    std::string User;            // the user running the program
    bool UserInGroup = false;    // the group database lists the user in Group
    bool SessionInGroup = false; // this process has Group among its groups
    std::string Holder;          // process holding the device ("ModemManager (1234)"); empty when unknown
    bool Bluetooth = false;      // an rfcomm device
};

// One sentence, starting with the device: "/dev/ttyUSB0: permission denied;
// ...". Empty when Error is 0 and the device exists.
std::string PortOpenReason(const PortDeviceFacts& facts);

// The facts of `device` after an open failed with `error`, asked from
// `system`; the holder is asked only for a busy device.
PortDeviceFacts GatherPortFacts(const std::string& device, int error, const PortSystemView& system);

// The state of a device as a list shows it, without opening it: its
// reason when it is missing, no terminal (a file, a FIFO, a folder,
// /dev/null, a symbolic link loop) or this user may not use it; empty when
// it looks usable.
std::string DeviceState(const std::string& device, const PortSystemView& system);

// What the port box and the status bar say while the connection mode has
// no port number: that none is set and where to set one.
std::string NoPortText(bool bluetooth);

// Why an open port closed by itself: the port, what became of its device
// (`state` as DeviceState gives it, empty when it is still there) and how
// to open it again.
std::string LostPortText(int port, const std::string& device, const std::string& state);

} // namespace lumidrax
