#include "InterruptedSaves.h"

#include "ChartFile.h"
#include "FileIO.h"
#include "TJednoMereni.h"

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <dirent.h>
#include <exception>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace lumidrax {

namespace {

constexpr std::size_t kRandomPart = 6; // the XXXXXX of mkostemp

std::string Join(const std::string& folder, const std::string& name)
{
    if (folder.empty())
        return name;
    return folder.back() == '/' ? folder + name : folder + "/" + name;
}

bool IsRandomCharacter(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
}

bool HasChartExtension(const std::string& name)
{
    if (name.size() < 4)
        return false;
    std::string ext = name.substr(name.size() - 4);
    for (char& c : ext)
        c = (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
    return ext == ".ndt";
}

// The whole file behind `fd`, read from its start; false when it holds more
// than maxBytes or cannot be read.
bool ReadAll(int fd, std::uintmax_t maxBytes, std::string& bytes)
{
    bytes.clear();
    char buffer[65536];
    for (off_t at = 0;;) {
        const ssize_t got = ::pread(fd, buffer, sizeof buffer, at);
        if (got < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        if (got == 0)
            return true;
        bytes.append(buffer, static_cast<std::size_t>(got));
        at += got;
        if (bytes.size() > maxBytes)
            return false;
    }
}

// Renames `from` onto `to` in one step unless `to` exists in any form. On a
// file system without that kind of rename a second link does the same (it
// fails as well when the name is taken). False with errno set otherwise.
bool RenameWithoutReplacing(const std::string& from, const std::string& to)
{
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0)
        return true;
    if (errno != EINVAL && errno != ENOSYS && errno != EOPNOTSUPP)
        return false;
    if (::link(from.c_str(), to.c_str()) != 0)
        return false;
    ::unlink(from.c_str());
    return true;
}

void SyncFolder(const std::string& folder)
{
    const int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

enum class Verdict { Recovered, Remove, Keep };

// What becomes of the stale temporary file `path` (open as `fd`, locked by
// the caller) whose target name is `target`.
Verdict Judge(int fd, const std::string& path, const std::string& folder, const std::string& target,
              const std::string& writing)
{
    if (target.empty() || target == writing || !HasChartExtension(target))
        return Verdict::Remove;
    const std::string targetPath = Join(folder, target);
    struct stat st {};
    if (::lstat(targetPath.c_str(), &st) == 0)
        return Verdict::Remove;
    if (errno != ENOENT)
        return Verdict::Keep; // whether the target exists cannot be told
    std::string bytes;
    if (!ReadAll(fd, kMaxChartFileBytes, bytes) || !IsCompleteContent(target, bytes))
        return Verdict::Remove;
    if (RenameWithoutReplacing(path, targetPath))
        return Verdict::Recovered;
    // A save of the target finished in the meantime: its file is newer.
    // Any other failure keeps what may be the only copy of the chart.
    return errno == EEXIST ? Verdict::Remove : Verdict::Keep;
}

} // namespace

std::string TemporaryFilePrefix(const std::string& name)
{
    return "." + name.substr(0, kMaxCarriedName) + std::string(kTempFileMark);
}

bool IsTemporaryName(std::string_view fileName, std::string& target)
{
    target.clear();
    const std::size_t fixed = 1 + kTempFileMark.size() + kRandomPart;
    if (fileName.size() <= fixed || fileName.front() != '.')
        return false;
    const std::size_t markAt = fileName.size() - kRandomPart - kTempFileMark.size();
    if (fileName.substr(markAt, kTempFileMark.size()) != kTempFileMark)
        return false;
    for (const char c : fileName.substr(fileName.size() - kRandomPart))
        if (!IsRandomCharacter(c))
            return false;
    const std::string_view carried = fileName.substr(1, markAt - 1);
    if (carried.size() < kMaxCarriedName)
        target = std::string(carried);
    return true;
}

bool IsCompleteContent(const std::string& name, std::string_view bytes)
{
    // Every line of a chart file ends with CR LF, the last one too; a save
    // cut short ends in the zero bytes of its unwritten part.
    if (!HasChartExtension(name) || bytes.size() < 2 || bytes.substr(bytes.size() - 2) != "\r\n")
        return false;
    try {
        TJednoMereni chart;
        ReadChartText(chart, bytes, name);
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

FolderCleanup CleanUpInterruptedSaves(const std::string& folder, const std::string& writing)
{
    // The names first, the files after: the folder changes while they are
    // dealt with.
    std::vector<std::pair<std::string, std::string>> found; // file name, target name
    if (DIR* dir = ::opendir(folder.empty() ? "." : folder.c_str())) {
        while (const dirent* entry = ::readdir(dir)) {
            std::string target;
            if (IsTemporaryName(entry->d_name, target))
                found.emplace_back(entry->d_name, std::move(target));
        }
        ::closedir(dir);
    }

    FolderCleanup done;
    for (const auto& [name, target] : found) {
        const std::string path = Join(folder, name);
        const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_NOCTTY | O_CLOEXEC);
        if (fd < 0)
            continue;
        // Locked: a save is writing it. Taken: the name must still be this
        // file, which its writer or another cleaner may have renamed or
        // removed since it was listed.
        struct stat held {};
        struct stat named {};
        const bool stale = ::fstat(fd, &held) == 0 && S_ISREG(held.st_mode) &&
                           ::flock(fd, LOCK_EX | LOCK_NB) == 0 && ::lstat(path.c_str(), &named) == 0 &&
                           named.st_dev == held.st_dev && named.st_ino == held.st_ino;
        if (stale) {
            switch (Judge(fd, path, folder, target, writing)) {
            case Verdict::Recovered:
                done.Recovered.push_back(Join(folder, target));
                break;
            case Verdict::Remove:
                if (::unlink(path.c_str()) == 0)
                    done.Removed.push_back(path);
                break;
            case Verdict::Keep:
                break;
            }
        }
        ::close(fd);
    }
    if (!done.Recovered.empty())
        SyncFolder(folder);
    return done;
}

std::string RecoveredFilesNote(const std::vector<std::string>& paths)
{
    if (paths.empty())
        return {};
    std::string list;
    for (const std::string& path : paths)
        list += (list.empty() ? "" : ", ") + path;
    return "Recovered " + list +
           (paths.size() == 1 ? " from an interrupted save" : " from interrupted saves");
}

} // namespace lumidrax
