#include "TComPort.h"

#include <QMetaObject>
#include <QSerialPort>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <unistd.h>

namespace lumidrax {
namespace {

// The reason of a failed open, with the remedy a Linux user needs.
std::string OpenFailureText(const QSerialPort& port, const std::string& device)
{
    const std::string reason = port.errorString().toStdString();
    switch (port.error()) {
    case QSerialPort::DeviceNotFoundError:
        return device + ": " + reason +
               " (check the [PORTS] line of the settings file; a Bluetooth port must be bound, e.g. rfcomm "
               "bind)";
    case QSerialPort::PermissionError:
        return device + ": " + reason +
               " (add the user to the dialout group, or close the program that holds the port, e.g. "
               "ModemManager)";
    default:
        return device + ": " + reason;
    }
}

// The system error (errno) behind a failed open. The serial port object
// keeps only the system's text, and folds several errors into one kind
// (busy and permission denied alike), so the text is matched to its errno.
// A text that matches none (the object's own: a lock file held by another
// program) is settled by opening the device plainly; that open does not
// wait for a Bluetooth link, so it is asked only then.
int OpenError(const QSerialPort& port, const std::string& device)
{
    constexpr int kLastErrno = 133;
    const std::string text = port.errorString().toStdString();
    for (int error = 1; error <= kLastErrno; ++error)
        if (text == std::strerror(error))
            return error;
    const int fd = ::open(device.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return errno;
    const bool terminal = ::isatty(fd);
    ::close(fd);
    if (!terminal)
        return ENOTTY;
    return port.error() == QSerialPort::DeviceNotFoundError ? ENOENT : EBUSY;
}

} // namespace

TComPort::TComPort(QObject* parent) : QObject(parent), port_(new QSerialPort(this))
{
    connect(port_, &QSerialPort::readyRead, this, [this] { emit OnRxChar(InputCount()); });
    connect(port_, &QSerialPort::errorOccurred, this, [this](QSerialPort::SerialPortError error) {
        // The device went away: the read that the arrival notice asked for
        // failed or found the end of the line (a hung-up terminal). The
        // port closes, after the signal that reported it has returned.
        const bool lost = error == QSerialPort::ResourceError || error == QSerialPort::ReadError;
        if (lost && connected_) {
            const int session = session_;
            QMetaObject::invokeMethod(
                this, [this, session] { DeviceLost(session); }, Qt::QueuedConnection);
        }
    });
}

TComPort::~TComPort()
{
    // No OnClose from a port that is being destroyed.
    blockSignals(true);
    Close();
}

std::string TComPort::DeviceName(int port, const PortDeviceMap& devices, const std::string& devDir)
{
    const auto it = devices.find(port);
    if (it != devices.end() && !it->second.empty())
        return it->second;
    return devDir + "/ttyS" + std::to_string(port - 1);
}

void TComPort::SetDataBits(int bits)
{
    dataBits_ = std::clamp(bits, 5, 8);
}

void TComPort::Open()
{
    Close();
    const std::string device = Device();
    port_->setPortName(QString::fromStdString(device));
    openErrno_ = 0;
    if (!port_->open(QIODevice::ReadWrite)) {
        openErrno_ = OpenError(*port_, device);
        throw EComHandle(OpenFailureText(*port_, device));
    }
    const bool lineSet =
        port_->setBaudRate(BaudRate) && port_->setDataBits(static_cast<QSerialPort::DataBits>(dataBits_)) &&
        port_->setParity(QSerialPort::NoParity) && port_->setStopBits(QSerialPort::OneStop) &&
        port_->setFlowControl(QSerialPort::NoFlowControl);
    if (!lineSet) {
        const std::string reason = port_->errorString().toStdString();
        port_->close(); // a device left open would stay busy for later attempts
        throw EComState(device + ": " + reason);
    }
    // A pseudo-terminal has no DTR line: a failure here is not one of the port.
    if (EnableDTR)
        port_->setDataTerminalReady(true);
    port_->clearError();
    connected_ = true;
    ++session_;
    emit OnOpen();
}

void TComPort::Close()
{
    if (!connected_)
        return;
    connected_ = false;
    port_->close();
    emit OnClose();
}

void TComPort::DeviceLost(int session)
{
    // A notice from before a reopen does not close the new session.
    if (session == session_)
        Close();
}

int TComPort::InputCount() const
{
    if (!connected_)
        return 0;
    return static_cast<int>(port_->bytesAvailable());
}

int TComPort::Read(std::uint8_t* buffer, int count)
{
    if (!connected_ || count <= 0)
        return 0;
    const qint64 got = port_->read(reinterpret_cast<char*>(buffer), count);
    if (got < 0)
        throw EWriteError("Unable to read from port: " + port_->errorString().toStdString());
    return static_cast<int>(got);
}

int TComPort::ReadStr(std::string& text, int count)
{
    text.resize(static_cast<std::size_t>(std::max(count, 0)));
    const int got = Read(reinterpret_cast<std::uint8_t*>(text.data()), count);
    text.resize(static_cast<std::size_t>(got));
    return got;
}

int TComPort::WriteStr(const std::string& text)
{
    if (!connected_)
        throw EWriteError("Unable to write to port: the port is closed");
    const qint64 written = port_->write(text.data(), static_cast<qint64>(text.size()));
    if (written < 0)
        throw EWriteError("Unable to write to port: " + port_->errorString().toStdString());
    port_->flush();
    return static_cast<int>(written);
}

void TComPort::PurgeInput()
{
    if (connected_)
        port_->clear(QSerialPort::Input);
}

void TComPort::PurgeOutput()
{
    if (connected_)
        port_->clear(QSerialPort::Output);
}

} // namespace lumidrax
