#pragma once
// The viewer's side of the [ARCHIVE] settings: the settings value turned
// into the archive's location, and the folder where charts wait while the
// archive cannot be written.

#include "ArchiveLocation.h"
#include "Settings.h"

#include <string>

namespace lumidrax {

// The location the [ARCHIVE] keys name; an empty DATABASE is "lumidrax".
ArchiveLocation ArchiveLocationOf(const Settings& settings);

// $XDG_DATA_HOME/lumidrax/archive-spool (the generic data folder).
std::string DefaultSpoolFolder();

} // namespace lumidrax
