#pragma once
// The conversation with the instrument on one serial port, as a plain state
// machine. Received bytes, timer ticks and port commands go in; each call
// returns a TransferStep with the bytes to send, the timers to start or
// stop, the decoded results and the window's reactions. No Qt, no real
// clock: the time comes from the injected millisecond clock, so every
// timing rule runs in tests without waiting.
//
// RS-232 (VKR102, VKR103): the instrument pushes a whole transfer; it is
// complete after 2 s without new bytes and then goes to DecodeTransfer.
//
// Bluetooth (VKR104), one frame per chart:
//   idle          no frame announced (ExpectedFrameLength -1), no timer runs
//   header        more than 3 bytes waiting: the 3-byte header (type byte,
//                 length F low byte first) is taken off, ExpectedFrameLength
//                 = F + 2, the chart timer stops; the port timer watches
//   frame         complete when the bytes waiting equal ExpectedFrameLength,
//                 at once for an empty frame (F = 0), or after 5000 ms
//                 without bytes; then it is decoded
//   chart (7, 8)  "R" is sent and the chart timer runs: the next header, or
//                 the missing-frame handling after 5000 ms
//   end (90)      "R" is sent, the transfer is finished: idle
//   error         wrong byte count (-12) or missing frame: the message, the
//                 port is reopened, idle
//
// The received bytes wait in the machine (the port's input queue) until the
// transfer or frame is complete; DecodeTransfer gets exactly those bytes.
//
// A transfer may hold up to TransferLimit() bytes, far more than any
// instrument's memory. A line that sends more (a flood of noise, a device
// gone mad) does not fill the memory: on RS-232 what has arrived is decoded
// as the transfer, on Bluetooth the frame is given up and the port purged;
// the failure is told once, and everything that follows is discarded until
// the line has been quiet for 2 s. The next transfer then arrives clean.

#include "DecodeTransfer.h"
#include "DecoderContext.h"
#include "TMereni.h"
#include "TransferStep.h"

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <vector>

namespace lumidrax {

// Milliseconds from any fixed start, never going back (a steady clock).
using MillisecondClock = std::function<std::int64_t()>;

class TransferMachine {
  public:
    static constexpr int kRS232PortTimerMs = 100;
    static constexpr int kBluetoothPortTimerMs = 20;
    // RS-232: a transfer is complete after this much silence (strictly more).
    static constexpr int kRS232SilenceMs = 2000;
    // Bluetooth: the longest wait for the rest of a frame, and the chart
    // timer's interval.
    static constexpr int BTFrameTimeout = 5000;
    static constexpr std::size_t kFrameHeaderSize = 3;
    // The most bytes one transfer (or frame) may hold.
    static constexpr std::size_t kMaxTransferBytes = std::size_t{16} << 20;
    // After a transfer that ran over the limit, the line must be this quiet
    // before the next transfer is taken.
    static constexpr int kQuietAfterOverflowMs = 2000;
    static constexpr const char* RequestText = "R";
    static constexpr const char* kDuplicatesText = "Some of transfered charts were already loaded.";
    static constexpr const char* kMissingFrameText = "Some charts were not transfered.";

    // "Some charts were not transfered." and how many of this transfer did
    // arrive (already loaded ones included).
    static std::string NotTransferredText(int arrived);
    // A transfer longer than `limit` bytes was cut there: `received`
    // charts of it were received, the rest was lost.
    static std::string TransferCutText(std::size_t limit, int received);

    // The collection and the context are shared with the window (and with
    // the machine of the other Bluetooth port); `ctx.AutoSave` is the
    // automatic saving setting.
    TransferMachine(TMereni& charts, DecoderContext& ctx, MillisecondClock clock,
                    ConnectionMode mode = ConnectionMode::COM);

    // Bytes arrived on the port.
    TransferStep ComPortRxChar(std::span<const std::uint8_t> bytes);
    // A tick of the port timer.
    TransferStep portTimerTimer();
    // The chart timer ran out: the next Bluetooth frame did not come.
    TransferStep VKR104ChartTimerTimer();

