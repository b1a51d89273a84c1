#include "UiQueue.h"

#include <QApplication>

namespace lumidrax {

UiQueue::UiQueue(QObject* parent) : QObject(parent)
{
    timer_.setSingleShot(true);
    connect(&timer_, &QTimer::timeout, this, &UiQueue::Run);
}

void UiQueue::Post(std::function<void()> work)
{
    work_.push_back(std::move(work));
    if (!timer_.isActive())
        timer_.start(0);
}

bool UiQueue::Blocked() const
{
    return holds_ > 0 || running_ || QApplication::activeModalWidget() != nullptr ||
           QApplication::activePopupWidget() != nullptr;
}

void UiQueue::Run()
{
    if (work_.empty())
        return;
    if (Blocked()) {
        timer_.start(kRetryMs);
        return;
    }
    RunAll();
}

void UiQueue::RunAll()
{
    if (running_)
        return;
    const bool ranSomething = !work_.empty();
    running_ = true;
    // An item may show a message: what is posted meanwhile waits for it and
    // runs after it, in order.
    while (!work_.empty()) {
        std::function<void()> work = std::move(work_.front());
        work_.pop_front();
        work();
    }
    running_ = false;
    if (ranSomething)
        emit drained();
}

} // namespace lumidrax
