#include "ReportVerdict.h"

#include "NamedValue.h"

#include <algorithm>

namespace lumidrax {

namespace {

constexpr NamedValue<CriterionOutcome> kOutcomeNames[] = {
    {CriterionOutcome::Pass, "pass"},
    {CriterionOutcome::Fail, "fail"},
    {CriterionOutcome::NotEvaluated, "not evaluated"},
};

constexpr NamedValue<Verdict> kVerdictNames[] = {
    {Verdict::Pass, "PASS"},
    {Verdict::Fail, "FAIL"},
    {Verdict::Incomplete, "INCOMPLETE"},
};

} // namespace

std::string_view OutcomeName(CriterionOutcome outcome)
{
    return NameOf(kOutcomeNames, outcome, "?");
}

std::string_view VerdictName(Verdict verdict)
{
    return NameOf(kVerdictNames, verdict, "?");
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
