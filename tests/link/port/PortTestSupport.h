#pragma once
// Pseudo-terminals for the port tests: a bare one whose far end the test
// holds, and the simulator serving a transfer on one of its own.

#include <QProcess>

#include <string>
#include <vector>

namespace lumidrax::test {

constexpr int kPortWaitMs = 20000; // bound of every wait; normally a few ms

// A pseudo-terminal: the test writes to and reads from Master(); the port
// under test opens Path().
class BarePty {
  public:
    BarePty();
    ~BarePty();
    BarePty(const BarePty&) = delete;
    BarePty& operator=(const BarePty&) = delete;
    const std::string& Path() const { return path_; }
    int Master() const { return master_; }
    bool Write(const std::string& bytes);
    // Bytes from the port, waiting until `count` came (or the bound).
    std::string ReadFromPort(std::size_t count);
    // The far end goes away, as an unplugged device does.
    void Hangup();

  private:
    int master_ = -1;
    std::string path_;
};

// The simulator's options for `model` with each transfer held until the test
// releases it (SimPty::Release), then `more`.
std::vector<std::string> SimArgs(const std::string& model, std::vector<std::string> more);

// vkr-sim --pty with the given options, its log kept. Tests pass --step
// and Release() each transfer when their port listens: a simulator that
// sent on its own clock could meet a port still opening (whose purge
// drops the bytes) or, when descheduled, stretch or shorten the silence
// that ends an RS-232 transfer.
class SimPty {
  public:
    explicit SimPty(const std::vector<std::string>& args);
    ~SimPty();
    // The terminal the receiver opens; empty when the simulator did not start.
    const std::string& Path() const { return path_; }
    // With --step: lets the next transfer (RS-232) or the first frame
    // (VKR104) go. Call it once the receiving port is open.
    bool Release();
    // Release, then waits until the simulator has delivered the transfer:
    // the size of the last piece it sent (its log line "sent piece k of n
    // (N bytes)"), 0 when nothing was delivered.
    std::size_t Deliver();
    // Waits for the simulator to end; its exit code, or -1.
    int Finish();
    // Waits until the simulator's log has this text.
    bool WaitForLog(const std::string& text);
    std::string Log();

  private:
    QProcess process_;
    std::string path_;
    std::string log_;
};

} // namespace lumidrax::test
