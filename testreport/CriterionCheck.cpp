#include "CriterionCheck.h"

#include "DCReading.h"
#include "NumberText.h"

#include <cmath>
#include <utility>

namespace lumidrax {

namespace {

using Outcome = CriterionOutcome;

std::string Metres(long double m)
{
    return FormatFixed(m, 2) + " m";
}

std::string Number(long double v)
{
    return FormatGeneral(v, 10);
}

std::string Volts(long double v)
{
    return Number(v) + " V";
}

void Judge(CriterionResult& r, bool pass, const std::string& whyNot)
{
    r.Outcome = pass ? Outcome::Pass : Outcome::Fail;
    r.Reason = pass ? std::string() : whyNot;
}

void NotEvaluated(CriterionResult& r, const std::string& why)
{
    r.Outcome = Outcome::NotEvaluated;
    r.Reason = why;
}

void CheckEnd(CriterionResult& r, const Criterion& c, const ChartFacts& f)
{
    r.Title = "End within " + Number(c.Limit) + " m ± " + Number(c.Tolerance) + " m";
    r.Limit = Number(c.Limit - c.Tolerance) + " .. " + Number(c.Limit + c.Tolerance) + " m";
    const int end = EndEventIndex(f.Events);
    if (end < 0) {
        r.Value = "-";
        NotEvaluated(r, "no end found");
        return;
    }
    const long double d = f.Events[static_cast<std::size_t>(end)].Distance;
    r.Value = Metres(d);
    Judge(r, std::fabs(d - c.Limit) <= c.Tolerance,
          d < c.Limit ? "the end is too near" : "the end is too far");
}

// A criterion that compares with the baseline, named with its limit; it is
// not evaluated without a baseline.
bool WithBaseline(CriterionResult& r, const ChartFacts& f, std::string title, std::string limit)
{
    r.Title = std::move(title);
    r.Limit = std::move(limit);
    if (f.Comparison)
        return true;
    r.Value = "-";
    NotEvaluated(r, "no baseline");
    return false;
}

// Nothing to hold against the limit: passed, with what was found shown.
void PassWith(CriterionResult& r, const std::string& value)
{
    r.Value = value;
    Judge(r, true, {});
}

void CheckNew(CriterionResult& r, const Criterion& c, const ChartFacts& f)
{
    if (!WithBaseline(r, f, "No new event above " + Number(c.Limit) + " %",
                      "at most " + Number(c.Limit) + " %"))
        return;
    const ChartEvent* largest = nullptr;
    for (const ComparedEvent& e : *f.Comparison) {
        if (e.Change != EventChange::New)
            continue;
        const ChartEvent& event = f.Events[static_cast<std::size_t>(e.Index)];
        if (largest == nullptr || std::fabs(event.PeakLevel) > std::fabs(largest->PeakLevel))
            largest = &event;
    }
    if (largest == nullptr)
        return PassWith(r, "none");
    const long double level = std::fabs(largest->PeakLevel);
    r.Value = FormatFixed(level, 2) + " % (" + std::string(EventKindName(largest->Kind)) + ") at " +
              Metres(largest->Distance);
    Judge(r, level <= c.Limit, "a new event above the limit");
}

void CheckMoved(CriterionResult& r, const Criterion& c, const ChartFacts& f)
{
    if (!WithBaseline(r, f, "No event moved by more than " + Number(c.Limit) + " m",
                      "at most " + Number(c.Limit) + " m"))
        return;
    const ComparedEvent* largest = nullptr;
    for (const ComparedEvent& e : *f.Comparison)
        if ((e.Change == EventChange::Same || e.Change == EventChange::Moved) &&
            (largest == nullptr || std::fabs(e.Shift) > std::fabs(largest->Shift)))
            largest = &e;
    if (largest == nullptr)
        return PassWith(r, "no event in common");
    const long double shift = std::fabs(largest->Shift);
    r.Value = Metres(shift) + " (event " + std::to_string(largest->Index + 1) + ")";
    Judge(r, shift <= c.Limit, "an event moved beyond the limit");
}

// The text the chart shows, and why it gives no value when it does not.
std::string MissingDC(const ChartFacts& f, const std::string& text)
{
    if (!f.HasDC || text.empty() || text == "---")
        return "no DC measurement";
    return "no DC value (the instrument shows \"" + text + "\")";
}

// The chart's DC text as the value, and what it reads; without a reading
// the criterion is not evaluated.
std::optional<DCReading> ReadDC(CriterionResult& r, const ChartFacts& f, const std::string& text,
                                std::optional<DCReading> (*read)(const std::string&))
{
    r.Value = f.HasDC && !text.empty() ? text : "-";
    std::optional<DCReading> v = f.HasDC ? read(text) : std::nullopt;
    if (!v)
        NotEvaluated(r, MissingDC(f, text));
    return v;
}

void CheckResistance(CriterionResult& r, const Criterion& c, const ChartFacts& f)
{
    r.Title = "DC resistance at least " + OhmsText(c.Limit);
    r.Limit = "at least " + OhmsText(c.Limit);
    const std::optional<DCReading> v = ReadDC(r, f, f.DCResistanceText, &ReadResistanceText);
    if (!v)
        return;
    const std::string low = "the resistance is below the limit";
    switch (v->Is) {
    case DCReading::Bound::Exact:
        Judge(r, v->Value >= c.Limit, low);
        return;
    case DCReading::Bound::Above: // more than Value
        if (v->Value >= c.Limit)
            Judge(r, true, {});
        else
            NotEvaluated(r, "the instrument only shows that the resistance is above " + OhmsText(v->Value));
        return;
    case DCReading::Bound::Below: // less than Value
        if (v->Value <= c.Limit)
            Judge(r, false, low);
        else
            NotEvaluated(r, "the instrument only shows that the resistance is below " + OhmsText(v->Value));
        return;
    }
}

void CheckVoltage(CriterionResult& r, const Criterion& c, const ChartFacts& f)
{
    r.Title = "DC voltage at most " + Volts(c.Limit);
    r.Limit = "at most " + Volts(c.Limit) + " (either sign)";
    const std::optional<DCReading> v = ReadDC(r, f, f.DCVoltageText, &ReadVoltageText);
    if (!v)
        return;
    const std::string high = "the voltage is above the limit";
    if (v->Is == DCReading::Bound::Exact) {
        Judge(r, std::fabs(v->Value) <= c.Limit, high);
        return;
    }
    // "<-1V" and ">1V": the magnitude is above 1 V.
    const bool beyond = (v->Is == DCReading::Bound::Below && v->Value <= 0) ||
                        (v->Is == DCReading::Bound::Above && v->Value >= 0);
    const long double magnitude = std::fabs(v->Value);
    if (beyond && magnitude >= c.Limit)
        Judge(r, false, high);
    else
        NotEvaluated(r, "the instrument only shows \"" + f.DCVoltageText + "\"");
}

void CheckBefore(CriterionResult& r, const Criterion& c, const ChartFacts& f)
{
    const std::string what = c.Events == EventClass::Any ? "event" : std::string(EventClassName(c.Events));
    r.Title = "No " + what + " before " + Number(c.Limit) + " m";
    r.Limit = "none before " + Number(c.Limit) + " m";
    for (const ChartEvent& e : f.Events) {
        if (!EventInClass(e.Kind, c.Events) || !(e.Distance < c.Limit))
            continue;
        r.Value = std::string(EventKindName(e.Kind)) + " at " + Metres(e.Distance);
        Judge(r, false, "an event before the distance");
        return;
    }
    r.Value = "none";
    if (f.RangeEnd < c.Limit) {
        NotEvaluated(r, "the chart ends at " + Metres(f.RangeEnd) + ", before " + Number(c.Limit) + " m");
        return;
    }
    Judge(r, true, {});
}

} // namespace

std::string OhmsText(long double ohms)
{
    if (ohms >= 1e6L)
        return Number(ohms / 1e6L) + " MOhm";
    if (ohms >= 1e3L)
        return Number(ohms / 1e3L) + " kOhm";
    return Number(ohms) + " Ohm";
}

CriterionResult CheckCriterion(const Criterion& criterion, const ChartFacts& facts)
{
    struct KindCheck {
        CriterionKind Kind;
        void (*Check)(CriterionResult&, const Criterion&, const ChartFacts&);
    };
    static constexpr KindCheck kChecks[] = {
        {CriterionKind::EndLength, CheckEnd},        {CriterionKind::NewEvents, CheckNew},
        {CriterionKind::MovedEvents, CheckMoved},    {CriterionKind::DCResistanceMin, CheckResistance},
        {CriterionKind::DCVoltageMax, CheckVoltage}, {CriterionKind::NoEventBefore, CheckBefore},
    };
    CriterionResult r;
    r.Rule = criterion;
    for (const KindCheck& k : kChecks)
        if (k.Kind == criterion.Kind)
            k.Check(r, criterion, facts);
    return r;
}

std::vector<CriterionResult> CheckCriteria(const LimitTemplate& limits, const ChartFacts& facts)
{
    std::vector<CriterionResult> out;
    for (const Criterion& c : limits.Criteria)
        out.push_back(CheckCriterion(c, facts));
    return out;
}

Verdict VerdictOfResults(const std::vector<CriterionResult>& results)
{
    std::vector<CriterionOutcome> outcomes;
    for (const CriterionResult& r : results)
        outcomes.push_back(r.Outcome);
    return VerdictOf(outcomes);
}

} // namespace lumidrax
