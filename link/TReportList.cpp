#include "TReportList.h"

#include <algorithm>

namespace lumidrax {

int TReportList::AddReceived(std::vector<std::string> lines, const std::string& autoName)
{
    if (IsFull())
        return -1;
    TReport r;
    r.Saved = false;
    if (!autoName.empty()) {
        r.AutoFileName = autoName;
        r.DisplayName = autoName;
    } else {
        r.DisplayName = "UNNAMED " + std::to_string(autoNumber_);
        ++autoNumber_;
    }
    r.Lines = std::move(lines);
    return Append(std::move(r));
}

int TReportList::AddOpened(const std::string& path, std::vector<std::string> lines)
{
    if (IsFull())
        return -1;
    TReport r;
    r.FileName = r.AutoFileName = r.DisplayName = path;
    r.Saved = true;
    r.Lines = std::move(lines);
    return Append(std::move(r));
}

int TReportList::Append(TReport report)
{
    report.Id = ++lastId_;
    reports_.push_back(std::move(report));
    return Count() - 1;
}

int TReportList::IndexOf(ReportId id) const
{
    // Ids rise with the indexes: reports keep their order.
    const auto at = std::lower_bound(reports_.begin(), reports_.end(), id,
                                     [](const TReport& r, ReportId v) { return r.Id < v; });
    if (id == 0 || at == reports_.end() || at->Id != id)
        return -1;
    return static_cast<int>(at - reports_.begin());
}

TReport* TReportList::Find(ReportId id)
{
    const int i = IndexOf(id);
    return i >= 0 ? &reports_[static_cast<std::size_t>(i)] : nullptr;
}

void TReportList::MarkSaved(int index, const std::string& path)
{
    TReport& r = At(index);
    r.FileName = path;
    r.DisplayName = path;
    r.AutoFileName.clear();
    r.Saved = true;
}

void TReportList::RemoveReport(int i)
{
    if (i < 1 || i > Count())
        return;
    reports_.erase(reports_.begin() + (i - 1));
    if (reports_.empty() ||
        std::all_of(reports_.begin(), reports_.end(), [](const TReport& r) { return r.Saved; }))
        autoNumber_ = 1;
}

} // namespace lumidrax
