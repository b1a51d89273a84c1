#pragma once
// The three read-out areas above the plot, top to bottom: the reference
// chart information `p_refinfo` (hidden until switched on), the active chart
// information `p_aktinfo` and the cursor read-out `p_coords`. They show the
// collection handed in with SetCharts (not owned).
//
// The owner calls UpdateCursorReadouts after every cursor move,
// UpdateActiveInfo when the active chart may have changed and UpdateRefInfo
// when the reference chart may have changed (each is cheap when nothing
// changed: a label repaints only when its text does).

#include "TMereni.h"

#include <QWidget>

namespace lumidrax {

class ChartInfoPanel;
class CursorCoordsPanel;

class CursorReadoutPanels : public QWidget {
    Q_OBJECT
  public:
    explicit CursorReadoutPanels(QWidget* parent = nullptr);

    void SetCharts(const TMereni* charts);

    ChartInfoPanel* RefInfo() const { return refInfo_; }
    ChartInfoPanel* ActiveInfo() const { return activeInfo_; }
    CursorCoordsPanel* Coords() const { return coords_; }

    // Fills `p_coords`.
    void UpdateCursorReadouts();
    // Fills `p_aktinfo` (and `p_coords`).
    void UpdateActiveInfo();
    // Fills `p_refinfo` (and `p_coords`).
    void UpdateRefInfo();
    // Everything.
    void UpdateAll();
    // The panels and their value boxes in the colour scheme.
    void SetDark(bool dark);

    // "&Ref. Chart Info": `p_refinfo` is shown exactly while `on`.
    void SetRefInfoVisible(bool on);
    bool RefInfoVisible() const { return refInfoOn_; }

  private:
    const TMereni* charts_ = nullptr;
    ChartInfoPanel* refInfo_;
    ChartInfoPanel* activeInfo_;
    CursorCoordsPanel* coords_;
    bool refInfoOn_ = false;
};

} // namespace lumidrax
