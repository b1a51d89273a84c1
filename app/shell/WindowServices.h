#pragma once
// What the window's command units share: the chart collection and its
// notifier, the dialogs, the queue of work from the ports, and whether a
// command is running. None of them is owned.

namespace lumidrax {

class ChartNotifier;
class IDialogs;
class TMereni;
class UiQueue;
class WindowBusy;

struct WindowServices {
    TMereni* Charts = nullptr;
    ChartNotifier* Notifier = nullptr;
    IDialogs* Dialogs = nullptr;
    UiQueue* Queue = nullptr;
    WindowBusy* Busy = nullptr;
};

} // namespace lumidrax
