#include "SystemPortView.h"

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <fstream>
#include <system_error>

#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace lumidrax {

namespace {

namespace fs = std::filesystem;

std::optional<unsigned> PathGroup(const std::string& path)
{
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0)
        return std::nullopt;
    return static_cast<unsigned>(st.st_gid);
}

std::string GroupName(unsigned gid)
{
    std::vector<char> buffer(16384);
    group g{};
    group* found = nullptr;
    if (::getgrgid_r(static_cast<gid_t>(gid), &g, buffer.data(), buffer.size(), &found) != 0 || !found)
        return {};
    return found->gr_name;
}

std::string UserName()
{
    std::vector<char> buffer(16384);
    passwd p{};
    passwd* found = nullptr;
    if (::getpwuid_r(::geteuid(), &p, buffer.data(), buffer.size(), &found) != 0 || !found)
        return {};
    return found->pw_name;
}

bool UserInGroup(const std::string& user, unsigned gid)
{
    if (user.empty())
        return false;
    std::vector<char> buffer(16384);
    passwd p{};
    passwd* found = nullptr;
    if (::getpwnam_r(user.c_str(), &p, buffer.data(), buffer.size(), &found) != 0 || !found)
        return false;
    int count = 64;
    std::vector<gid_t> groups(static_cast<std::size_t>(count));
    if (::getgrouplist(user.c_str(), found->pw_gid, groups.data(), &count) < 0) {
        groups.resize(static_cast<std::size_t>(count));
        if (::getgrouplist(user.c_str(), found->pw_gid, groups.data(), &count) < 0)
            return false;
    }
    groups.resize(static_cast<std::size_t>(count));
    return std::find(groups.begin(), groups.end(), static_cast<gid_t>(gid)) != groups.end();
}

std::vector<unsigned> SessionGroups()
{
    const int count = ::getgroups(0, nullptr);
    std::vector<gid_t> groups(static_cast<std::size_t>(std::max(count, 0)));
    const int got = count > 0 ? ::getgroups(count, groups.data()) : 0;
    std::vector<unsigned> result(groups.begin(), groups.begin() + std::max(got, 0));
    result.push_back(static_cast<unsigned>(::getegid()));
    return result;
}

// "name (pid)" of the first process with an open file on the device; the
// files of other users' processes are readable only to root, so a holder
// may stay unknown.
std::string Holder(const std::string& path)
{
    struct stat device {};
    if (::stat(path.c_str(), &device) != 0 || !S_ISCHR(device.st_mode))
        return {};
    std::error_code ec;
    for (fs::directory_iterator proc("/proc", ec), end; !ec && proc != end; proc.increment(ec)) {
        const std::string pid = proc->path().filename().string();
        if (pid.empty() || !std::all_of(pid.begin(), pid.end(), ::isdigit))
            continue;
        std::error_code fdError;
        for (fs::directory_iterator fd(proc->path() / "fd", fdError), fdEnd; !fdError && fd != fdEnd;
             fd.increment(fdError)) {
            struct stat open {};
            if (::stat(fd->path().c_str(), &open) != 0 || !S_ISCHR(open.st_mode) ||
                open.st_rdev != device.st_rdev)
                continue;
            std::string name;
            std::ifstream comm(proc->path() / "comm");
            std::getline(comm, name);
            return (name.empty() ? std::string("process") : name) + " (" + pid + ")";
        }
    }
    return {};
}

int AccessError(const std::string& path)
{
    return ::access(path.c_str(), R_OK | W_OK) == 0 ? 0 : errno;
}

} // namespace

PortSystemView SystemPortView()
{
    PortSystemView view;
    view.PathGroup = PathGroup;
    view.GroupName = GroupName;
    view.UserName = UserName;
    view.UserInGroup = UserInGroup;
    view.SessionGroups = SessionGroups;
    view.AccessError = AccessError;
    view.Holder = Holder;
    return view;
}

} // namespace lumidrax
