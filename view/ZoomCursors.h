#pragma once
// The three mouse cursors of the zoom tool, drawn here: 1 "CRZOOMIN1" (a
// magnifier with +, the plot in zoom mode), 2 "CRZOOMOUT1" (with -, zoom
// mode while Ctrl is held) and 3 "CRZOOMRECT1" (with a small frame; kept for
// completeness, the plot does not use it).

#include <QCursor>

namespace lumidrax {

enum class ZoomCursorKind { ZoomIn = 1, ZoomOut = 2, ZoomRect = 3 };

// Made once and kept (needs a QGuiApplication).
const QCursor& ZoomCursor(ZoomCursorKind kind);

} // namespace lumidrax
