#pragma once
// The 27-colour palette of the chart page for the light and the dark colour
// scheme: axis strips, plot, zero and grid lines, chart list colours and the
// ten curve colours (entries 17..26 hold curve colours 1..10).

#include "TMereni.h"

#include <array>

namespace lumidrax {

class Palette {
  public:
    static constexpr int kSize = 27;
    // Entries with a user.
    static constexpr int kAxisPen = 0;
    static constexpr int kAxisBackground = 1;
    static constexpr int kAxisTicks = 2;
    static constexpr int kZeroLines = 4;
    static constexpr int kAxisText = 6;
    static constexpr int kPlotPen = 7;
    static constexpr int kPlotBackground = 8;
    static constexpr int kGrid = 9;
    static constexpr int kListColour = 11;
    static constexpr int kListBackground = 12;
    static constexpr int kListMark = 13;
    static constexpr int kListMark2 = 14;
    static constexpr int kListText = 15;
    static constexpr int kListWhite = 16;
    static constexpr int kFirstCurve = 17; // curve colour 1; slot k -> entry 16 + k

    // A light palette.
    Palette() { Fill(false); }
    explicit Palette(bool dark) { Fill(dark); }

    // Fills all 27 entries for one scheme.
    void Fill(bool dark);

    bool Dark() const { return dark_; }
    RgbColor Entry(int i) const { return entries_[static_cast<std::size_t>(i)]; }
    // Curve colour of colour slot 1..10 (white for any other slot).
    RgbColor SlotEntry(int slot) const;

  private:
    std::array<RgbColor, kSize> entries_{};
    bool dark_ = false;
};

// Applies a colour scheme: fills the palette, gives every chart that holds a
// colour slot the slot's colour again (a colour the user chose for a chart,
// ColorChosen, stays),
// and makes charts added later take the scheme's slot colours. The chart
// list and description editor take entries 12 and 15 from the palette.
void ApplyColorScheme(Palette& palette, TMereni& charts, bool dark);

} // namespace lumidrax
