// events [--sensitivity S] [--floor P] [--reference N] [--known-length M
//        [--event K]] [--samples] FILE...: loads the files into one
// collection, finds each chart's events and adds them to its object as
// "Events": Kind, Sample (1-based leading edge, fractional), Distance,
// PeakSample, PeakLevel, Snr; and "EndFound" (false: no reflection cleared
// the end's floor, the line is terminated or longer than the range).
// --reference N compares every other chart's events with chart N's (Change
// "new" / "moved" / "same", Shift in metres; the reference's events missing
// in the chart follow as "gone"). --known-length M adds "VelocityCheck": the
// velocity factor that puts event K (from 1; the end by default) at M metres,
// or, when no factor of 0,1..1 does, null and a "Message" that the event
// cannot be that far.

#include "ChartJson.h"
#include "Commands.h"
#include "EventOptions.h"

#include "EventComparison.h"
#include "EventDetection.h"
#include "NumberText.h"

#include <CLI/CLI.hpp>

#include <memory>

namespace lumidrax::tool {

namespace {

struct EventsOptions {
    EventOptions detection;
    int reference = 0;
    std::string knownLength;
    int event = 0;
    bool samples = false;
    std::vector<std::string> files;
};

Json EventJson(const ChartEvent& e)
{
    return {{"Kind", std::string(EventKindName(e.Kind))},    {"Sample", static_cast<double>(e.Sample)},
            {"Distance", static_cast<double>(e.Distance)},   {"PeakSample", e.PeakSample},
            {"PeakLevel", static_cast<double>(e.PeakLevel)}, {"Snr", static_cast<double>(e.Snr)}};
}

Json EventsJson(const std::vector<ChartEvent>& events, const std::vector<ChartEvent>* reference,
                long double step)
{
    Json list = Json::array();
    for (const ChartEvent& e : events)
        list.push_back(EventJson(e));
    if (!reference)
        return list;
    for (const ComparedEvent& c : CompareEvents(events, *reference, step)) {
        if (c.Change == EventChange::Gone) {
            Json gone = EventJson((*reference)[static_cast<std::size_t>(c.RefIndex)]);
            gone["Change"] = "gone";
            gone["Shift"] = nullptr;
            list.push_back(std::move(gone));
            continue;
        }
        Json& e = list[static_cast<std::size_t>(c.Index)];
        e["Change"] = std::string(EventChangeName(c.Change));
        e["Shift"] = c.Change == EventChange::New ? Json(nullptr) : Json(static_cast<double>(c.Shift));
    }
    return list;
}

int RunEvents(const EventsOptions& o)
{
    const EventParams params = o.detection.Params();
    std::optional<long double> length;
    if (!o.knownLength.empty()) {
        length = Decimal(o.knownLength);
        if (!length || !(*length > 0))
            throw CLI::ValidationError("--known-length",
                                       "wants a length in metres above 0, not " + o.knownLength);
    }

    TMereni collection;
    ToolOutput output;
    for (const std::string& file : o.files)
        LoadInto(collection, file, output);
    std::vector<std::vector<ChartEvent>> events;
    for (int i = 1; i <= collection.Count; ++i)
        events.push_back(DetectEvents(collection.Rec(i), params));

    const bool compare = o.reference >= 1 && o.reference <= collection.Count;
    if (o.reference != 0 && !compare) {
        output.AddEntry(
            {{"command", "events"},
             {"error", "Error: there is no chart " + std::to_string(o.reference) + " to compare with."}},
            true);
    }
    for (int i = 1; i <= collection.Count; ++i) {
        const auto& mine = events[static_cast<std::size_t>(i - 1)];
        const bool against = compare && i != o.reference;
        Json fields = {
            {"Events",
             EventsJson(mine, against ? &events[static_cast<std::size_t>(o.reference - 1)] : nullptr,
                        collection.Rec(i).Step)},
            {"EndFound", EndEventIndex(mine) >= 0}};
        if (length) {
            const int k = o.event > 0 ? o.event : EndEventIndex(mine) + 1;
            const bool exists = k >= 1 && k <= static_cast<int>(mine.size());
            std::optional<long double> velocity;
            if (exists)
                velocity = VelocityForLength(collection.Rec(i), mine[static_cast<std::size_t>(k - 1)].Sample,
                                             *length);
            if (!velocity)
                output.MarkFailed();
            Json message = nullptr;
            if (!velocity)
                message = exists ? "Event " + std::to_string(k) + " cannot be " + FormatGeneral(*length) +
                                       " m from the cable start."
                                 : std::string(k > 0 ? "There is no such event." : "No end was found.");
            fields["VelocityCheck"] = {
                {"Event", k > 0 ? Json(k) : Json(nullptr)},
                {"KnownLength", static_cast<double>(*length)},
                {"Velocity", velocity ? Json(static_cast<double>(*velocity)) : Json(nullptr)},
                {"Message", message}};
        }
        output.AddChartFields(i, std::move(fields));
    }
    return output.Print(collection, o.samples);
}

} // namespace

void AddEventsCommand(CLI::App& app, int& exitStatus)
{
    auto o = std::make_shared<EventsOptions>();
    CLI::App* cmd =
        app.add_subcommand("events", "Find the events (launch, reflections, end, echoes) of charts");
    cmd->add_option("--sensitivity", o->detection.sensitivity,
                    "0..9, the higher the weaker the events found (default 5)");
    cmd->add_option("--floor", o->detection.floor,
                    "level floor in percent: reflections closer to the baseline are no events, and the end "
                    "clears twice it (default 1)");
    cmd->add_option("--reference", o->reference, "compare every other chart's events with chart N's");
    cmd->add_option("--known-length", o->knownLength,
                    "true length in metres to an event: add the velocity factor that puts it there");
    cmd->add_option("--event", o->event, "the event of --known-length, counted from 1 (default: the end)")
        ->check(CLI::PositiveNumber);
    cmd->add_flag("--samples", o->samples, "add each chart's samples");
    cmd->add_option("FILE", o->files, "chart files, loaded in this order")->required();
    cmd->callback([o, &exitStatus] { exitStatus = RunEvents(*o); });
}

} // namespace lumidrax::tool
