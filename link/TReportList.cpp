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
    reports_.push_back(std::move(r));
    return Count() - 1;
}

int TReportList::AddOpened(const std::string& path, std::vector<std::string> lines)
{
    if (IsFull())
        return -1;
    TReport r;
    r.FileName = r.AutoFileName = r.DisplayName = path;
    r.Saved = true;
    r.Lines = std::move(lines);
    reports_.push_back(std::move(r));
    return Count() - 1;
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
