#include "Commands.h"

#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <string>

namespace lumidrax::tool {

namespace {

// The companion program NAME beside this one.
std::string CompanionProgram(char** argv, const char* name)
{
    std::error_code error;
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
    return (error ? std::filesystem::path(argv[0]) : self).parent_path() / name;
}

} // namespace

int RunRenderProgram(char** argv)
{
    const std::string program = CompanionProgram(argv, "lumidrax-tool-render");
    // The render allocates a few large blocks (samples, the page): in huge
    // pages, from a heap grown in large steps, they cost a fraction of the
    // page faults. Only when the caller set no tunables of its own.
    ::setenv("GLIBC_TUNABLES",
             "glibc.malloc.hugetlb=1:glibc.malloc.mmap_threshold=4194304:glibc.malloc.top_pad=8388608", 0);
    ::execv(program.c_str(), argv);
    std::cerr << "lumidrax-tool: render needs " << program << ": " << std::strerror(errno) << '\n';
    return 2;
}

int RunArchiveProgram(char** argv)
{
    const std::string program = CompanionProgram(argv, "lumidrax-tool-archive");
    ::execv(program.c_str(), argv);
    std::cerr << "lumidrax-tool: archive needs " << program << ": " << std::strerror(errno) << '\n';
    return 2;
}

} // namespace lumidrax::tool
