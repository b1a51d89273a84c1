#include "ArchiveFeed.h"

#include "ChartNotifier.h"
#include "TMereni.h"

namespace lumidrax {

ArchiveFeed::ArchiveFeed(TMereni& charts, ChartNotifier& notifier, QObject* parent)
    : QObject(parent), charts_(charts)
{
    connect(&notifier, &ChartNotifier::chartsAdded, this, &ArchiveFeed::ChartsAdded);
}

void ArchiveFeed::ChartsAdded()
{
    for (int i = 1; i <= charts_.Count; ++i) {
        const TJednoMereni& c = charts_.Rec(i);
        if (!seen_.insert(c.Id).second)
            continue;
        if (!command_.empty())
            Feed(c, ArchiveOrigin::Command, command_);
        else if (c.Saved && !c.FileName.empty())
            Feed(c, ArchiveOrigin::File, c.FileName);
        else
            Feed(c, ArchiveOrigin::Port, portDetail_ ? portDetail_() : std::string());
    }
}

void ArchiveFeed::Saved(const TJednoMereni& chart)
{
    seen_.insert(chart.Id);
    Feed(chart, ArchiveOrigin::Saved, chart.FileName);
}

void ArchiveFeed::Feed(const TJednoMereni& chart, ArchiveOrigin origin, const std::string& detail)
{
    if (sink_)
        sink_({chart, origin, detail, tags_});
}

} // namespace lumidrax
