#pragma once
// One serial port joined to its TransferMachine: received bytes, the two
// timers and the port's open and close go into the machine, and each step
// that comes out is carried out here in the order of its fields (timers,
// purge, request, reopen, then the window's reactions as signals). The
// window side listens to the signals; nothing here knows a widget.

#include "TComPort.h"
#include "TransferMachine.h"

#include <QObject>
#include <QTimer>

#include <cstdint>
#include <string>
#include <vector>

namespace lumidrax {

class PortTransfer : public QObject {
    Q_OBJECT
  public:
    // Bytes are taken from the port in pieces of at most this size, so
    // that a flood never sits in one buffer of its own.
    static constexpr int kReadChunkBytes = 64 * 1024;

    // The port, the collection and the context outlive this object; the
    // collection and the context may be shared with another PortTransfer.
    PortTransfer(TComPort& port, TMereni& charts, DecoderContext& ctx, ConnectionMode mode,
                 QObject* parent = nullptr);

    TComPort& Port() { return port_; }
    const TransferMachine& Machine() const { return machine_; }

    // Opens the port with this number and discards the bytes waiting on it.
    // False when it failed; LastError() then tells why.
    bool Open(int number);
    const std::string& LastError() const { return lastError_; }
    // Purges and closes the port; byUser paints the status boxes grey (the
    // Disconnect command) instead of red.
    void Close(bool byUser);
    // The connection mode changed; the caller closes and opens the ports.
    void SetMode(ConnectionMode mode);
    // Decodes at once what the port holds as if its transfer had ended
    // (TransferMachine::FinishPending); the port stays open.
    void FinishPending();

    // The transfer arriving or last arrived: bytes received, and the
    // charts it delivered.
    std::int64_t TransferBytes() const { return transferBytes_; }
    int TransferCharts() const { return transferCharts_; }
    // That transfer ended before it was complete.
    bool TransferIncomplete() const { return transferIncomplete_; }

    // Steady milliseconds at the start of the last port timer tick: the tick
    // that ends a transfer decodes it.
    std::int64_t LastTimerTickMs() const { return lastTickMs_; }

    // The plain message of a request that was only partly written.
    static std::string ShortWriteText(int written);

  signals:
    void statusChanged(const lumidrax::StatusBoxState& state);
    void busyChanged(bool busy);
    void decoded(const lumidrax::DecodedTransfer& result);
    void refreshRequested();
    // Automatic saving: the charts the transfer that just ended added.
    void saveRequested(const std::vector<lumidrax::ChartId>& charts);
    void pageRequested(lumidrax::ShowPage page);
    void messageRaised(const lumidrax::TransferMessage& message);
    // The port delivered a transfer (RememberWorkingPort).
    void workingPortDelivered();
    // Bytes arrived or a chart was decoded.
    void progressChanged();

  private:
    void Received();
    void Apply(const TransferStep& step);
    void ApplyTimer(const TimerRequest& request);
    void SendRequest(const std::string& text);
    void Reopen();

    TComPort& port_;
    TransferMachine machine_;
    QTimer portTimer_;
    QTimer chartTimer_;
    bool userDisconnect_ = false;
    std::string lastError_;
    std::int64_t transferBytes_ = 0;
    int transferCharts_ = 0;
    bool transferIncomplete_ = false;
    std::int64_t lastTickMs_ = 0;
};

} // namespace lumidrax
