#pragma once
// Whole-file reads and atomic replaces for every file the program reads or
// writes itself: charts, settings, reports, exports. No Qt.
//
// Reading never blocks and takes regular files only: a FIFO, a device, a
// socket or a folder is a file that cannot be opened, as is a file above the
// caller's size limit.
//
// Writing goes through a temporary file in the target's folder (named
// ".NAME.lumidrax-tmp-XXXXXX"), locked while it exists, flushed to disk and
// renamed over the target. A symbolic link is followed and the file it names
// is replaced in its own folder; the owner, group and mode of a replaced file
// are kept. A target whose owner has no write permission, or that the system
// refuses to open for writing, is refused, whoever runs the program. Each
// write first deals with the temporary files that interrupted saves of any
// name left in that folder (InterruptedSaves.h): a whole chart whose target is
// missing gets its name, and the outcome lists it.

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace lumidrax {

enum class FileStatus {
    Ok,
    Missing,        // no such file (or a link to nothing)
    NotRegular,     // a FIFO, device, socket or folder
    TooLarge,       // above the caller's size limit
    CannotOpen,     // no permission, a link loop, a read error
    WriteProtected, // the target's owner has no write permission, or writing is refused
    WriteFailed,    // the temporary file could not be made, written or renamed
};

// What a file operation gave. Reason is the system's explanation ("Permission
// denied", "not a regular file"); empty on success.
struct FileOutcome {
    FileOutcome() = default;
    FileOutcome(FileStatus status, std::string reason) : Status(status), Reason(std::move(reason)) {}

    FileStatus Status = FileStatus::Ok;
    std::string Reason;
    // Files of the target's folder that an interrupted save had written
    // whole and that got their names now (full paths), whatever Status says.
    std::vector<std::string> Recovered;

    bool Ok() const { return Status == FileStatus::Ok; }
};

// Size limits of the readers: a chart of 10000 samples is about 100 KB.
inline constexpr std::uintmax_t kMaxChartFileBytes = 64u << 20;
inline constexpr std::uintmax_t kMaxSettingsFileBytes = 1u << 20;

// Marks the temporary files of an atomic replace: ".NAME" + this + 6
// characters (NAME cut to kMaxCarriedName bytes, InterruptedSaves.h).
inline constexpr std::string_view kTempFileMark = ".lumidrax-tmp-";

// Reads the whole regular file at `path`, at most maxBytes of it.
FileOutcome ReadFileBytes(const std::string& path, std::uintmax_t maxBytes, std::string& bytes);

// Whether a replace waits until the data are on the disk (the default), or
// leaves that to the system: for output that is made again on request
// (pictures of a batch run), where the wait would be most of the run. The
// rename stays atomic either way.
enum class Flush { ToDisk, Later };

// Replaces the file at `path` (or creates it) with `bytes`, atomically. The
// folder must exist. A failure leaves the previous file as it was.
FileOutcome ReplaceFileAtomically(const std::string& path, std::string_view bytes,
                                  Flush flush = Flush::ToDisk);

// The path a replace of `path` writes to: the end of a chain of symbolic
// links, or `path` itself. Fails with CannotOpen on a link loop.
FileOutcome ResolveWriteTarget(const std::string& path, std::string& target);

// Writes every byte of `bytes` to the open descriptor `fd`. An interrupted
// write is retried; a non-blocking descriptor that is full (a terminal line)
// is waited on, a second at most each time, and written again. False on any
// other failure.
bool WriteAllBytes(int fd, std::string_view bytes);

// The code LoadChart gives for a failed read: -1 missing, -2 cannot open.
int ReadFailureCode(FileStatus status);

enum class SaveStatus {
    Done,
    Declined,         // the user said no (overwrite, text that changes): nothing written
    FolderNotCreated, // the folder could not be created: nothing written
    WriteFailed,      // the file could not be written; the previous one is kept
    Vanished,         // what was to be saved was closed while a question was open: nothing written
};

// What saving a chart, a report or an export gave.
struct SaveOutcome {
    SaveOutcome() = default;
    SaveOutcome(SaveStatus status, std::string message, std::string replaced = {})
        : Status(status), Message(std::move(message)), Replaced(std::move(replaced))
    {
    }

    SaveStatus Status = SaveStatus::Done;
    // A failure in the catalogue's form without "Error: " and the final "."
    // ("could not write file PATH (reason)").
    std::string Message;
    // Characters the file's code page cannot hold, written as '?' (UTF-8,
    // each once, blank-separated); empty when the text was kept whole.
    std::string Replaced;
    // FileOutcome::Recovered of the write: files an interrupted save had
    // completed, named now (RecoveredFilesNote words them for the user).
    std::vector<std::string> Recovered;

    bool Done() const { return Status == SaveStatus::Done; }
};

// ReplaceFileAtomically with the failure worded for the user.
[[nodiscard]] SaveOutcome WriteFileAtomically(const std::string& path, std::string_view bytes,
                                              Flush flush = Flush::ToDisk);

} // namespace lumidrax
