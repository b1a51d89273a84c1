#include "PortOpenReason.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace lumidrax {

namespace {

bool IsMissing(int error)
{
    return error == ENOENT || error == ENODEV || error == ENXIO;
}

bool IsPeerDown(int error)
{
    return error == EHOSTDOWN || error == ECONNREFUSED || error == EHOSTUNREACH || error == ETIMEDOUT ||
           error == ECONNRESET || error == EIO;
}

std::string PermissionText(const PortDeviceFacts& f)
{
    std::string text = f.Device + ": permission denied";
    if (f.Group.empty())
        return text;
    if (f.UserInGroup && !f.SessionInGroup)
        return text + "; you are in the group " + f.Group +
               ", but this session started before you joined it: log in again";
    text += "; the device belongs to the group " + f.Group;
    if (!f.UserInGroup)
        text += ": add yourself with \"sudo usermod -aG " + f.Group + " " +
                (f.User.empty() ? "$USER" : f.User) + "\" and log in again";
    return text;
}

// What a path is when it is no terminal; empty for other errors.
std::string NotSerialText(int error)
{
    if (error == ELOOP)
        return "symbolic link loop";
    if (error == EISDIR)
        return "a folder, not a serial device";
    if (error == ENOTTY)
        return "not a serial device";
    return {};
}

} // namespace

std::string PortOpenReason(const PortDeviceFacts& f)
{
    if (!f.Exists)
        return f.Device + ": no such device";
    if (f.Error == 0)
        return {};
    if (f.Error == EACCES || f.Error == EPERM)
        return PermissionText(f);
    if (f.Error == EBUSY || f.Error == EAGAIN)
        return f.Device + ": busy, held by " + (f.Holder.empty() ? "another program" : f.Holder);
    if (f.Bluetooth && (IsPeerDown(f.Error) || IsMissing(f.Error)))
        return f.Device + ": the Bluetooth instrument does not answer (switched off, out of range or "
                          "refusing the connection)";
    if (IsMissing(f.Error))
        return f.Device + ": no such device";
    if (const std::string kind = NotSerialText(f.Error); !kind.empty())
        return f.Device + ": " + kind;
    return f.Device + ": " + std::strerror(f.Error);
}

PortDeviceFacts GatherPortFacts(const std::string& device, int error, const PortSystemView& system)
{
    PortDeviceFacts f;
    f.Device = device;
    f.Error = error;
    const std::string name = device.substr(device.find_last_of('/') + 1);
    f.Bluetooth = name.starts_with("rfcomm");
    const std::optional<unsigned> gid = system.PathGroup(device);
    f.Exists = gid.has_value();
    if (!gid)
        return f;
    f.Group = system.GroupName(*gid);
    f.User = system.UserName();
    f.UserInGroup = system.UserInGroup(f.User, *gid);
    const std::vector<unsigned> session = system.SessionGroups();
    f.SessionInGroup = std::find(session.begin(), session.end(), *gid) != session.end();
    if (error == EBUSY || error == EAGAIN)
        f.Holder = system.Holder(device);
    return f;
}

std::string DeviceState(const std::string& device, const PortSystemView& system)
{
    if (system.TerminalError)
        if (const std::string kind = NotSerialText(system.TerminalError(device)); !kind.empty())
            return device + ": " + kind;
    if (!system.PathGroup(device))
        return device + ": no such device";
    const int error = system.AccessError(device);
    return error == 0 ? std::string() : PortOpenReason(GatherPortFacts(device, error, system));
}

std::string NoPortText(bool bluetooth)
{
    return std::string("No port is set for ") + (bluetooth ? "BT" : "RS 232") +
           ": choose the instrument's device in File > Settings...";
}

std::string LostPortText(int port, const std::string& device, const std::string& state)
{
    return "COM" + std::to_string(port) + ": the connection was lost (" +
           (state.empty() ? device + " closed the line" : state) +
           "); choose Connect in this box's menu to open it again";
}

} // namespace lumidrax
