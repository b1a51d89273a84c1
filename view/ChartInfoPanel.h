#pragma once
// A chart information panel: `p_aktinfo` ("Active", circle marker
// `sh_activecolor`, labels `lbl_curve_no`, `lbl_imp`, ...) or `p_refinfo`
// ("Reference", square marker `sh_refcolor`, labels `lbl_ref_curve_no`,
// `lbl_ref_imp`, ...). Captions above, values on white (dark scheme: on
// black) below. Shows a
// ChartInfoTexts.

#include "ReadoutTexts.h"

#include <QWidget>

#include <array>

class QLabel;

namespace lumidrax {

class MarkerShape;

class ChartInfoPanel : public QWidget {
    Q_OBJECT
  public:
    enum class Kind { Active, Reference };
    enum Field {
        CurveNo,
        Impedance,
        Velocity,
        Noise,
        DC,
        Filter,
        Edge,
        Voltage,
        Resistance,
        DateTime,
        kFields
    };

    explicit ChartInfoPanel(Kind kind, QWidget* parent = nullptr);

    void Show(const ChartInfoTexts& texts);
    // The value boxes in the colour scheme (white or black).
    void SetDark(bool dark);

    QLabel* Value(Field f) const { return values_[static_cast<std::size_t>(f)]; }
    MarkerShape* Marker() const { return marker_; }

  private:
    std::array<QLabel*, kFields> values_{};
    MarkerShape* marker_;
};

} // namespace lumidrax
