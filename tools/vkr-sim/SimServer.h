#pragma once
// Serving a simulated transfer on a serial line: a real serial device or a
// pseudo-terminal the simulator creates itself.
//
// The simulator answers the identification question "?" + three digits
// with a text beginning "VKR". RS-232 transfers are pushed unasked, pieces
// apart by a gap longer than the receiver's 2 s end-of-transfer silence;
// Bluetooth frames go one per "R" request, starting with the first frame
// and ending with the empty frame.

#include "SimTransfer.h"

#include <functional>
#include <string>

namespace lumidrax::vkrsim {

struct Line {
    int fd = -1;
    bool pty = false;
    std::string path; // the device (for a pty: the terminal the receiver opens)
};

// Creates a pseudo-terminal in raw mode. Throws std::runtime_error.
Line OpenPseudoTerminal();
// Opens a serial device at 9600 bit/s, 8 data bits, no parity, one stop
// bit, raw. Throws std::runtime_error.
Line OpenSerialDevice(const std::string& path);
void CloseLine(Line& line);

struct ServeOptions {
    Model model = Model::VKR104;
    // After the receiver connected (pty) or at once (device): time before
    // the transfer starts, during which a question can come.
    int delayMs = 300;
    // Pause between RS-232 pieces (the receiver splits transfers after 2 s
    // of silence).
    int gapMs = 2500;
    // How long to wait for the receiver: to connect, to ask for the next
    // frame, and to hang up after the transfer.
    int waitMs = 600000;
    bool answerOnly = false; // only answer questions, never send the transfer
    // Paced by the caller instead of the clock: each RS-232 transfer, and
    // the first Bluetooth frame, waits for a line on standard input (after
    // the delay). A test releases them once its port is open and the
    // previous transfer was received, so no piece meets a port that is not
    // listening yet and no gap depends on how fast either side runs.
    bool step = false;
};

// Serves the transfer on the line. Returns 0 when it was delivered (and,
// for Bluetooth, the request after the empty frame came), 1 when the
// receiver went away or did not ask in time. Progress goes to `log`.
int Serve(Line& line, const Transfer& transfer, const ServeOptions& options,
          const std::function<void(const std::string&)>& log);

// The answer to the identification question.
std::string IdentificationAnswer(Model model);

} // namespace lumidrax::vkrsim
