#pragma once
// The inotify events of one folder, taken as they come without blocking:
// the tests that watch what a program does to a folder's files from outside.

#include <cstdint>
#include <functional>
#include <string>

namespace lumidrax::test {

class FolderEvents {
  public:
    // Watches `folder` for the events of `mask` (IN_CREATE, IN_OPEN, ...).
    FolderEvents(const std::string& folder, std::uint32_t mask);
    ~FolderEvents();
    FolderEvents(const FolderEvents&) = delete;
    FolderEvents& operator=(const FolderEvents&) = delete;

    bool Watching() const { return watching_; }
    // Readable (POLLIN) while events wait.
    int Descriptor() const { return fd_; }

    // Hands each waiting event about a file of the folder to `take`, with the
    // file's name and the event's mask.
    using Take = std::function<void(const std::string& name, std::uint32_t mask)>;
    void TakeEvents(const Take& take);

  private:
    int fd_;
    bool watching_ = false;
};

} // namespace lumidrax::test
