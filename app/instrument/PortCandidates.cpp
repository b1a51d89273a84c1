#include "PortCandidates.h"

#include "SettingsDialogRules.h"

#include <cstdio>
#include <filesystem>
#include <set>
#include <system_error>

namespace lumidrax {

namespace {

namespace fs = std::filesystem;

std::string ThreeDigits(int port)
{
    char text[8];
    std::snprintf(text, sizeof text, "%03d", port);
    return text;
}

std::string DefaultDevice(int port, const std::string& devDir)
{
    return devDir + "/ttyS" + std::to_string(port - 1);
}

// The path with links resolved, so that two names of one device compare
// equal; the path itself when it cannot be resolved.
std::string Resolved(const std::string& path)
{
    std::error_code ec;
    const fs::path p = fs::weakly_canonical(path, ec);
    return ec ? path : p.string();
}

} // namespace

std::string CandidateName(int port)
{
    return "COM" + ThreeDigits(port);
}

std::string PortQuestion(int port)
{
    return "?" + ThreeDigits(port);
}

bool IsVkrAnswer(const std::string& text)
{
    return text.starts_with("VKR");
}

std::vector<std::string> UnmappedSerialDevices(const std::map<int, std::string>& ports,
                                               const std::string& devDir)
{
    std::set<std::string> reached;
    for (int n = 1; n <= kMaxPortNumber; ++n) {
        const auto it = ports.find(n);
        reached.insert(
            Resolved(it != ports.end() && !it->second.empty() ? it->second : DefaultDevice(n, devDir)));
    }
    std::vector<std::string> unmapped;
    for (const std::string& device : ListSerialDevices(devDir)) {
        const std::string real = Resolved(device);
        if (reached.insert(real).second)
            unmapped.push_back(device);
    }
    return unmapped;
}

int FreePortNumber(const std::map<int, std::string>& ports, const std::string& devDir)
{
    for (int n = 1; n <= kMaxPortNumber; ++n) {
        std::error_code ec;
        if (!ports.contains(n) && !fs::exists(fs::symlink_status(DefaultDevice(n, devDir), ec)))
            return n;
    }
    return 0;
}

int NumberForDevice(const std::map<int, std::string>& ports, const std::string& devDir,
                    const std::string& device)
{
    const std::string wanted = Resolved(device);
    for (int n = 1; n <= kMaxPortNumber; ++n) {
        const auto it = ports.find(n);
        if (Resolved(it != ports.end() && !it->second.empty() ? it->second : DefaultDevice(n, devDir)) ==
            wanted)
            return n;
    }
    return FreePortNumber(ports, devDir);
}

} // namespace lumidrax
