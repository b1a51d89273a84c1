#pragma once
// What one step of the transfer state machine asks of its surroundings: the
// bytes to send, the timers to start or stop, what was decoded, the
// messages to show, the status box to paint and the window commands to
// run. The Qt adapter applies a step in the order of the fields below.

#include "TJednoMereni.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace lumidrax {

// The two timers of one port.
enum class TransferTimer {
    // portTimer: end-of-transfer detection, 100 ms (RS-232) or 20 ms
    // (Bluetooth); its ticks go to TransferMachine::PortTimerTick.
    Port,
    // VKR104ChartTimer: 5000 ms, Bluetooth only: the next frame did not
    // come; its expiry goes to TransferMachine::ChartTimerExpired.
    Chart,
};

// Start (restarting the count of a running timer) or stop a timer. The
// machine asks to start the port timer only when it is not running.
struct TimerRequest {
    TransferTimer timer = TransferTimer::Port;
    bool start = false;
    int intervalMs = 0;

    bool operator==(const TimerRequest&) const = default;
};

// The states the port's status boxes (e_port and e_rep_port) show.
enum class PortStatus {
    Open,     // green (0, 128, 0): port open or transfer received
    Arriving, // yellow (255, 255, 0): bytes arriving
    Lost,     // red (255, 0, 0): closed unexpectedly or failed to open
    Closed,   // grey (128, 128, 128): closed by the user
};

struct Rgb {
    int r = 0, g = 0, b = 0;
    bool operator==(const Rgb&) const = default;
};

Rgb PortStatusColor(PortStatus status);

// Both status boxes: caption "COM" + port number, coloured by status.
struct StatusBoxState {
    PortStatus status = PortStatus::Open;
    std::string caption;

    bool operator==(const StatusBoxState&) const = default;
};

// One transfer or frame handed to DecodeTransfer.
struct DecodedTransfer {
    int result = 0;        // the DecodeTransfer result code
    int byteCount = 0;     // bytes handed over (without a frame header)
    int firstNewChart = 0; // number (from 1) of the first chart added, 0 for none
    int chartsAdded = 0;   // charts appended to the collection
    int reportsAdded = 0;  // reports appended to the context's report list
};

struct TransferMessage {
    std::string caption; // "Error", "Information", or empty for a plain box
    std::string text;
    int code = 0; // the catalogue code of an error message, 0 for other texts

    bool operator==(const TransferMessage&) const = default;
};

// Which page the window shows after a transfer.
enum class ShowPage {
    Unchanged,
    Charts,  // the chart page, if the reports page is showing
    Reports, // the reports page
};

struct TransferStep {
    std::vector<TimerRequest> timers;        // in order
    bool purgeInput = false;                 // the port's input queue may be cleared
    std::string send;                        // bytes to write ("R"), empty for none
    bool reopenPort = false;                 // close the port and open it with the same number
    std::optional<StatusBoxState> statusBox; // new state of both status boxes
    std::optional<bool> busyCursor;          // hourglass on (true) or back to normal (false)
    std::vector<DecodedTransfer> decoded;    // in order
    bool refreshCharts = false;              // refresh the chart list and panels, repaint
    // Automatic saving is on: save these charts, the ones the transfer
    // that just ended added (and no others).
    std::vector<ChartId> saveCharts;
    ShowPage page = ShowPage::Unchanged;
    std::vector<TransferMessage> messages; // in order
    bool rememberWorkingPort = false;      // this port delivered bytes (RememberWorkingPort)
    // The transfer ended before it was complete: a frame, or the rest of
    // the transfer, was lost.
    bool transferIncomplete = false;
};

} // namespace lumidrax
