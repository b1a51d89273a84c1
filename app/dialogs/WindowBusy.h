#pragma once
// Whether a window command is running (a command that may show a dialog, and
// with it a nested event loop). While one is, the work that transfers post
// waits (the queue is held), and so does a batch of files from outside.

#include "UiQueue.h"

namespace lumidrax {

class WindowBusy {
  public:
    explicit WindowBusy(UiQueue& queue) : queue_(queue) {}

    bool Active() const { return count_ > 0; }

    // Marks a command as running for its lifetime.
    class Scope {
      public:
        explicit Scope(WindowBusy& busy) : busy_(busy), hold_(busy.queue_) { ++busy_.count_; }
        ~Scope() { --busy_.count_; }
        Scope(const Scope&) = delete;
        Scope& operator=(const Scope&) = delete;

      private:
        WindowBusy& busy_;
        UiQueue::Hold hold_;
    };

  private:
    UiQueue& queue_;
    int count_ = 0;
};

} // namespace lumidrax
