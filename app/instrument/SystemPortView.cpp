#include "SystemPortView.h"

#include <algorithm>
#include <cerrno>
#include <exception>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <system_error>

#include <fcntl.h>
#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
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

std::string ReadAll(const char* path)
{
    std::ifstream in(path);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// A terminal is told by its device number, without opening it: opening a
// serial line raises its modem lines, and a pseudo-terminal's far end sees
// the close as a hang-up. Only where the kernel lists no terminal drivers
// is the device asked itself.
int TerminalError(const std::string& path)
{
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0)
        return errno;
    if (S_ISDIR(st.st_mode))
        return EISDIR;
    if (!S_ISCHR(st.st_mode))
        return ENOTTY;
    const std::string drivers = ReadAll("/proc/tty/drivers");
    if (!drivers.empty())
        return IsTerminalDriver(drivers, major(st.st_rdev), minor(st.st_rdev)) ? 0 : ENOTTY;
    const int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return errno;
    const bool terminal = ::isatty(fd) == 1;
    ::close(fd);
    return terminal ? 0 : ENOTTY;
}

} // namespace

bool IsTerminalDriver(const std::string& drivers, unsigned major, unsigned minor)
{
    std::istringstream lines(drivers);
    for (std::string line; std::getline(lines, line);) {
        std::istringstream fields(line);
        std::string name, node, minors, type;
        unsigned driverMajor = 0;
        if (!(fields >> name >> node >> driverMajor >> minors >> type) || driverMajor != major)
            continue;
        if (type.starts_with("system") || type == "pty:master")
            continue;
        unsigned first = 0, last = 0;
        const std::size_t dash = minors.find('-');
        try {
            first = static_cast<unsigned>(std::stoul(minors.substr(0, dash)));
            last = dash == std::string::npos ? first
                                             : static_cast<unsigned>(std::stoul(minors.substr(dash + 1)));
        } catch (const std::exception&) {
            continue;
        }
        if (minor >= first && minor <= last)
            return true;
    }
    return false;
}

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
    view.TerminalError = TerminalError;
    return view;
}

} // namespace lumidrax
