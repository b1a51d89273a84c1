#pragma once
// Outcomes of criteria and verdicts of charts and documents. No Qt.
//
// A chart passes only when every criterion passed. A failed criterion fails
// it, whatever the others gave (the cable does not pass, and checking more
// would not change that); otherwise a criterion that could not be evaluated
// leaves it incomplete, never passed. A document combines its charts the
// same way. The verdict's name ("PASS", "FAIL", "INCOMPLETE") is the value
// a chart archive stores.

#include <string_view>
#include <vector>

namespace lumidrax {

enum class CriterionOutcome { Pass, Fail, NotEvaluated };
enum class Verdict { Pass, Fail, Incomplete };

// "pass", "fail", "not evaluated".
std::string_view OutcomeName(CriterionOutcome outcome);
// "PASS", "FAIL", "INCOMPLETE".
std::string_view VerdictName(Verdict verdict);

// The verdict of a chart from its criteria's outcomes; no outcome at all
// (nothing checked) is incomplete.
Verdict VerdictOf(const std::vector<CriterionOutcome>& outcomes);
// The verdict of a document from its charts' verdicts; no chart is
// incomplete.
Verdict CombineVerdicts(const std::vector<Verdict>& verdicts);

} // namespace lumidrax
