// Every criterion judged on hand-made facts, one row per outcome and per
// trap (a missing value never passes, a limit of 0 is a limit, a DC text
// that only gives a bound), and the verdict over the outcomes.

#include "CriterionCheck.h"

#include <gtest/gtest.h>

namespace lumidrax {
namespace {

using O = CriterionOutcome;

ChartEvent Ev(EventKind kind, long double distance, long double peak)
{
    ChartEvent e;
    e.Kind = kind;
    e.Distance = distance;
    e.PeakLevel = peak;
    return e;
}

ComparedEvent Cmp(EventChange change, int index, long double shift = 0)
{
    ComparedEvent c;
    c.Change = change;
    c.Index = index;
    c.RefIndex = change == EventChange::New ? -1 : index;
    c.Shift = shift;
    return c;
}

// A launch, a short at 120 m, an open at 240 m and the open end at 315,35 m;
// 500 m of range, DC measured.
ChartFacts Cable()
{
    ChartFacts f;
    f.Events = {Ev(EventKind::Launch, 0, 85), Ev(EventKind::Short, 120.59L, -8.5L),
                Ev(EventKind::Open, 240, 3.4L), Ev(EventKind::EndOpen, 315.35L, 19.9L)};
    f.HasDC = true;
    f.DCResistanceText = "4,0 MOhm";
    f.DCVoltageText = "0,12 V";
    f.RangeStart = 0;
    f.RangeEnd = 500;
    return f;
}

ChartFacts Compared(std::vector<ComparedEvent> comparison)
{
    ChartFacts f = Cable();
    f.Comparison = std::move(comparison);
    return f;
}

ChartFacts WithDC(std::string resistance, std::string voltage, bool has = true)
{
    ChartFacts f = Cable();
    f.HasDC = has;
    f.DCResistanceText = std::move(resistance);
    f.DCVoltageText = std::move(voltage);
    return f;
}

ChartFacts NoEnd()
{
    ChartFacts f = Cable();
    f.Events.pop_back();
    return f;
}

ChartFacts Range(long double end)
{
    ChartFacts f = Cable();
    f.RangeEnd = end;
    return f;
}

Criterion C(CriterionKind kind, long double limit, long double tolerance = 0,
            EventClass events = EventClass::Any)
{
    Criterion c;
    c.Kind = kind;
    c.Limit = limit;
    c.Tolerance = tolerance;
    c.Events = events;
    return c;
}

struct Case {
    const char* Name;
    Criterion Rule;
    ChartFacts Facts;
    O Outcome;
    // Part of the value text, or of the reason for a criterion not evaluated.
    const char* Shows;
};

const std::vector<ComparedEvent> kAllSame = {Cmp(EventChange::Same, 0), Cmp(EventChange::Same, 1, 0.05L),
                                             Cmp(EventChange::Same, 2), Cmp(EventChange::Same, 3, -0.1L)};

std::vector<Case> Cases()
{
    using K = CriterionKind;
    const auto newShort = Compared({Cmp(EventChange::Same, 0), Cmp(EventChange::New, 1),
                                    Cmp(EventChange::Same, 2), Cmp(EventChange::Same, 3)});
    const auto newOpen = Compared({Cmp(EventChange::Same, 0), Cmp(EventChange::Same, 1),
                                   Cmp(EventChange::New, 2), Cmp(EventChange::Same, 3)});
    return {
        {"end inside", C(K::EndLength, 318, 5), Cable(), O::Pass, "315,35 m"},
        {"end too near", C(K::EndLength, 330, 5), Cable(), O::Fail, "315,35 m"},
        {"end too far", C(K::EndLength, 300, 5), Cable(), O::Fail, "315,35 m"},
        {"no end never passes", C(K::EndLength, 318, 1000), NoEnd(), O::NotEvaluated, "no end found"},
        {"tolerance 0 is a limit", C(K::EndLength, 315.3L, 0), Cable(), O::Fail, "315,35"},
        {"tolerance 0 met exactly", C(K::EndLength, 315.35L, 0), Cable(), O::Pass, "315,35"},

        {"new events without baseline", C(K::NewEvents, 5), Cable(), O::NotEvaluated, "no baseline"},
        {"no new event", C(K::NewEvents, 5), Compared(kAllSame), O::Pass, "none"},
        {"new short above the limit, either sign", C(K::NewEvents, 5), newShort, O::Fail,
         "8,50 % (short) at 120,59 m"},
        {"new open below the limit", C(K::NewEvents, 5), newOpen, O::Pass, "3,40 %"},
        {"new-events limit 0 is a limit", C(K::NewEvents, 0), newOpen, O::Fail, "3,40 %"},

        {"moved without baseline", C(K::MovedEvents, 2), Cable(), O::NotEvaluated, "no baseline"},
        {"shifts within the limit", C(K::MovedEvents, 2), Compared(kAllSame), O::Pass, "0,10 m (event 4)"},
        {"moved beyond the limit", C(K::MovedEvents, 2),
         Compared({Cmp(EventChange::Same, 0), Cmp(EventChange::Moved, 1, -2.5L), Cmp(EventChange::Same, 2),
                   Cmp(EventChange::Same, 3)}),
         O::Fail, "2,50 m (event 2)"},
        {"moved limit 0 is a limit", C(K::MovedEvents, 0), Compared(kAllSame), O::Fail, "0,10 m"},
        {"nothing in common has nothing moved", C(K::MovedEvents, 2),
         Compared({Cmp(EventChange::New, 0), Cmp(EventChange::New, 1), Cmp(EventChange::New, 2),
                   Cmp(EventChange::New, 3)}),
         O::Pass, "no event in common"},

        {"resistance below", C(K::DCResistanceMin, 10e6L), Cable(), O::Fail, "4,0 MOhm"},
        {"resistance at the limit", C(K::DCResistanceMin, 850e3L), WithDC("850 kOhm", "0,12 V"), O::Pass,
         "850 kOhm"},
        {"resistance above a bound above the limit", C(K::DCResistanceMin, 10e6L),
         WithDC("> 20 MOhm", "0,12 V"), O::Pass, "> 20 MOhm"},
        {"resistance above a bound below the limit", C(K::DCResistanceMin, 50e6L),
         WithDC("> 20 MOhm", "0,12 V"), O::NotEvaluated, "above 20 MOhm"},
        {"resistance below a bound below the limit", C(K::DCResistanceMin, 1e6L),
         WithDC("< 0,1 kOhm", "0,12 V"), O::Fail, "< 0,1 kOhm"},
        {"resistance below a bound above the limit", C(K::DCResistanceMin, 50),
         WithDC("< 0,1 kOhm", "0,12 V"), O::NotEvaluated, "below 100 Ohm"},
        {"resistance coded VKR103 bound", C(K::DCResistanceMin, 20e6L), WithDC(">20,50 MOhm", "0,12 V"),
         O::Pass, ">20,50 MOhm"},
        {"resistance not measured never passes, even at 0", C(K::DCResistanceMin, 0),
         WithDC("Not measured", "Not measured"), O::NotEvaluated, "Not measured"},
        {"no DC measurement never passes", C(K::DCResistanceMin, 0), WithDC("---", "---", false),
         O::NotEvaluated, "no DC measurement"},
        {"resistance limit 0 with a value", C(K::DCResistanceMin, 0), WithDC("350 Ohm", "0,12 V"), O::Pass,
         "350 Ohm"},

        {"voltage within", C(K::DCVoltageMax, 0.5L), Cable(), O::Pass, "0,12 V"},
        {"negative voltage beyond, either sign", C(K::DCVoltageMax, 0.5L), WithDC("4,0 MOhm", "-0,60 V"),
         O::Fail, "-0,60 V"},
        {"voltage above 1 V against 1 V", C(K::DCVoltageMax, 1), WithDC("4,0 MOhm", ">1V"), O::Fail, ">1V"},
        {"voltage below -1 V against 0,5 V", C(K::DCVoltageMax, 0.5L), WithDC("4,0 MOhm", "<-1V"), O::Fail,
         "<-1V"},
        {"voltage above 1 V against 2 V", C(K::DCVoltageMax, 2), WithDC("4,0 MOhm", ">1V"), O::NotEvaluated,
         "only shows"},
        {"voltage overload never passes", C(K::DCVoltageMax, 100), WithDC("4,0 MOhm", "Overload"),
         O::NotEvaluated, "Overload"},
        {"voltage limit 0 met", C(K::DCVoltageMax, 0), WithDC("4,0 MOhm", "0,00 V"), O::Pass, "0,00 V"},
        {"voltage limit 0 is a limit", C(K::DCVoltageMax, 0), WithDC("4,0 MOhm", "0,01 V"), O::Fail,
         "0,01 V"},

        {"short before the distance", C(K::NoEventBefore, 300, 0, EventClass::Short), Cable(), O::Fail,
         "short at 120,59 m"},
        {"no open end before the distance", C(K::NoEventBefore, 300, 0, EventClass::EndOpen), Cable(),
         O::Pass, "none"},
        {"the open end is an open", C(K::NoEventBefore, 400, 0, EventClass::Open), Cable(), O::Fail,
         "open at 240,00 m"},
        {"the launch is no event", C(K::NoEventBefore, 100, 0, EventClass::Any), Cable(), O::Pass, "none"},
        {"a chart too short to tell", C(K::NoEventBefore, 300, 0, EventClass::Echo), Range(250),
         O::NotEvaluated, "the chart ends at 250,00 m"},
        {"distance 0 is a limit", C(K::NoEventBefore, 0, 0, EventClass::Any), Cable(), O::Pass, "none"},
    };
}

TEST(VerdictTable, EveryCriterionGivesItsOutcomeAndShowsWhy)
{
    for (const Case& c : Cases()) {
        SCOPED_TRACE(c.Name);
        const CriterionResult r = CheckCriterion(c.Rule, c.Facts);
        EXPECT_EQ(OutcomeName(r.Outcome), OutcomeName(c.Outcome));
        const std::string shown = r.Outcome == O::NotEvaluated ? r.Value + " | " + r.Reason : r.Value;
        EXPECT_NE(shown.find(c.Shows), std::string::npos) << shown;
        EXPECT_FALSE(r.Title.empty());
        EXPECT_FALSE(r.Limit.empty());
        // A result that did not pass says why.
        EXPECT_EQ(r.Reason.empty(), r.Outcome == O::Pass) << r.Reason;
    }
}

TEST(VerdictTable, PassOnlyWhenEveryCriterionPassed)
{
    using V = Verdict;
    const struct {
        std::vector<O> Outcomes;
        V Expected;
    } rows[] = {
        {{}, V::Incomplete},
        {{O::Pass}, V::Pass},
        {{O::Pass, O::Pass, O::Pass}, V::Pass},
        {{O::Pass, O::NotEvaluated}, V::Incomplete},
        {{O::NotEvaluated}, V::Incomplete},
        {{O::Pass, O::Fail}, V::Fail},
        {{O::NotEvaluated, O::Fail, O::Pass}, V::Fail},
    };
    for (const auto& row : rows)
        EXPECT_EQ(VerdictName(VerdictOf(row.Outcomes)), VerdictName(row.Expected)) << row.Outcomes.size();

    EXPECT_EQ(CombineVerdicts({V::Pass, V::Pass}), V::Pass);
    EXPECT_EQ(CombineVerdicts({V::Pass, V::Incomplete}), V::Incomplete);
    EXPECT_EQ(CombineVerdicts({V::Incomplete, V::Fail, V::Pass}), V::Fail);
    EXPECT_EQ(CombineVerdicts({}), V::Incomplete);
}

} // namespace
} // namespace lumidrax
