#pragma once
// One serial port, known to the user by its number ("COM" + number). The
// device of a number comes from the settings' [PORTS] map (COM5=/dev/rfcomm0);
// without an entry COMn is ttyS(n-1) of the device folder (/dev/ttyS(n-1)). Bytes wait in the port until they
// are read; OnRxChar tells that some arrived. A device that goes away while
// open (USB adapter unplugged, rfcomm link dropped, pseudo-terminal closed)
// closes the port, which raises OnClose.
//
// Failures are exceptions (ComPortErrors.h); the port shows no message.

#include "ComPortErrors.h"

#include <QObject>
#include <QString>

#include <cstdint>
#include <map>
#include <string>

class QSerialPort;

namespace lumidrax {

// Port number -> device path, as the [PORTS] section lists them.
using PortDeviceMap = std::map<int, std::string>;

class TComPort : public QObject {
    Q_OBJECT
  public:
    static constexpr int kDefaultBaudRate = 9600;
    static constexpr int kReadBufSize = 127000;

    explicit TComPort(QObject* parent = nullptr);
    ~TComPort() override;

    // The device of a port number: the map's entry, else ttyS(n-1) of the
    // device folder.
    static std::string DeviceName(int port, const PortDeviceMap& devices, const std::string& devDir = "/dev");

    int Port = 1;
    int BaudRate = kDefaultBaudRate;
    bool EnableDTR = true;
    void SetDevices(PortDeviceMap devices) { devices_ = std::move(devices); }
    // The folder of the default devices ("/dev"; a test folder in tests).
    void SetDeviceFolder(std::string devDir) { devDir_ = std::move(devDir); }
    std::string Device() const { return DeviceName(Port, devices_, devDir_); }
    // Clamped to 5..8.
    void SetDataBits(int bits);
    int DataBits() const { return dataBits_; }

    // Closes the port if open, then opens and configures the device of
    // Port; raises OnOpen. Throws EComHandle or EComState.
    void Open();
    // Closes the port if it is open and raises OnClose; else nothing.
    void Close();
    bool Connected() const { return connected_; }
    // The system error (errno) that made the last Open fail with EComHandle;
    // 0 after an Open that got the device.
    int OpenErrno() const { return openErrno_; }

    // Bytes waiting to be read.
    int InputCount() const;
    // Reads at most `count` of the waiting bytes; never waits for more.
    int Read(std::uint8_t* buffer, int count);
    int ReadStr(std::string& text, int count);
    // Queues the text for sending; returns the bytes accepted. Throws
    // EWriteError.
    int WriteStr(const std::string& text);
    void PurgeInput();
    void PurgeOutput();

  signals:
    // Bytes arrived; count = bytes waiting.
    void OnRxChar(int count);
    void OnOpen();
    void OnClose();

  private:
    void DeviceLost(int session);

    QSerialPort* port_ = nullptr;
    PortDeviceMap devices_;
    std::string devDir_ = "/dev";
    int openErrno_ = 0;
    int dataBits_ = 8;
    bool connected_ = false;
    int session_ = 0; // counts the opens
};

} // namespace lumidrax
