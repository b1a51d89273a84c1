#pragma once
// What the search for the instrument's ports asks and where: the port
// numbers 1..255 by name ("COM005"), the question each is asked ("?005"),
// the serial devices present that no number reaches yet, and the number a
// found device gets. A number's device is its [PORTS] entry, otherwise
// ttyS(n-1) of the device folder. No Qt.

#include <map>
#include <string>
#include <vector>

namespace lumidrax {

inline constexpr int kMaxPortNumber = 255;

// "COM" + the number as three digits: "COM005".
std::string CandidateName(int port);
// "?" + the number as three digits: "?005".
std::string PortQuestion(int port);
// An instrument's answer begins with "VKR".
bool IsVkrAnswer(const std::string& text);

// The serial devices under devDir (as ListSerialDevices finds them) that no
// number 1..255 reaches through `ports` or its default device; a by-id link
// to a device a number reaches counts as reached.
std::vector<std::string> UnmappedSerialDevices(const std::map<int, std::string>& ports,
                                               const std::string& devDir);

// The lowest number that `ports` does not map and whose default device
// ttyS(n-1) does not exist under devDir, so that giving it a device hides
// nothing; 0 when all 255 are taken.
int FreePortNumber(const std::map<int, std::string>& ports, const std::string& devDir);

// The number a device chosen from the list gets: the lowest number that
// reaches it already (through `ports` or its default device, links
// resolved), otherwise FreePortNumber; 0 when none is left.
int NumberForDevice(const std::map<int, std::string>& ports, const std::string& devDir,
                    const std::string& device);

} // namespace lumidrax
