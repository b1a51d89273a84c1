#pragma once
// The zoom memory of the chart page: up to 20 saved view windows, the
// position shown by "Previous Zoom" / "Next Zoom", and the text of the tool
// bar label lbl_zoompos. Saving always appends at the end; a 21st view
// drops the oldest.

#include "ZoomShift.h"

#include <optional>
#include <string>
#include <vector>

namespace lumidrax {

class ZoomMemory {
  public:
    static constexpr int kCapacity = 20;

    // Appends `view`; the position moves to it.
    void Save(const ViewWindow& view);
    // One entry back / forward: the view to show, or nothing at the first /
    // last entry.
    std::optional<ViewWindow> Previous();
    std::optional<ViewWindow> Next();
    void Clear();

    int Count() const { return static_cast<int>(entries_.size()); }
    // 1..Count, 0 when empty.
    int Pos() const { return pos_; }
    bool CanPrevious() const { return pos_ > 1; }
    bool CanNext() const { return pos_ < Count(); }
    const ViewWindow& Entry(int n) const { return entries_[static_cast<std::size_t>(n - 1)]; }
    // "Pos/Count", or "-/-" when empty.
    std::string Label() const;

  private:
    std::vector<ViewWindow> entries_;
    int pos_ = 0;
};

} // namespace lumidrax
