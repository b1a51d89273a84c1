// Fuzz target of the transfer state machine. The input is a script of
// events for one port: bytes arriving, the clock moving on (the timers the
// machine asked for fire when due), stray timer events, the port closing
// and opening, the mode changing. No step may hand the decoders more bytes
// than arrived, and 6 s of timer ticks without bytes leave the machine idle.

#include "FuzzCheck.h"
#include "TransferMachine.h"

#include <cstdint>
#include <cstdlib>

using namespace lumidrax;
using lumidrax::fuzz::Check;

namespace {

constexpr std::int64_t kNever = -1;

class Harness {
  public:
    Harness() : machine_(charts_, ctx_, [this] { return now_; })
    {
        ctx_.Reports = &reports_;
        ctx_.AutoName = true;
        ctx_.SaveRoot = "/fuzz/";
        ctx_.Now = FixedClock({2011, 3, 5, 14, 2, 9});
        Apply(machine_.ComPortOpen(1));
    }

    TransferMachine& Machine() { return machine_; }

    void Receive(const std::uint8_t* data, std::size_t size)
    {
        received_ += size;
        Apply(machine_.ComPortRxChar({data, size}));
    }

    // Moves the clock on, firing the timers when due.
    void Advance(std::int64_t ms)
    {
        const std::int64_t end = now_ + ms;
        while (true) {
            const bool port = portDue_ != kNever && portDue_ <= end;
            const bool chart = chartDue_ != kNever && chartDue_ <= end;
            if (!port && !chart)
                break;
            if (port && (!chart || portDue_ <= chartDue_)) {
                now_ = portDue_;
                portDue_ += portInterval_;
                Apply(machine_.portTimerTimer());
            } else {
                now_ = chartDue_;
                chartDue_ += TransferMachine::BTFrameTimeout;
                Apply(machine_.VKR104ChartTimerTimer());
            }
        }
        now_ = end;
    }

    void Apply(const TransferStep& s)
    {
        for (const TimerRequest& r : s.timers) {
            Check(r.timer == TransferTimer::Chart
                      ? !r.start || r.intervalMs == TransferMachine::BTFrameTimeout
                      : !r.start || r.intervalMs == machine_.PortTimerInterval());
            std::int64_t& due = r.timer == TransferTimer::Port ? portDue_ : chartDue_;
            due = r.start ? now_ + r.intervalMs : kNever;
            if (r.timer == TransferTimer::Port && r.start)
                portInterval_ = r.intervalMs;
        }
        Check(s.send.empty() || s.send == "R");
        for (const DecodedTransfer& d : s.decoded) {
            decoded_ += static_cast<std::size_t>(d.byteCount);
            Check(d.chartsAdded >= 0 && d.reportsAdded >= 0);
        }
        Check(decoded_ + machine_.BytesWaiting() <= received_);
        Check(charts_.Count <= 999);
        if (s.reopenPort) {
            Apply(machine_.ComPortClose(false));
            Apply(machine_.ComPortOpen(machine_.PortNumber()));
        }
    }

  private:
    std::int64_t now_ = 0;
    TMereni charts_;
    TReportList reports_;
    DecoderContext ctx_;
    TransferMachine machine_;
    std::int64_t portDue_ = kNever;
    std::int64_t chartDue_ = kNever;
    int portInterval_ = TransferMachine::kRS232PortTimerMs;
    std::size_t received_ = 0;
    std::size_t decoded_ = 0;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    Harness h;
    std::size_t i = 0;
    while (i + 1 < size) {
        const int op = data[i] % 6;
        const int arg = data[i + 1];
        i += 2;
        switch (op) {
        case 0: { // arg + 1 bytes arrive (as many as the input still has)
            const std::size_t n = std::min<std::size_t>(static_cast<std::size_t>(arg) + 1, size - i);
            h.Receive(data + i, n);
            i += n;
            break;
        }
        case 1:
            h.Advance(arg * 10);
            break;
        case 2:
            h.Apply(h.Machine().ComPortClose(arg & 1));
            break;
        case 3:
            h.Apply(h.Machine().ComPortOpen(arg));
            break;
        case 4:
            h.Apply(h.Machine().SetMode(arg & 1 ? ConnectionMode::BT : ConnectionMode::COM));
            break;
        default: // timer events that were queued before their timer stopped
            h.Apply(arg & 1 ? h.Machine().portTimerTimer() : h.Machine().VKR104ChartTimerTimer());
            break;
        }
    }
    h.Advance(6000);
    Check(h.Machine().IsIdle());
    return 0;
}
