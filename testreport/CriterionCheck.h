#pragma once
// Each criterion of a limit template judged on one chart: pass, fail, or not
// evaluated with the reason, and the value and limit as the report shows
// them (decimal comma). No Qt.
//
//   end-length         the end (EndEventIndex) at Limit +- Tolerance metres;
//                      not evaluated when no end was found.
//   new-events         no event new against the baseline whose peak level
//                      (either sign) is above Limit percent; not evaluated
//                      without a baseline.
//   moved-events       no event paired with a baseline event (same or
//                      moved) shifted by more than Limit metres; not
//                      evaluated without a baseline.
//   dc-resistance-min  the DC resistance at least Limit ohms; not evaluated
//                      without a DC measurement or a value ("Not
//                      measured"), or when the text is a bound on the wrong
//                      side ("< 0,1 kOhm" against 50 ohms).
//   dc-voltage-max     the DC voltage's magnitude at most Limit volts; not
//                      evaluated as the resistance is.
//   no-event-before    no event of the class nearer than Limit metres; not
//                      evaluated when none was found but the chart ends
//                      before Limit (it cannot show what lies beyond).
// A missing value never passes; a limit of 0 is a limit (a new event of any
// level fails "new-events" at 0).

#include "ChartFacts.h"
#include "LimitTemplate.h"
#include "ReportVerdict.h"

#include <string>
#include <vector>

namespace lumidrax {

struct CriterionResult {
    Criterion Rule;
    // "End within 1200 m ± 25 m", "No new event above 5 %", ...
    std::string Title;
    // What the chart shows ("1187,40 m", "12,50 % at 345,20 m", "none"),
    // "-" when there is nothing to show.
    std::string Value;
    // "1175 .. 1225 m", "at most 5 %", "at least 10 MOhm", ...
    std::string Limit;
    CriterionOutcome Outcome = CriterionOutcome::NotEvaluated;
    // Why it failed or could not be evaluated; empty when it passed.
    std::string Reason;
};

CriterionResult CheckCriterion(const Criterion& criterion, const ChartFacts& facts);
std::vector<CriterionResult> CheckCriteria(const LimitTemplate& limits, const ChartFacts& facts);

// The chart's verdict from its results (ReportVerdict.h).
Verdict VerdictOfResults(const std::vector<CriterionResult>& results);

// "10 MOhm", "4,7 kOhm", "50 Ohm".
std::string OhmsText(long double ohms);

} // namespace lumidrax
