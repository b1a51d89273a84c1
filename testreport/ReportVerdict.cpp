#include "ReportVerdict.h"

#include <algorithm>

namespace lumidrax {

std::string_view OutcomeName(CriterionOutcome outcome)
{
    switch (outcome) {
    case CriterionOutcome::Pass:
        return "pass";
    case CriterionOutcome::Fail:
        return "fail";
    case CriterionOutcome::NotEvaluated:
        return "not evaluated";
    }
    return "?";
}

std::string_view VerdictName(Verdict verdict)
{
    switch (verdict) {
    case Verdict::Pass:
        return "PASS";
    case Verdict::Fail:
        return "FAIL";
    case Verdict::Incomplete:
        return "INCOMPLETE";
    }
    return "?";
}

Verdict VerdictOf(const std::vector<CriterionOutcome>& outcomes)
{
    std::vector<Verdict> each;
    for (CriterionOutcome o : outcomes)
        each.push_back(o == CriterionOutcome::Pass   ? Verdict::Pass
                       : o == CriterionOutcome::Fail ? Verdict::Fail
                                                     : Verdict::Incomplete);
    return CombineVerdicts(each);
}

Verdict CombineVerdicts(const std::vector<Verdict>& verdicts)
{
    if (verdicts.empty())
        return Verdict::Incomplete;
    if (std::find(verdicts.begin(), verdicts.end(), Verdict::Fail) != verdicts.end())
        return Verdict::Fail;
    if (std::find(verdicts.begin(), verdicts.end(), Verdict::Incomplete) != verdicts.end())
        return Verdict::Incomplete;
    return Verdict::Pass;
}

} // namespace lumidrax
