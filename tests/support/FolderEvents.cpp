#include "FolderEvents.h"

#include <sys/inotify.h>
#include <unistd.h>

namespace lumidrax::test {

FolderEvents::FolderEvents(const std::string& folder, std::uint32_t mask)
    : fd_(::inotify_init1(IN_NONBLOCK | IN_CLOEXEC))
{
    watching_ = fd_ >= 0 && ::inotify_add_watch(fd_, folder.c_str(), mask) >= 0;
}

FolderEvents::~FolderEvents()
{
    if (fd_ >= 0)
        ::close(fd_);
}

void FolderEvents::TakeEvents(const Take& take)
{
    alignas(inotify_event) char buffer[16384];
    ssize_t got;
    while ((got = ::read(fd_, buffer, sizeof buffer)) > 0) {
        for (char* at = buffer; at < buffer + got;) {
            const auto* e = reinterpret_cast<const inotify_event*>(at);
            at += sizeof(inotify_event) + e->len;
            if (e->len != 0)
                take(std::string(e->name), e->mask); // the name is padded with zero bytes
        }
    }
}

} // namespace lumidrax::test
