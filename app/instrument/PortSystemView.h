#pragma once
// What the reason for a failed port open needs to know about the system,
// asked through functions so that tests can answer from a made-up file
// system and group database. No Qt.

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace lumidrax {

struct PortSystemView {
    // Group id owning a path; nothing when the path does not exist.
    std::function<std::optional<unsigned>(const std::string& path)> PathGroup;
    // Name of a group id; empty when unknown.
    std::function<std::string(unsigned gid)> GroupName;
    // The user running the program.
    std::function<std::string()> UserName;
    // Whether the group database (or the user's primary group) puts the
    // user in a group.
    std::function<bool(const std::string& user, unsigned gid)> UserInGroup;
    // The groups of this process (the session).
    std::function<std::vector<unsigned>()> SessionGroups;
    // The errno of asking for read and write access to a path; 0 when
    // both are allowed.
    std::function<int(const std::string& path)> AccessError;
    // The process holding a device open ("ModemManager (612)"); empty when
    // none is found.
    std::function<std::string(const std::string& path)> Holder;
    // Whether a path is a terminal device, the only kind a serial port
    // opens on: 0 when it is, otherwise an errno (ENOTTY for a file, a
    // FIFO or a device of another kind, EISDIR for a folder, ELOOP for a
    // symbolic link loop, ENOENT when missing). Unset: not asked.
    std::function<int(const std::string& path)> TerminalError;
};

} // namespace lumidrax
