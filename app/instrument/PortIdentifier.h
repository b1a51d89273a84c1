#pragma once
// The search for the instrument's ports: every number 1..255 through the
// port map, then each serial device present that no number reaches yet, is
// opened with the default line settings (9600 bit/s, 8N1), asked "?NNN" and
// given 300 ms to answer; an answer of more than 8 bytes beginning with
// "VKR" is an instrument. The first two found are kept; a device found
// without a number gets the lowest free one (PortCandidates.h), for the
// caller to write to [PORTS]. The log lines tell the user what happened.
// A device that exists but will not open is passed over in the log; its
// reason is kept for when nothing answers.
//
// Run blocks (it waits for the answers in a local event loop), so the
// dialog runs it on a worker thread; `stop` ends it between two ports.

#include "PortSystemView.h"

#include <atomic>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace lumidrax {

class TComPort;

struct IdentifyJob {
    std::map<int, std::string> Ports; // [PORTS]
    std::string DeviceFolder = "/dev";
    PortSystemView System;
};

struct IdentifyResult {
    int First = 0; // port numbers found, 0 = none
    int Second = 0;
    std::map<int, std::string> NewPorts; // devices found without a number, with the number given
    std::vector<std::string> Reasons;    // why existing devices would not open
    bool Found() const { return First != 0 || Second != 0; }
};

class PortIdentifier {
  public:
    static constexpr int kAnswerWaitMs = 300;
    // More bytes than this make an answer.
    static constexpr int kShortAnswer = 8;
    using LogLine = std::function<void(const std::string& line)>;

    explicit PortIdentifier(IdentifyJob job) : job_(std::move(job)) {}

    IdentifyResult Run(const LogLine& log, const std::atomic<bool>& stop);

  private:
    // Opens and asks one port; true when an instrument answered.
    // keepReason: remember why it would not open.
    bool Probe(int port, const std::string& name, const std::map<int, std::string>& ports, bool keepReason,
               const LogLine& log, IdentifyResult& result);
    void Record(int port, IdentifyResult& result) const;

    IdentifyJob job_;
};

} // namespace lumidrax
