#pragma once
// The cursor read-out panel `p_coords` ("Cursors:"): "Act" with the circle
// marker `sh_main` and `lbl_mainX` / `lbl_mainY`, "Ref" with the square
// marker `sh_ref` and `lbl_refX` / `lbl_refY`, "Diff" with `lbl_diffX` /
// `lbl_diffY`. Shows a CursorReadoutTexts.

#include "ReadoutTexts.h"

#include <QWidget>

class QLabel;

namespace lumidrax {

class MarkerShape;

class CursorCoordsPanel : public QWidget {
    Q_OBJECT
  public:
    // Label backgrounds: the active cursor, the reference cursor, the
    // difference.
    static constexpr QRgb kMainColour = 0xFFCCFFCC;
    static constexpr QRgb kRefColour = 0xFFCCFFFF;
    static constexpr QRgb kDiffColour = 0xFFFFCCCC;

    explicit CursorCoordsPanel(QWidget* parent = nullptr);

    void Show(const CursorReadoutTexts& texts);
    // The value boxes in the colour scheme: light tints, or dark shades of
    // the same hues with white text.
    void SetDark(bool dark);

    QLabel* MainX() const { return mainX_; }
    QLabel* MainY() const { return mainY_; }
    QLabel* RefX() const { return refX_; }
    QLabel* RefY() const { return refY_; }
    QLabel* DiffX() const { return diffX_; }
    QLabel* DiffY() const { return diffY_; }
    MarkerShape* MainMarker() const { return main_; }
    MarkerShape* RefMarker() const { return ref_; }

  private:
    QLabel* mainX_;
    QLabel* mainY_;
    QLabel* refX_;
    QLabel* refY_;
    QLabel* diffX_;
    QLabel* diffY_;
    MarkerShape* main_;
    MarkerShape* ref_;
};

} // namespace lumidrax
