#pragma once
// Work that must not run inside a port's handlers or while the user is
// answering something: the messages of a transfer, the automatic saving of
// what it delivered, the files handed over by a second start. A port
// handler posts it here and returns, so a message box never stops the
// port's bookkeeping; the queue runs it from the event loop once no
// question, dialog or pop-up menu is open and no command holds the queue.
//
// So while a question is open, the charts and reports only grow at their
// end (a transfer appends); nothing is saved, renamed or closed behind the
// command that asked.

#include <QObject>
#include <QTimer>

#include <deque>
#include <functional>

namespace lumidrax {

class UiQueue : public QObject {
    Q_OBJECT
  public:
    // How often the queue looks again while something holds it.
    static constexpr int kRetryMs = 50;

    explicit UiQueue(QObject* parent = nullptr);

    // Runs `work` later, in the order posted.
    void Post(std::function<void()> work);
    bool Empty() const { return work_.empty() && !running_; }
    // Runs every item now, also those posted meanwhile (the window is
    // closing and asks about what they delivered).
    void RunAll();

    // Held while a command runs or a scripted question waits: the queue
    // waits too.
    class Hold {
      public:
        explicit Hold(UiQueue& queue) : queue_(queue) { ++queue_.holds_; }
        ~Hold() { --queue_.holds_; }
        Hold(const Hold&) = delete;
        Hold& operator=(const Hold&) = delete;

      private:
        UiQueue& queue_;
    };

    // A question, dialog or pop-up menu is open, or a command holds the
    // queue.
    bool Blocked() const;

  signals:
    // The queue ran dry after running something.
    void drained();

  private:
    void Run();

    std::deque<std::function<void()>> work_;
    QTimer timer_;
    int holds_ = 0;
    bool running_ = false;
};

} // namespace lumidrax
