#pragma once
// What saves that were cut short (the program killed, the machine stopped)
// leave in a folder, and how the next write into that folder deals with it.
// No Qt.
//
// A save writes ".NAME.lumidrax-tmp-XXXXXX" beside its target NAME, holds an
// exclusive advisory lock (flock) on it from its creation to the rename, and
// sizes it to the whole content before writing, so that a save cut short
// leaves zero bytes at its end. The lock goes with the process: a temporary
// file that can be locked has no writer any more. Such a stale temporary is
//  - renamed onto NAME when NAME does not exist and the content is whole (for
//    a chart: ends with its line end and reads as a chart): the save had
//    written everything but the rename, and the file may be the only copy of
//    a chart received from an instrument;
//  - removed otherwise: NAME exists (the temporary is an older copy or part of
//    one), the content was cut short, or it is a kind of file whose
//    completeness cannot be told (settings, reports, exports are made again
//    from the program's memory).
// A temporary file still locked belongs to a save in progress, in this or
// another process, and is left alone. The lock also settles two processes
// cleaning the same folder: only the one holding it renames or removes.
//
// A name longer than kMaxCarriedName bytes cannot be carried whole in its
// temporary file's name (a name has at most 255 bytes); its target is
// unknown, so a stale temporary of it is removed, never recovered.

#include "FileIO.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace lumidrax {

// The longest part of a target's name a temporary file's name carries: 255
// bytes less the leading '.', the mark and the 6 random characters. A
// carried name of this length may have been cut.
inline constexpr std::size_t kMaxCarriedName = 255 - 1 - kTempFileMark.size() - 6;

// ".NAME.lumidrax-tmp-" for the target name NAME (cut to kMaxCarriedName).
std::string TemporaryFilePrefix(const std::string& name);

// Whether `fileName` is the name of a temporary file; `target` is then the
// target's name it carries, or empty when that may have been cut.
bool IsTemporaryName(std::string_view fileName, std::string& target);

// Whether `bytes` are the whole content of the file `name` (the target's
// name, whose extension gives the kind): true only for a chart file (".ndt",
// any case) that ends with its line end and reads as a chart.
bool IsCompleteContent(const std::string& name, std::string_view bytes);

// What cleaning a folder did, as full paths (folder joined with the name).
struct FolderCleanup {
    // Targets given the content of a stale temporary file.
    std::vector<std::string> Recovered;
    // Stale temporary files removed.
    std::vector<std::string> Removed;
};

// Deals with the stale temporary files of every name in `folder` (empty: the
// working folder) as described above. The temporaries of `writing`, a name
// about to be replaced by the caller, are removed and not recovered. Files
// that cannot be opened, locked or removed are left as they are.
FolderCleanup CleanUpInterruptedSaves(const std::string& folder, const std::string& writing = {});

// The note for the user about recovered files: "Recovered PATH from an
// interrupted save", or "Recovered PATH, PATH from interrupted saves";
// empty for none.
std::string RecoveredFilesNote(const std::vector<std::string>& paths);

} // namespace lumidrax
