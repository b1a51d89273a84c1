#include "SimServer.h"

#include "FileIO.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <stdexcept>
#include <stdlib.h>
#include <termios.h>
#include <thread>
#include <unistd.h>

namespace lumidrax::vkrsim {

namespace {

using SteadyClock = std::chrono::steady_clock;
using Ms = std::chrono::milliseconds;

std::runtime_error SystemError(const std::string& what)
{
    return std::runtime_error(what + ": " + std::strerror(errno));
}

void MakeRaw(int fd, bool setSpeed)
{
    termios t{};
    if (::tcgetattr(fd, &t) != 0)
        return;
    ::cfmakeraw(&t);
    t.c_cflag |= CLOCAL | CREAD;
    t.c_cflag &= ~static_cast<tcflag_t>(CSTOPB | PARENB);
    if (setSpeed) {
        ::cfsetispeed(&t, B9600);
        ::cfsetospeed(&t, B9600);
    }
    t.c_cc[VMIN] = 1;
    t.c_cc[VTIME] = 0;
    ::tcsetattr(fd, TCSANOW, &t);
}

// Poll events of the line right now.
short Events(int fd)
{
    pollfd p{fd, POLLIN, 0};
    if (::poll(&p, 1, 0) <= 0)
        return 0;
    return p.revents;
}

bool WriteAll(int fd, const ByteVec& bytes)
{
    return WriteAllBytes(fd, std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}

// Reads the receiver's bytes and finds questions ("?" + 3 digits) and
// requests ("R") in them.
class RequestScanner {
  public:
    // Feeds bytes; returns the number of "R" requests among them and sets
    // `questions` to the number of complete questions.
    int Feed(const std::uint8_t* data, std::size_t n, int& questions)
    {
        int requests = 0;
        questions = 0;
        for (std::size_t k = 0; k < n; ++k) {
            const char ch = static_cast<char>(data[k]);
            if (pendingQuestion_ >= 0) {
                if (ch >= '0' && ch <= '9') {
                    if (++pendingQuestion_ == 3) {
                        ++questions;
                        pendingQuestion_ = -1;
                    }
                    continue;
                }
                pendingQuestion_ = -1;
            }
            if (ch == '?')
                pendingQuestion_ = 0;
            else if (ch == 'R')
                ++requests;
        }
        return requests;
    }

  private:
    int pendingQuestion_ = -1;
};

// The caller's go-aheads (--step): each line on standard input lets one
// more piece go.
struct Releases {
    int count = 0;
    bool open = true; // standard input has not ended

    // Reads what is waiting on standard input.
    void Read()
    {
        char buf[64];
        const ssize_t got = ::read(STDIN_FILENO, buf, sizeof buf);
        if (got > 0)
            count += static_cast<int>(std::count(buf, buf + got, '\n'));
        else if (got == 0 || (errno != EINTR && errno != EAGAIN))
            open = false;
    }
};

enum class SessionEnd { Done, HungUp, HungUpAfterQuestion, TimedOut };

SessionEnd RunSession(Line& line, const Transfer& t, const ServeOptions& o, Releases& releases,
                      const std::function<void(const std::string&)>& log)
{
    const std::string answer = IdentificationAnswer(o.model);
    RequestScanner scanner;
    bool answeredQuestion = false;
    bool started = false;
    std::size_t next = 0;         // next piece to send
    bool awaitingRequest = false; // Bluetooth: a frame is out, waiting for "R"
    bool finished = false;        // everything sent (and, Bluetooth, the last "R" came)
    bool receiverAway = false;    // pty: the receiver closed the terminal mid-transfer
    auto now = SteadyClock::now;
    auto startAt = now() + Ms(o.delayMs);
    auto nextPieceAt = startAt;
    auto idleSince = now();

    auto sendPiece = [&](std::size_t k) {
        if (t.skip[k]) {
            log("piece " + std::to_string(k + 1) + " of " + std::to_string(t.pieces.size()) +
                " left out (fault)");
            return true;
        }
        if (!WriteAll(line.fd, t.pieces[k]))
            return false;
        log("sent piece " + std::to_string(k + 1) + " of " + std::to_string(t.pieces.size()) + " (" +
            std::to_string(t.pieces[k].size()) + " bytes)");
        return true;
    };

    // With --step, piece k (from 0) waits for the (k+1)-th go-ahead.
    auto released = [&](std::size_t k) { return !o.step || releases.count > static_cast<int>(k); };

    while (true) {
        const auto current = now();
        if (!started && !o.answerOnly && !answeredQuestion && current >= startAt && released(0)) {
            started = true;
            idleSince = current;
            if (t.bluetooth) {
                if (!sendPiece(0))
                    return SessionEnd::HungUp;
                next = 1;
                awaitingRequest = true;
            }
        }
        if (started && !t.bluetooth && next < t.pieces.size() && current >= nextPieceAt && released(next)) {
            if (!sendPiece(next))
                return SessionEnd::HungUp;
            ++next;
            // Paced pieces go when released; the caller keeps them apart.
            nextPieceAt = current + Ms(o.step ? 0 : o.gapMs);
            idleSince = current;
            if (next == t.pieces.size()) {
                ::tcdrain(line.fd);
                finished = true;
                log("transfer delivered");
                if (!line.pty)
                    return SessionEnd::Done;
            }
        }
        if (current - idleSince > Ms(o.waitMs))
            return finished ? SessionEnd::Done : SessionEnd::TimedOut;

        int timeout = 100;
        if (started && !t.bluetooth && next < t.pieces.size() && released(next))
            timeout = static_cast<int>(
                std::max<long long>(0, std::chrono::duration_cast<Ms>(nextPieceAt - current).count()));
        else if (!started && released(0))
            timeout = static_cast<int>(
                std::max<long long>(0, std::chrono::duration_cast<Ms>(startAt - current).count()));
        timeout = std::min(timeout, 100);
        pollfd polled[2] = {{line.fd, POLLIN, 0}, {STDIN_FILENO, POLLIN, 0}};
        const bool readStdin = o.step && releases.open;
        const int ready = ::poll(polled, readStdin ? 2 : 1, timeout);
        if (ready < 0 && errno != EINTR)
            return SessionEnd::HungUp;
        if (ready <= 0)
            continue;
        if (readStdin && polled[1].revents != 0)
            releases.Read();
        const pollfd& p = polled[0];
        if (p.revents == 0)
            continue;
        if (p.revents & POLLIN) {
            std::uint8_t buf[512];
            const ssize_t got = ::read(line.fd, buf, sizeof buf);
            if (got > 0) {
                int questions = 0;
                const int requests = scanner.Feed(buf, static_cast<std::size_t>(got), questions);
                for (int q = 0; q < questions; ++q) {
                    log("identification question answered");
                    ByteVec a(answer.begin(), answer.end());
                    WriteAll(line.fd, a);
                    if (!started)
                        answeredQuestion = true;
                }
                for (int r = 0; r < requests && t.bluetooth && awaitingRequest; ++r) {
                    idleSince = now();
                    if (next < t.pieces.size()) {
                        if (!sendPiece(next))
                            return SessionEnd::HungUp;
                        ++next;
                    } else {
                        awaitingRequest = false;
                        finished = true;
                        log("transfer delivered");
                        if (!line.pty)
                            return SessionEnd::Done;
                    }
                }
                continue;
            }
        }
        if (p.revents & (POLLHUP | POLLERR)) {
            if (finished)
                return SessionEnd::Done;
            // A receiver that closes its port in the middle of a transfer
            // (to start clean after a bad frame) may open it again: the
            // instrument keeps its place until the wait runs out.
            if (line.pty && started && !o.answerOnly) {
                if (!receiverAway)
                    log("the receiver closed the terminal; waiting for it to come back");
                receiverAway = true;
                std::this_thread::sleep_for(Ms(20));
                continue;
            }
            return answeredQuestion && !started ? SessionEnd::HungUpAfterQuestion : SessionEnd::HungUp;
        }
    }
}

} // namespace

std::string IdentificationAnswer(Model model)
{
    return std::string(model == Model::VKR103RAM ? "VKR103" : ModelName(model)) + " simulator\r\n";
}

Line OpenPseudoTerminal()
{
    Line line;
    line.fd = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (line.fd < 0)
        throw SystemError("cannot create a pseudo-terminal");
    if (::grantpt(line.fd) != 0 || ::unlockpt(line.fd) != 0) {
        ::close(line.fd);
        throw SystemError("cannot unlock the pseudo-terminal");
    }
    const char* name = ::ptsname(line.fd);
    if (!name) {
        ::close(line.fd);
        throw SystemError("cannot name the pseudo-terminal");
    }
    line.path = name;
    line.pty = true;
    MakeRaw(line.fd, false);
    // Open and close the terminal once: from then on the line reports a
    // hang-up until a receiver opens it, which tells when one is there.
    const int slave = ::open(name, O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (slave >= 0) {
        MakeRaw(slave, false);
        ::close(slave);
    }
    return line;
}

Line OpenSerialDevice(const std::string& path)
{
    Line line;
    line.fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (line.fd < 0)
        throw SystemError("cannot open " + path);
    line.path = path;
    MakeRaw(line.fd, true);
    return line;
}

void CloseLine(Line& line)
{
    if (line.fd >= 0)
        ::close(line.fd);
    line.fd = -1;
}

int Serve(Line& line, const Transfer& t, const ServeOptions& o,
          const std::function<void(const std::string&)>& log)
{
    Releases releases;
    while (true) {
        if (line.pty) {
            // Wait for a receiver to open the terminal.
            const auto deadline = SteadyClock::now() + Ms(o.waitMs);
            while (Events(line.fd) & POLLHUP) {
                if (SteadyClock::now() > deadline) {
                    log("no receiver opened " + line.path);
                    return 1;
                }
                std::this_thread::sleep_for(Ms(20));
            }
            MakeRaw(line.fd, false);
            log("receiver connected");
        }
        switch (RunSession(line, t, o, releases, log)) {
        case SessionEnd::Done:
            return 0;
        case SessionEnd::HungUpAfterQuestion:
            log("receiver hung up after the identification; waiting for the next connection");
            continue;
        case SessionEnd::HungUp:
            if (o.answerOnly)
                continue;
            log("the receiver went away before the transfer was complete");
            return 1;
        case SessionEnd::TimedOut:
            log("the receiver did not ask for the next frame in time");
            return 1;
        }
    }
}

} // namespace lumidrax::vkrsim
