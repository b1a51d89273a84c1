#include "PortTestSupport.h"

#include "TestSupport.h"

#include <QStringList>
#include <QTest>

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

namespace lumidrax::test {

BarePty::BarePty()
{
    master_ = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (master_ < 0 || ::grantpt(master_) != 0 || ::unlockpt(master_) != 0)
        return;
    if (const char* name = ::ptsname(master_))
        path_ = name;
    termios t{};
    ::tcgetattr(master_, &t);
    ::cfmakeraw(&t);
    ::tcsetattr(master_, TCSANOW, &t);
}

BarePty::~BarePty()
{
    Hangup();
}

bool BarePty::Write(const std::string& bytes)
{
    return ::write(master_, bytes.data(), bytes.size()) == static_cast<ssize_t>(bytes.size());
}

std::string BarePty::ReadFromPort(std::size_t count)
{
    std::string got;
    while (got.size() < count) {
        pollfd p{master_, POLLIN, 0};
        if (::poll(&p, 1, kPortWaitMs) != 1)
            break;
        char buf[256];
        const ssize_t n = ::read(master_, buf, std::min(sizeof buf, count - got.size()));
        if (n <= 0)
            break;
        got.append(buf, static_cast<std::size_t>(n));
    }
    return got;
}

void BarePty::Hangup()
{
    if (master_ >= 0)
        ::close(master_);
    master_ = -1;
}

std::vector<std::string> SimArgs(const std::string& model, std::vector<std::string> more)
{
    std::vector<std::string> args = {"--model", model, "--delay", "0", "--wait", "20000", "--step"};
    args.insert(args.end(), more.begin(), more.end());
    return args;
}

SimPty::SimPty(const std::vector<std::string>& args)
{
    QStringList list;
    for (const std::string& a : args)
        list << QString::fromStdString(a);
    list << "--pty";
    process_.start(QString::fromStdString(BinPath("vkr-sim")), list);
    if (!process_.waitForStarted(kPortWaitMs))
        return;
    while (!process_.canReadLine() && process_.waitForReadyRead(kPortWaitMs)) {
    }
    path_ = process_.readLine().trimmed().toStdString();
}

SimPty::~SimPty()
{
    if (process_.state() != QProcess::NotRunning) {
        process_.terminate();
        if (!process_.waitForFinished(kPortWaitMs))
            process_.kill();
        process_.waitForFinished(kPortWaitMs);
    }
}

bool SimPty::Release()
{
    if (process_.write("\n") != 1)
        return false;
    process_.waitForBytesWritten(kPortWaitMs);
    return process_.bytesToWrite() == 0;
}

int SimPty::Finish()
{
    if (!process_.waitForFinished(kPortWaitMs))
        return -1;
    return process_.exitStatus() == QProcess::NormalExit ? process_.exitCode() : -1;
}

bool SimPty::WaitForLog(const std::string& text)
{
    return QTest::qWaitFor([&] { return Log().find(text) != std::string::npos; }, kPortWaitMs);
}

std::size_t SimPty::Deliver()
{
    if (!Release() || !WaitForLog("transfer delivered"))
        return 0;
    const std::string log = Log();
    const std::size_t at = log.rfind(" bytes)");
    if (at == std::string::npos)
        return 0;
    const std::size_t open = log.rfind('(', at);
    return open == std::string::npos ? 0 : std::stoul(log.substr(open + 1, at - open - 1));
}

std::string SimPty::Log()
{
    log_ += process_.readAllStandardError().toStdString();
    return log_;
}

} // namespace lumidrax::test
