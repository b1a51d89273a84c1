#include "PortIdentifier.h"

#include "PortCandidates.h"
#include "PortOpenReason.h"
#include "TComPort.h"

#include <QEventLoop>
#include <QTimer>

namespace lumidrax {

namespace {

// The open failure that means "no such port": such ports are passed over.
constexpr std::string_view kNoPortPrefix = "Unable to open";

void WaitForAnswer()
{
    QEventLoop loop;
    QTimer::singleShot(PortIdentifier::kAnswerWaitMs, &loop, &QEventLoop::quit);
    loop.exec();
}

} // namespace

IdentifyResult PortIdentifier::Run(const LogLine& log, const std::atomic<bool>& stop)
{
    IdentifyResult result;
    log("Initializing...");
    auto twoFound = [&] { return result.Second != 0; };
    for (int n = 1; n <= kMaxPortNumber && !stop; ++n) {
        log("");
        if (!twoFound())
            Probe(n, CandidateName(n), job_.Ports, job_.Ports.contains(n), log, result);
    }
    std::map<int, std::string> ports = job_.Ports;
    for (const std::string& device : UnmappedSerialDevices(job_.Ports, job_.DeviceFolder)) {
        if (stop)
            break;
        log("");
        const int n = FreePortNumber(ports, job_.DeviceFolder);
        if (twoFound() || n == 0)
            continue;
        ports[n] = device;
        if (Probe(n, device, ports, true, log, result))
            result.NewPorts[n] = device;
        else
            ports.erase(n);
    }
    if (!stop)
        log("Done");
    return result;
}

bool PortIdentifier::Probe(int port, const std::string& name, const std::map<int, std::string>& ports,
                           bool keepReason, const LogLine& log, IdentifyResult& result)
{
    TComPort com;
    com.SetDevices(ports);
    com.SetDeviceFolder(job_.DeviceFolder);
    com.Port = port;
    bool found = false;
    const std::string opening = "Opening " + name;
    bool openingLogged = false;
    try {
        try {
            com.Open();
        } catch (const EComHandle& e) {
            // No such port, or one that will not open: passed over in the
            // log; why it would not open is kept for the user.
            if (!std::string_view(e.what()).starts_with(kNoPortPrefix))
                throw;
            if (keepReason) {
                const PortDeviceFacts facts = GatherPortFacts(com.Device(), com.OpenErrno(), job_.System);
                if (facts.Exists)
                    result.Reasons.push_back(PortOpenReason(facts));
            }
            return false;
        }
        log(opening);
        openingLogged = true;
        log("Port " + name + " opened");
        com.WriteStr(PortQuestion(port));
        log("Questioned");
        WaitForAnswer();
        const int count = com.InputCount();
        if (count > kShortAnswer) {
            log("Recived " + std::to_string(count) + " bytes");
            std::string text;
            com.ReadStr(text, count);
            log("Recived " + text);
            if (IsVkrAnswer(text)) {
                Record(port, result);
                found = true;
            }
        } else {
            log("Nothing recived");
        }
        com.Close();
    } catch (const EComError& e) {
        if (!openingLogged)
            log(opening);
        log(std::string("!!! ERROR ") + e.what());
    }
    if (com.Connected()) {
        com.PurgeInput();
        com.PurgeOutput();
    }
    return found;
}

void PortIdentifier::Record(int port, IdentifyResult& result) const
{
    if (result.First == 0)
        result.First = port;
    else if (result.Second == 0)
        result.Second = port;
}

} // namespace lumidrax
