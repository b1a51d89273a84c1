#include "FileIO.h"

#include "InterruptedSaves.h"
#include "MessageCatalogue.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace lumidrax {

namespace {

constexpr int kMaxLinks = 40; // as the kernel's own limit on a path
constexpr const char* kNotRegular = "not a regular file";
constexpr const char* kWriteProtected = "the file is write-protected";
// How long a write waits at a time for a full non-blocking descriptor.
constexpr int kFullWaitMs = 1000;

FileOutcome FromErrno(int err, FileStatus otherwise)
{
    if (err == ENOENT || err == ENOTDIR)
        return {FileStatus::Missing, std::strerror(err)};
    return {otherwise, std::strerror(err)};
}

// Folder part (empty for a bare name) and name part of a path.
std::string Folder(const std::string& path)
{
    const auto slash = path.find_last_of('/');
    if (slash == std::string::npos)
        return {};
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string Name(const std::string& path)
{
    const auto slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string Join(const std::string& folder, const std::string& name)
{
    if (folder.empty())
        return name;
    return folder.back() == '/' ? folder + name : folder + "/" + name;
}

mode_t NewFileMode()
{
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

void SyncFolder(const std::string& folder)
{
    const int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

// Writes `bytes` to a new temporary file beside `target` and renames it over
// the target; `old` is the status of the file replaced, if any.
FileOutcome WriteAndRename(const std::string& folder, const std::string& name, const std::string& target,
                           std::string_view bytes, const struct stat* old, Flush flush)
{
    std::string temp;
    int fd = -1;
    for (int attempt = 0; attempt < 3 && fd < 0; ++attempt) {
        temp = Join(folder, TemporaryFilePrefix(name) + "XXXXXX");
        fd = ::mkostemp(temp.data(), O_CLOEXEC);
        if (fd < 0)
            return {FileStatus::WriteFailed, std::strerror(errno)};
        // Held until the rename: saves and clean-ups of other processes
        // leave a locked file alone. A clean-up that took the file before
        // the lock has removed it: make another.
        struct stat st {};
        if (::flock(fd, LOCK_EX) != 0 || ::fstat(fd, &st) != 0 || st.st_nlink == 0) {
            ::close(fd);
            fd = -1;
        }
    }
    if (fd < 0)
        return {FileStatus::WriteFailed, "the temporary file was taken away"};

    auto fail = [&](int err) {
        ::unlink(temp.c_str());
        ::close(fd);
        return FileOutcome{FileStatus::WriteFailed, std::strerror(err)};
    };
    if (old) {
        // Owner and group first: a change of owner clears set-id bits.
        if (::fchown(fd, old->st_uid, old->st_gid) != 0)
            (void)::fchown(fd, static_cast<uid_t>(-1), old->st_gid);
        ::fchmod(fd, old->st_mode & 07777);
    } else {
        ::fchmod(fd, NewFileMode());
    }
    // The whole size first: a save cut short leaves zero bytes at the end,
    // which a whole file does not have, so a later clean-up can tell. Where
    // the system cannot size a file so, the write alone decides.
    (void)::ftruncate(fd, static_cast<off_t>(bytes.size()));
    if (!WriteAllBytes(fd, bytes))
        return fail(errno);
    if (flush == Flush::ToDisk && ::fsync(fd) != 0)
        return fail(errno);
    if (::rename(temp.c_str(), target.c_str()) != 0)
        return fail(errno);
    ::close(fd);
    if (flush == Flush::ToDisk)
        SyncFolder(folder);
    return {};
}

} // namespace

bool WriteAllBytes(int fd, std::string_view bytes)
{
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t put = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (put < 0) {
            if (errno == EINTR)
                continue;
            if (errno == EAGAIN) {
                pollfd p{fd, POLLOUT, 0};
                ::poll(&p, 1, kFullWaitMs);
                continue;
            }
            return false;
        }
        done += static_cast<std::size_t>(put);
    }
    return true;
}

FileOutcome ReadFileBytes(const std::string& path, std::uintmax_t maxBytes, std::string& bytes)
{
    bytes.clear();
    // Look before opening: opening a device may already do something.
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0)
        return FromErrno(errno, FileStatus::CannotOpen);
    if (!S_ISREG(st.st_mode))
        return {FileStatus::NotRegular, kNotRegular};
    const std::string tooLarge = "larger than " + std::to_string(maxBytes) + " bytes";
    if (static_cast<std::uintmax_t>(st.st_size) > maxBytes)
        return {FileStatus::TooLarge, tooLarge};
    // O_NONBLOCK: the name may have become a FIFO since; opening it then
    // returns at once and the check below refuses it.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return FromErrno(errno, FileStatus::CannotOpen);
    FileOutcome outcome;
    if (::fstat(fd, &st) != 0) {
        outcome = {FileStatus::CannotOpen, std::strerror(errno)};
    } else if (!S_ISREG(st.st_mode)) {
        outcome = {FileStatus::NotRegular, kNotRegular};
    } else {
        bytes.resize(static_cast<std::size_t>(std::min<std::uintmax_t>(st.st_size, maxBytes)));
        std::size_t done = 0;
        while (true) {
            if (done == bytes.size()) {
                // The file grew while being read.
                if (done > maxBytes) {
                    outcome = {FileStatus::TooLarge, tooLarge};
                    break;
                }
                bytes.resize(std::min<std::size_t>(done + 65536, static_cast<std::size_t>(maxBytes) + 1));
            }
            const ssize_t got = ::read(fd, bytes.data() + done, bytes.size() - done);
            if (got < 0) {
                if (errno == EINTR)
                    continue;
                outcome = {FileStatus::CannotOpen, std::strerror(errno)};
                break;
            }
            if (got == 0)
                break;
            done += static_cast<std::size_t>(got);
        }
        bytes.resize(outcome.Ok() ? done : 0);
    }
    ::close(fd);
    return outcome;
}

FileOutcome ResolveWriteTarget(const std::string& path, std::string& target)
{
    target = path;
    for (int links = 0; links <= kMaxLinks; ++links) {
        struct stat st {};
        if (::lstat(target.c_str(), &st) != 0 || !S_ISLNK(st.st_mode))
            return {};
        std::string link(static_cast<std::size_t>(st.st_size > 0 ? st.st_size : 4096), '\0');
        const ssize_t n = ::readlink(target.c_str(), link.data(), link.size());
        if (n < 0)
            return {FileStatus::CannotOpen, std::strerror(errno)};
        link.resize(static_cast<std::size_t>(n));
        target = (!link.empty() && link.front() == '/') ? link : Join(Folder(target), link);
    }
    return {FileStatus::CannotOpen, std::strerror(ELOOP)};
}

FileOutcome ReplaceFileAtomically(const std::string& path, std::string_view bytes, Flush flush)
{
    std::string target;
    if (FileOutcome resolved = ResolveWriteTarget(path, target); !resolved.Ok())
        return resolved;

    struct stat old {};
    const bool replacing = ::stat(target.c_str(), &old) == 0;
    if (replacing) {
        if (!S_ISREG(old.st_mode))
            return {FileStatus::NotRegular, kNotRegular};
        // The owner's write bit decides, also for root, as in an editor.
        if ((old.st_mode & S_IWUSR) == 0)
            return {FileStatus::WriteProtected, kWriteProtected};
        const int probe = ::open(target.c_str(), O_WRONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
        if (probe < 0)
            return {FileStatus::WriteProtected, std::strerror(errno)};
        ::close(probe);
    }

    const std::string folder = Folder(target);
    const std::string name = Name(target);
    FolderCleanup cleanup = CleanUpInterruptedSaves(folder, name);
    FileOutcome outcome = WriteAndRename(folder, name, target, bytes, replacing ? &old : nullptr, flush);
    outcome.Recovered = std::move(cleanup.Recovered);
    return outcome;
}

SaveOutcome WriteFileAtomically(const std::string& path, std::string_view bytes, Flush flush)
{
    FileOutcome written = ReplaceFileAtomically(path, bytes, flush);
    SaveOutcome saved;
    if (!written.Ok())
        saved = {SaveStatus::WriteFailed, "could not write file " + path + " (" + written.Reason + ")"};
    saved.Recovered = std::move(written.Recovered);
    return saved;
}

int ReadFailureCode(FileStatus status)
{
    return status == FileStatus::Missing ? kErrFileMissing : kErrCannotOpen;
}

} // namespace lumidrax
