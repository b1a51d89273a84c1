#include "PortTransfer.h"

#include <algorithm>
#include <chrono>
#include <vector>

namespace lumidrax {
namespace {

std::int64_t SteadyMilliseconds()
{
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

} // namespace

PortTransfer::PortTransfer(TComPort& port, TMereni& charts, DecoderContext& ctx, ConnectionMode mode,
                           QObject* parent)
    : QObject(parent), port_(port), machine_(charts, ctx, SteadyMilliseconds, mode)
{
    portTimer_.setTimerType(Qt::PreciseTimer);
    chartTimer_.setSingleShot(true);
    connect(&port_, &TComPort::OnRxChar, this, [this] { Received(); });
    connect(&port_, &TComPort::OnOpen, this, [this] { Apply(machine_.ComPortOpen(port_.Port)); });
    connect(&port_, &TComPort::OnClose, this, [this] { Apply(machine_.ComPortClose(userDisconnect_)); });
    connect(&portTimer_, &QTimer::timeout, this, [this] {
        lastTickMs_ = SteadyMilliseconds();
        Apply(machine_.portTimerTimer());
    });
    connect(&chartTimer_, &QTimer::timeout, this, [this] { Apply(machine_.VKR104ChartTimerTimer()); });
}

bool PortTransfer::Open(int number)
{
    lastError_.clear();
    port_.Port = number;
    try {
        port_.Open();
        port_.PurgeInput();
        return true;
    } catch (const EComError& e) {
        lastError_ = e.what();
        return false;
    }
}

void PortTransfer::Close(bool byUser)
{
    if (port_.Connected()) {
        port_.PurgeInput();
        port_.PurgeOutput();
    }
    userDisconnect_ = byUser;
    port_.Close();
    userDisconnect_ = false;
}

void PortTransfer::SetMode(ConnectionMode mode)
{
    Apply(machine_.SetMode(mode));
}

std::string PortTransfer::ShortWriteText(int written)
{
    return "Err - zapsano jen " + std::to_string(written) + " znaku.";
}

void PortTransfer::FinishPending()
{
    Received(); // bytes the port holds that no arrival notice has brought yet
    Apply(machine_.FinishPending());
}

void PortTransfer::Received()
{
    std::vector<std::uint8_t> bytes;
    // A step may close the port (a reopen): then nothing is left to read.
    while (port_.Connected()) {
        const int count = std::min(port_.InputCount(), kReadChunkBytes);
        if (count <= 0)
            return;
        bytes.resize(static_cast<std::size_t>(count));
        int got = 0;
        try {
            got = port_.Read(bytes.data(), count);
        } catch (const EComError&) {
            return; // the port reports the lost device itself
        }
        if (got <= 0)
            return;
        bytes.resize(static_cast<std::size_t>(got));
        if (machine_.IsIdle()) {
            transferBytes_ = 0;
            transferCharts_ = 0;
            transferIncomplete_ = false;
        }
        transferBytes_ += got;
        const TransferStep step = machine_.ComPortRxChar(bytes);
        emit progressChanged();
        Apply(step);
    }
}

void PortTransfer::Apply(const TransferStep& step)
{
    if (step.transferIncomplete)
        transferIncomplete_ = true;
    for (const TimerRequest& t : step.timers)
        ApplyTimer(t);
    if (step.purgeInput)
        port_.PurgeInput();
    if (!step.send.empty())
        SendRequest(step.send);
    if (step.reopenPort)
        Reopen();
    if (step.statusBox)
        emit statusChanged(*step.statusBox);
    if (step.busyCursor)
        emit busyChanged(*step.busyCursor);
    for (const DecodedTransfer& d : step.decoded) {
        transferCharts_ += d.chartsAdded;
        emit decoded(d);
    }
    if (!step.decoded.empty())
        emit progressChanged();
    if (step.refreshCharts)
        emit refreshRequested();
    if (!step.saveCharts.empty())
        emit saveRequested(step.saveCharts);
    if (step.page != ShowPage::Unchanged)
        emit pageRequested(step.page);
    for (const TransferMessage& m : step.messages)
        emit messageRaised(m);
    if (step.rememberWorkingPort)
        emit workingPortDelivered();
}

void PortTransfer::ApplyTimer(const TimerRequest& request)
{
    QTimer& timer = request.timer == TransferTimer::Port ? portTimer_ : chartTimer_;
    if (request.start)
        timer.start(request.intervalMs);
    else
        timer.stop();
}

void PortTransfer::SendRequest(const std::string& text)
{
    int written = 0;
    try {
        written = port_.WriteStr(text);
    } catch (const EComError&) {
        written = 0;
    }
    // The conversation then waits for the chart timer.
    if (written < static_cast<int>(text.size()))
        emit messageRaised({"", ShortWriteText(written), 0});
}

void PortTransfer::Reopen()
{
    // Closing and opening again are fed back through OnClose and OnOpen:
    // red, then green when the port opens.
    port_.Close();
    try {
        port_.Open();
    } catch (const EComError& e) {
        lastError_ = e.what();
    }
}

} // namespace lumidrax
