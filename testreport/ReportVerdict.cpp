#include "ReportVerdict.h"

#include "NamedValue.h"

#include <algorithm>

namespace lumidrax {

std::string_view OutcomeName(CriterionOutcome outcome)
{
    static constexpr NamedValue<CriterionOutcome> kNames[] = {
        {CriterionOutcome::Pass, "pass"},
        {CriterionOutcome::Fail, "fail"},
        {CriterionOutcome::NotEvaluated, "not evaluated"},
    };
    return NameOf(kNames, outcome, "?");
}

std::string_view VerdictName(Verdict verdict)
{
    static constexpr NamedValue<Verdict> kNames[] = {
        {Verdict::Pass, "PASS"},
        {Verdict::Fail, "FAIL"},
        {Verdict::Incomplete, "INCOMPLETE"},
    };
    return NameOf(kNames, verdict, "?");
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
