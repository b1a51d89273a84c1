#include "EventComparison.h"

#include "NamedValue.h"

#include <cmath>

namespace lumidrax {

namespace {

enum class Family { Launch, End, Open, Short, Echo };

Family FamilyOf(EventKind kind)
{
    switch (kind) {
    case EventKind::Launch:
        return Family::Launch;
    case EventKind::EndOpen:
    case EventKind::EndShort:
        return Family::End;
    case EventKind::Short:
        return Family::Short;
    case EventKind::Echo:
        return Family::Echo;
    case EventKind::Open:
        break;
    }
    return Family::Open;
}

} // namespace

std::string_view EventChangeName(EventChange change)
{
    static constexpr NamedValue<EventChange> kNames[] = {
        {EventChange::New, "new"},
        {EventChange::Moved, "moved"},
        {EventChange::Same, "same"},
        {EventChange::Gone, "gone"},
    };
    return NameOf(kNames, change, "new");
}

std::vector<ComparedEvent> CompareEvents(const std::vector<ChartEvent>& events,
                                         const std::vector<ChartEvent>& reference, long double step,
                                         const ComparisonParams& params)
{
    const long double tolerance = params.Tolerance > 0 ? params.Tolerance : 2 * std::fabs(step);
    std::vector<bool> paired(reference.size(), false);
    std::vector<ComparedEvent> result;
    for (std::size_t i = 0; i < events.size(); ++i) {
        const ChartEvent& e = events[i];
        const Family family = FamilyOf(e.Kind);
        // The launch and the end always pair; the others within the radius.
        const bool anywhere = family == Family::Launch || family == Family::End;
        const long double radius = std::max(10 * tolerance, params.MatchFraction * std::fabs(e.Distance));
        int best = -1;
        for (std::size_t r = 0; r < reference.size(); ++r) {
            if (paired[r] || FamilyOf(reference[r].Kind) != family)
                continue;
            const long double gap = std::fabs(reference[r].Distance - e.Distance);
            if (!anywhere && gap > radius)
                continue;
            if (best < 0 || gap < std::fabs(reference[static_cast<std::size_t>(best)].Distance - e.Distance))
                best = static_cast<int>(r);
        }
        ComparedEvent c;
        c.Index = static_cast<int>(i);
        if (best >= 0) {
            paired[static_cast<std::size_t>(best)] = true;
            c.RefIndex = best;
            c.Shift = e.Distance - reference[static_cast<std::size_t>(best)].Distance;
            c.Change = std::fabs(c.Shift) > tolerance ? EventChange::Moved : EventChange::Same;
        }
        result.push_back(c);
    }
    for (std::size_t r = 0; r < reference.size(); ++r)
        if (!paired[r]) {
            ComparedEvent c;
            c.Change = EventChange::Gone;
            c.RefIndex = static_cast<int>(r);
            result.push_back(c);
        }
    return result;
}

} // namespace lumidrax
