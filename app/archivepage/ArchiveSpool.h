#pragma once
// Charts waiting for the archive, kept on disk so that an exit loses none:
// each one is a chart file (NAME.ndt, as the chart page writes it) and a
// small text beside it (NAME.meta: origin, detail, file name and tags, one
// "key=value" line each). The meta file is written last: an item without it
// was never complete and is not read. A verdict waiting for its entry is one
// file, NAME.verdict (the content's hash and the verdict), in the same order.

#include "ArchiveRecord.h"

#include <optional>
#include <string>
#include <vector>

namespace lumidrax {

// The verdict of the entry whose content has Hash.
struct VerdictJob {
    std::string Hash, Verdict;
};

struct SpooledItem {
    ArchiveItem Item;
    // A verdict instead of a chart.
    std::optional<VerdictJob> Verdict;
    // The item's meta file; Remove takes it and its chart away.
    std::string Path;
};

class ArchiveSpool {
  public:
    explicit ArchiveSpool(std::string folder) : folder_(std::move(folder)) {}

    const std::string& Folder() const { return folder_; }
    // Writes an item (creating the folder); its meta file's path, or empty
    // with `error` set.
    std::string Put(const ArchiveItem& item, std::string& error);
    // Writes a verdict; its file's path, or empty with `error` set.
    std::string PutVerdict(const VerdictJob& verdict, std::string& error);
    // Every complete item and verdict, oldest first. Items that cannot be read are left
    // where they are and named in `problems`.
    std::vector<SpooledItem> Load(std::vector<std::string>* problems = nullptr) const;
    // Removes a spooled item.
    void Remove(const std::string& path) const;

  private:
    // A new name, later in sort order than every earlier one.
    std::string NextBase();

    std::string folder_;
    int serial_ = 0;
};

} // namespace lumidrax
