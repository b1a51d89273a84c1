#pragma once
// The running system's answers to what PortSystemView asks: file groups
// from stat, the group database, this process's groups, and the holder of a
// device found among the open files under /proc. No Qt.

#include "PortSystemView.h"

namespace lumidrax {

PortSystemView SystemPortView();

} // namespace lumidrax
