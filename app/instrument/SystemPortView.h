#pragma once
// The running system's answers to what PortSystemView asks: file groups
// from stat, the group database, this process's groups, and the holder of a
// device found among the open files under /proc. No Qt.

#include "PortSystemView.h"

#include <string>

namespace lumidrax {

PortSystemView SystemPortView();

// Whether a character device number belongs to a terminal driver of a
// /proc/tty/drivers listing (name, node, major, minors, type per line); the
// system's own terminals (/dev/tty, the console, ptmx) and the master
// sides of pseudo-terminals do not count.
bool IsTerminalDriver(const std::string& drivers, unsigned major, unsigned minor);

} // namespace lumidrax
