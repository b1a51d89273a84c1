#include "TransferMachine.h"

#include "MessageCatalogue.h"

#include <algorithm>

namespace lumidrax {

Rgb PortStatusColor(PortStatus status)
{
    switch (status) {
    case PortStatus::Open:
        return {0, 128, 0};
    case PortStatus::Arriving:
        return {255, 255, 0};
    case PortStatus::Lost:
        return {255, 0, 0};
    case PortStatus::Closed:
        return {128, 128, 128};
    }
    return {};
}

TransferMachine::TransferMachine(TMereni& charts, DecoderContext& ctx, MillisecondClock clock,
                                 ConnectionMode mode)
    : charts_(charts), ctx_(ctx), clock_(std::move(clock)), mode_(mode)
{
    status_ = {PortStatus::Closed, "COM0"};
}

int TransferMachine::PortTimerInterval() const
{
    return mode_ == ConnectionMode::BT ? kBluetoothPortTimerMs : kRS232PortTimerMs;
}

bool TransferMachine::IsIdle() const
{
    return rx_.empty() && expected_ == -1 && !portTimerRunning_ && !chartTimerRunning_;
}

std::string TransferMachine::NotTransferredText(int arrived)
{
    std::string text = kMissingFrameText;
    if (arrived == 0)
        return text + " No chart of this transfer arrived.";
    return text + " " + std::to_string(arrived) + (arrived == 1 ? " chart" : " charts") +
           " of this transfer arrived.";
}

std::string TransferMachine::TransferCutText(std::size_t limit, int received)
{
    constexpr std::size_t kMiB = std::size_t{1} << 20;
    const std::string size =
        limit % kMiB == 0 ? std::to_string(limit / kMiB) + " MiB" : std::to_string(limit) + " bytes";
    const std::string charts = received == 0   ? "No chart of it was"
                               : received == 1 ? "1 chart of it was"
                                               : std::to_string(received) + " charts of it were";
    return "Error: the transfer was longer than " + size + ". " + charts +
           " received; the rest of the transfer was lost.";
}

TransferStep TransferMachine::ComPortRxChar(std::span<const std::uint8_t> bytes)
{
    TransferStep step;
    if (bytes.empty())
        return step;
    lastRxTime_ = clock_();
    SetBusy(step, true);
    SetStatus(step, PortStatus::Arriving);
    StartPortTimer(step);
    if (discarding_)
        return step; // the rest of a transfer that ran over the limit
    // The buffer never holds more than the limit; a byte beyond it ends the
    // transfer.
    const std::size_t kept = std::min(bytes.size(), limit_ - std::min(limit_, rx_.size()));
    rx_.insert(rx_.end(), bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(kept));
    // Exactly three bytes are not taken as a header yet: the next arrival
    // reads it.
    if (mode_ == ConnectionMode::BT && expected_ == -1 && rx_.size() > kFrameHeaderSize)
        ReadFrameHeader(step);
    if (kept < bytes.size())
        Overflow(step);
    return step;
}

void TransferMachine::ReadFrameHeader(TransferStep& step)
{
    const int f = rx_[1] | (rx_[2] << 8); // rx_[0], the frame type, is not used
    rx_.erase(rx_.begin(), rx_.begin() + kFrameHeaderSize);
    expected_ = f + 2;
    ctx_.ExpectedFrameLength = expected_;
    StopChartTimer(step);
}

TransferStep TransferMachine::portTimerTimer()
{
    TransferStep step;
    if (!portTimerRunning_)
        return step; // a tick queued before the timer stopped
    const std::int64_t elapsed = clock_() - lastRxTime_;
    if (discarding_) {
        if (elapsed <= kQuietAfterOverflowMs)
            return step;
        // Quiet at last: the next bytes start a transfer of their own.
        discarding_ = false;
        StopPortTimer(step);
        SetStatus(step, PortStatus::Open);
        SetBusy(step, false);
        return step;
    }
    if (mode_ == ConnectionMode::BT) {
        const bool complete = static_cast<std::int64_t>(rx_.size()) == expected_ || expected_ == 2;
        if (elapsed <= BTFrameTimeout && !complete)
            return step;
    } else if (elapsed <= kRS232SilenceMs) {
        return step;
    }
    EndOfTransfer(step);
    return step;
}

void TransferMachine::EndOfTransfer(TransferStep& step)
{
    StopPortTimer(step);
    if (mode_ == ConnectionMode::BT)
        StartChartTimer(step);
    SetStatus(step, PortStatus::Open);
    ProcessTransfer(step);
}

void TransferMachine::Overflow(TransferStep& step)
{
    // The port timer keeps running: it tells when the line is quiet again.
    discarding_ = true;
    step.transferIncomplete = true;
    if (mode_ == ConnectionMode::COM) {
        ProcessTransfer(step, Ending::Cut);
        return;
    }
    // Bluetooth: no frame is that long. It is given up without a request;
    // the charts already acknowledged stay, and the transfer ends.
    rx_.clear();
    expected_ = -1;
    ctx_.ExpectedFrameLength = -1;
    StopChartTimer(step);
    step.purgeInput = true;
    step.messages.push_back({kErrorCaption, ErrorText(kDecodeFrameLength, ""), kDecodeFrameLength});
    step.rememberWorkingPort = true;
    FinishBluetoothTransfer(step);
}

DecodedTransfer TransferMachine::Decode(TransferStep& step, Ending ending)
{
    const std::vector<std::uint8_t> bytes = std::move(rx_);
    rx_.clear();
    const int chartsBefore = charts_.Count;
    const int reportsBefore = ctx_.Reports ? ctx_.Reports->Count() : 0;
    ctx_.Mode = mode_;
    if (mode_ == ConnectionMode::BT)
        ctx_.ExpectedFrameLength = expected_;
    DecodedTransfer d;
    {
        // A transfer cut at the limit ends inside a block; the decoder's
        // complaint about that block is part of the one message told for
        // the cut transfer.
        auto show = ctx_.ShowMessage;
        if (ending == Ending::Cut)
            ctx_.ShowMessage = nullptr;
        d.result = DecodeTransfer(charts_, ctx_, Bytes(bytes.data(), bytes.size()));
        ctx_.ShowMessage = std::move(show);
    }
    expected_ = -1;
    d.byteCount = static_cast<int>(bytes.size());
    d.chartsAdded = charts_.Count - chartsBefore;
    d.firstNewChart = d.chartsAdded > 0 ? chartsBefore + 1 : 0;
    d.reportsAdded = (ctx_.Reports ? ctx_.Reports->Count() : 0) - reportsBefore;
    step.decoded.push_back(d);
    return d;
}

std::vector<ChartId> TransferMachine::AddedCharts(const DecodedTransfer& d) const
{
    std::vector<ChartId> ids;
    for (int n = d.firstNewChart; d.firstNewChart > 0 && n < d.firstNewChart + d.chartsAdded; ++n)
        ids.push_back(charts_.Rec(n).Id);
    return ids;
}

void TransferMachine::ProcessTransfer(TransferStep& step, Ending ending)
{
    if (rx_.empty()) {
        SetBusy(step, false);
        return;
    }
    // Nothing is sent on a port that goes away, and it is not reopened.
    const bool talk = ending != Ending::Closing;
    const DecodedTransfer d = Decode(step, ending);
    const int result = d.result;
    switch (result) {
    case kVKR102ChartAdded:
    case kVKR103ChartAdded:
    case kVKR103RAMChartsAdded:
        step.refreshCharts = true;
        // A single chart is saved like the charts of a memory read-out, so
        // that automatic saving keeps every received chart; only the charts
        // of this transfer are saved.
        if (ctx_.AutoSave)
            step.saveCharts = AddedCharts(d);
        step.page = ShowPage::Charts;
        break;
    case kVKR102ReportBuilt:
    case kVKR103ReportBuilt:
    case kVKR103RAMReportBuilt:
        step.page = ShowPage::Reports;
        break;
    case kVKR104Duplicate:
        duplicatesSeen_ = true;
        [[fallthrough]];
    case kVKR104ChartAdded: {
        btTransferActive_ = true;
        ++btArrived_;
        const std::vector<ChartId> added = AddedCharts(d);
        btCharts_.insert(btCharts_.end(), added.begin(), added.end());
        if (talk) {
            StartChartTimer(step);
            step.purgeInput = true;
            SendRequest(step);
        }
        break;
    }
    case kEndOfBluetoothTransfer:
        if (talk) {
            StopChartTimer(step);
            step.purgeInput = true;
            SendRequest(step);
        }
        FinishBluetoothTransfer(step);
        break;
    case kDecodeFrameLength:
        if (talk) {
            StopChartTimer(step);
            ReopenPort(step);
        }
        step.messages.push_back({kErrorCaption, ErrorText(result, ""), result});
        FinishBluetoothTransfer(step);
        break;
    default:
        if (ending != Ending::Cut || d.chartsAdded == 0)
            step.messages.push_back({kErrorCaption, ErrorText(result, ""), result});
        // A full collection ends a Bluetooth transfer as a wrong byte count
        // does: the instrument, waiting for its request, starts clean.
        if (mode_ == ConnectionMode::BT && result == kDecodeTooManyCharts) {
            if (talk) {
                StopChartTimer(step);
                ReopenPort(step);
            }
            FinishBluetoothTransfer(step);
        }
        break;
    }
    // A transfer cut at the limit is told once: the decoder's own message
    // when nothing of it could be read, else how much of it arrived.
    if (ending == Ending::Cut && (result > 0 || d.chartsAdded > 0))
        step.messages.push_back({kErrorCaption, TransferCutText(limit_, d.chartsAdded)});
    step.rememberWorkingPort = true;
    // The rest of a cut transfer is still arriving.
    if (ending != Ending::Cut)
        SetBusy(step, false);
}

void TransferMachine::SendRequest(TransferStep& step)
{
    step.send += RequestText;
}

void TransferMachine::ReopenPort(TransferStep& step)
{
    // Closing purges the port, so the next transfer starts clean.
    ResetConversation(step);
    step.reopenPort = true;
}

void TransferMachine::FinishBluetoothTransfer(TransferStep& step)
{
    step.refreshCharts = true;
    if (ctx_.AutoSave)
        step.saveCharts = btCharts_;
    step.page = ShowPage::Charts;
    if (duplicatesSeen_)
        step.messages.push_back({"Information", kDuplicatesText});
    duplicatesSeen_ = false;
    btTransferActive_ = false;
    btCharts_.clear();
    btArrived_ = 0;
}

TransferStep TransferMachine::VKR104ChartTimerTimer()
{
    TransferStep step;
    if (!chartTimerRunning_)
        return step; // an expiry queued before the timer stopped
    StopChartTimer(step);
    step.messages.push_back({kErrorCaption, NotTransferredText(btArrived_)});
    step.transferIncomplete = true;
    ReopenPort(step);
    FinishBluetoothTransfer(step);
    return step;
}

TransferStep TransferMachine::ComPortOpen(int portNumber)
{
    TransferStep step;
    port_ = portNumber;
    open_ = true;
    ResetConversation(step);
    SetStatus(step, PortStatus::Open, true);
    return step;
}

TransferStep TransferMachine::ComPortClose(bool byUser)
{
    TransferStep step;
    Flush(step);
    ResetConversation(step);
    open_ = false;
    SetStatus(step, byUser ? PortStatus::Closed : PortStatus::Lost, true);
    return step;
}

TransferStep TransferMachine::SetMode(ConnectionMode mode)
{
    TransferStep step;
    if (mode == mode_)
        return step;
    Flush(step);
    ResetConversation(step);
    mode_ = mode;
    return step;
}

TransferStep TransferMachine::FinishPending()
{
    TransferStep step;
    if (discarding_)
        return step;
    const bool frameComplete = expected_ >= 0 && static_cast<std::int64_t>(rx_.size()) == expected_;
    if (mode_ == ConnectionMode::COM ? !rx_.empty() : frameComplete)
        EndOfTransfer(step);
    return step;
}

void TransferMachine::Flush(TransferStep& step)
{
    // What follows a transfer cut at the limit was never part of one; the
    // cut was told when it happened.
    if (discarding_)
        return;
    if (mode_ == ConnectionMode::COM) {
        // A transfer that has arrived but not yet met its 2 s of silence.
        if (!rx_.empty()) {
            StopPortTimer(step);
            ProcessTransfer(step, Ending::Closing);
        }
        return;
    }
    // Bluetooth: a complete frame still waiting is decoded; nothing is sent
    // on a port that goes away. The transfer ends with what has arrived,
    // and says so when charts were still to come: after a chart, or with a
    // frame (or its header) only partly received.
    const bool frameComplete = expected_ >= 0 && static_cast<std::int64_t>(rx_.size()) == expected_;
    bool lost = !frameComplete && (expected_ >= 0 || !rx_.empty());
    if (frameComplete)
        ProcessTransfer(step, Ending::Closing);
    lost = lost || btTransferActive_;
    if (lost) {
        step.messages.push_back({kErrorCaption, NotTransferredText(btArrived_)});
        step.transferIncomplete = true;
        FinishBluetoothTransfer(step);
    }
}

void TransferMachine::ResetConversation(TransferStep& step)
{
    rx_.clear();
    discarding_ = false;
    expected_ = -1;
    ctx_.ExpectedFrameLength = -1;
    StopPortTimer(step);
    StopChartTimer(step);
    SetBusy(step, false);
}

void TransferMachine::StartPortTimer(TransferStep& step)
{
    // A running port timer keeps its count.
    if (portTimerRunning_)
        return;
    portTimerRunning_ = true;
    step.timers.push_back({TransferTimer::Port, true, PortTimerInterval()});
}

void TransferMachine::StopPortTimer(TransferStep& step)
{
    if (!portTimerRunning_)
        return;
    portTimerRunning_ = false;
    step.timers.push_back({TransferTimer::Port, false, 0});
}

void TransferMachine::StartChartTimer(TransferStep& step)
{
    chartTimerRunning_ = true;
    step.timers.push_back({TransferTimer::Chart, true, BTFrameTimeout});
}

void TransferMachine::StopChartTimer(TransferStep& step)
{
    if (!chartTimerRunning_)
        return;
    chartTimerRunning_ = false;
    step.timers.push_back({TransferTimer::Chart, false, 0});
}

void TransferMachine::SetStatus(TransferStep& step, PortStatus status, bool always)
{
    StatusBoxState next{status, "COM" + std::to_string(port_)};
    if (!always && next == status_)
        return;
    status_ = next;
    step.statusBox = std::move(next);
}

void TransferMachine::SetBusy(TransferStep& step, bool busy)
{
    if (busy == busy_)
        return;
    busy_ = busy;
    step.busyCursor = busy;
}

} // namespace lumidrax
