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
// reason when it is missing or this user may not use it, empty when it
// looks usable.
std::string DeviceState(const std::string& device, const PortSystemView& system);

} // namespace lumidrax
