#pragma once
// The list of open reports with its bookkeeping: at most 100 reports, the
// running number of "UNNAMED" reports, and the rule that brings that number
// back to 1 once no unsaved report is left.

#include "TReport.h"

#include <deque>
#include <string>
#include <vector>

namespace lumidrax {

inline constexpr int kMaxReports = 100;

class TReportList {
  public:
    int Count() const { return static_cast<int>(reports_.size()); }
    bool IsFull() const { return Count() >= kMaxReports; }

    // Report at index 0..Count-1.
    TReport& At(int index) { return reports_.at(static_cast<std::size_t>(index)); }
    const TReport& At(int index) const { return reports_.at(static_cast<std::size_t>(index)); }

    // The index of the report with this id, -1 when it is no longer open.
    // A command that asks the user something looks its report up again
    // afterwards: while a question is open, reports keep arriving.
    int IndexOf(ReportId id) const;
    // The report with this id, or nullptr.
    TReport* Find(ReportId id);
    // The id the last report added got (0 before the first).
    ReportId LastId() const { return lastId_; }

    // The number the next "UNNAMED" report gets; starts at 1.
    int AutoNumber() const { return autoNumber_; }
    void ResetAutoNumber() { autoNumber_ = 1; }

    // Adds a report received from an instrument, unsaved. With an automatic
    // name (automatic naming on) it becomes the report's AutoFileName and
    // DisplayName; without one the report is "UNNAMED " + the running
    // number, which then grows by one. Returns the new report's index, or -1
    // when 100 reports are open (nothing changes then).
    int AddReceived(std::vector<std::string> lines, const std::string& autoName);

    // Adds a report read from a file: FileName, AutoFileName and DisplayName
    // are the path, Saved is true. Returns the index, or -1 when full.
    int AddOpened(const std::string& path, std::vector<std::string> lines);

    // Records that report `index` was written to `path`: FileName and
    // DisplayName become the path, AutoFileName is emptied, Saved is set.
    void MarkSaved(int index, const std::string& path);

    // Removes report i (counted from 1); later reports move up. When no
    // report is left, or every remaining one is saved, the running number
    // of unnamed reports returns to 1.
    void RemoveReport(int i);

    // Removes every report; the running number is left as it is.
    void Clear() { reports_.clear(); }

  private:
    int Append(TReport report);

    // A deque: a report appended while a question is open moves no other
    // report in memory.
    std::deque<TReport> reports_;
    int autoNumber_ = 1;
    ReportId lastId_ = 0;
};

} // namespace lumidrax
