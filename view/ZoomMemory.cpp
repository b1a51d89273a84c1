#include "ZoomMemory.h"

namespace lumidrax {

void ZoomMemory::Save(const ViewWindow& view)
{
    if (Count() == kCapacity)
        entries_.erase(entries_.begin());
    entries_.push_back(view);
    pos_ = Count();
}

std::optional<ViewWindow> ZoomMemory::Previous()
{
    if (!CanPrevious())
        return std::nullopt;
    --pos_;
    return Entry(pos_);
}

std::optional<ViewWindow> ZoomMemory::Next()
{
    if (!CanNext())
        return std::nullopt;
    ++pos_;
    return Entry(pos_);
}

void ZoomMemory::Clear()
{
    entries_.clear();
    pos_ = 0;
}

std::string ZoomMemory::Label() const
{
    if (entries_.empty())
        return "-/-";
    return std::to_string(pos_) + "/" + std::to_string(Count());
}

} // namespace lumidrax
