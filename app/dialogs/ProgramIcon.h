#pragma once
// The program's icon, painted (the same picture as packaging/lumidrax.svg):
// a dark screen with a grid and a reflectogram trace with its reflection.

#include <QIcon>
#include <QPixmap>

namespace lumidrax {

class ProgramIcon {
  public:
    static QPixmap Pixmap(int size);
    // Sizes 16 to 256, for window icons.
    static QIcon Icon();
};

} // namespace lumidrax