    // The port was opened with this number (also after a reopen). Bytes
    // still waiting from before are discarded.
    TransferStep ComPortOpen(int portNumber);
    // The port was closed: by the Disconnect command (byUser) or otherwise
    // (mode change, error recovery, program end). A transfer in progress
    // ends here with what has arrived.
    TransferStep ComPortClose(bool byUser);
    // The connection mode changed (the ports are closed and opened again
    // by the caller). A transfer in progress ends as on ComPortClose.
    TransferStep SetMode(ConnectionMode mode);
    // Decodes now what would be decoded once the line has been quiet long
    // enough, the port staying open: an RS-232 transfer whose 2 s of
    // silence have not passed yet, a complete Bluetooth frame not yet
    // looked at (a chart then asks for the next one as usual). A frame
    // still arriving is left alone. Nothing when nothing waits.
    TransferStep FinishPending();

    // Tests use a smaller limit than kMaxTransferBytes.
    void SetTransferLimit(std::size_t bytes) { limit_ = bytes; }
    std::size_t TransferLimit() const { return limit_; }

    ConnectionMode Mode() const { return mode_; }
    int PortNumber() const { return port_; }
    bool IsOpen() const { return open_; }
    int PortTimerInterval() const;
    bool PortTimerRunning() const { return portTimerRunning_; }
    bool ChartTimerRunning() const { return chartTimerRunning_; }
    // -1 when no Bluetooth frame is announced, else F + 2.
    int ExpectedFrameLength() const { return expected_; }
    std::size_t BytesWaiting() const { return rx_.size(); }
    // A transfer ran over the limit: bytes are discarded until the line is
    // quiet.
    bool Discarding() const { return discarding_; }
    bool DuplicatesSeen() const { return duplicatesSeen_; }
    const StatusBoxState& StatusBox() const { return status_; }
    // Nothing waiting, no frame announced, no timer running.
    bool IsIdle() const;

  private:
    // How the bytes waiting came to be decoded.
    enum class Ending {
        Complete, // the transfer or frame is complete (or timed out)
        Closing,  // the port goes away: nothing is sent on it
        Cut,      // the transfer ran over the limit
    };

    void ReadFrameHeader(TransferStep& step);
    void EndOfTransfer(TransferStep& step);
    void Overflow(TransferStep& step);
    void ProcessTransfer(TransferStep& step, Ending ending = Ending::Complete);
    DecodedTransfer Decode(TransferStep& step, Ending ending);
    std::vector<ChartId> AddedCharts(const DecodedTransfer& d) const;
    void SendRequest(TransferStep& step);
    void ReopenPort(TransferStep& step);
    void FinishBluetoothTransfer(TransferStep& step);
    void Flush(TransferStep& step);
    void ResetConversation(TransferStep& step);
    void StartPortTimer(TransferStep& step);
    void StopPortTimer(TransferStep& step);
    void StartChartTimer(TransferStep& step);
    void StopChartTimer(TransferStep& step);
    void SetStatus(TransferStep& step, PortStatus status, bool always = false);
    void SetBusy(TransferStep& step, bool busy);

    TMereni& charts_;
    DecoderContext& ctx_;
    MillisecondClock clock_;
    ConnectionMode mode_;
    int port_ = 0;
    bool open_ = false;
    std::vector<std::uint8_t> rx_;
    int expected_ = -1;
    std::int64_t lastRxTime_ = 0;
    bool portTimerRunning_ = false;
    bool chartTimerRunning_ = false;
    bool busy_ = false;
    std::size_t limit_ = kMaxTransferBytes;
    // The transfer ran over the limit; what follows is dropped until the
    // line is quiet.
    bool discarding_ = false;
    // A chart of the current Bluetooth transfer was already loaded.
    bool duplicatesSeen_ = false;
    // A Bluetooth transfer delivered a chart and has not ended yet.
    bool btTransferActive_ = false;
    // The current Bluetooth transfer: the charts it added, and the charts
    // that arrived (with those already loaded).
    std::vector<ChartId> btCharts_;
    int btArrived_ = 0;
    StatusBoxState status_;
};

} // namespace lumidrax
