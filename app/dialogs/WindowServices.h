#pragma once
// What the window lends every feature it wires: the window itself, the chart
// collection and its notifier, the dialogs, the queue of work from the ports,
// and whether a command is running (WindowBusy). The window fills
// it once; each feature's own parts hold it beside what is theirs alone. None
// of them is owned.

class QWidget;

namespace lumidrax {

class ChartNotifier;
class IDialogs;
class TMereni;
class UiQueue;
class WindowBusy;

struct WindowServices {
    QWidget* Window = nullptr;
    TMereni* Charts = nullptr;
    ChartNotifier* Notifier = nullptr;
    IDialogs* Dialogs = nullptr;
    UiQueue* Queue = nullptr;
    WindowBusy* Busy = nullptr;
};

} // namespace lumidrax
