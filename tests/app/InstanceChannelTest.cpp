// The single-instance listener against peers that misbehave, over real
// local sockets: idle and half-open connections, too many connections, and
// an accept that fails for want of descriptors.

#include "InstanceChannel.h"

#include <QLocalSocket>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include <fcntl.h>
#include <sys/resource.h>
#include <unistd.h>

namespace lumidrax {
namespace {

std::unique_ptr<QLocalSocket> Connect(const QString& name, const QByteArray& bytes = {})
{
    auto socket = std::make_unique<QLocalSocket>();
    socket->connectToServer(name);
    if (!bytes.isEmpty())
        socket->write(bytes);
    return socket;
}

// Runs events until the condition holds (QTRY_* would only return from the
// test, unnoticed by gtest).
template <typename Condition> bool Eventually(const Condition& condition)
{
    return QTest::qWaitFor(condition, 5000);
}

bool Connected(const QLocalSocket& s)
{
    return s.state() == QLocalSocket::ConnectedState;
}

// A name handed over by a well-behaved peer (without blocking this thread,
// which runs the listener): true when the listener answered.
bool HandOver(const QString& name, const QString& file)
{
    auto peer = Connect(name, file.toUtf8() + '\0');
    return Eventually([&] { return peer->bytesAvailable() > 0; }) && peer->readAll() == "1";
}

// A channel to listen under a name of its own, what it receives spied on.
struct Listener {
    explicit Listener(const char* suffix) : name(DefaultInstanceName() + suffix) {}

    bool Listen() { return channel.Listen(name); }
    // The file name received when exactly one came; empty otherwise.
    QString OnlyReceived() const { return received.size() == 1 ? received[0][0].toString() : QString(); }

    const QString name;
    InstanceChannel channel;
    QSignalSpy received{&channel, &InstanceChannel::FileNameReceived};
};

TEST(InstanceChannel, DropsPeersThatSendNoCompleteName)
{
    Listener l("-idle");
    l.channel.SetIdleTimeout(50);
    ASSERT_TRUE(l.Listen());

    // Silent, half a name, and a name followed by silence.
    auto silent = Connect(l.name);
    auto half = Connect(l.name, "/tmp/half-a-na");
    auto done = Connect(l.name, QByteArray("/tmp/whole.ndt") + '\0');
    ASSERT_TRUE(Eventually([&] { return l.received.size() == 1; }));
    EXPECT_EQ(l.OnlyReceived(), "/tmp/whole.ndt");
    for (QLocalSocket* s : {silent.get(), half.get(), done.get()})
        EXPECT_TRUE(Eventually([&] { return !Connected(*s); }));
    EXPECT_EQ(done->readAll(), "1");
    EXPECT_EQ(l.channel.ConnectionCount(), 0);
    EXPECT_EQ(l.received.size(), 1);
}

TEST(InstanceChannel, HoldsAFewConnectionsAndServesTheNewest)
{
    Listener l("-crowd");
    l.channel.SetMaxConnections(3);
    ASSERT_TRUE(l.Listen());

    std::vector<std::unique_ptr<QLocalSocket>> idle;
    for (int i = 0; i < 5; ++i)
        idle.push_back(Connect(l.name));
    // The two oldest made room for the last ones.
    ASSERT_TRUE(Eventually([&] { return !Connected(*idle[0]) && !Connected(*idle[1]); }));
    EXPECT_EQ(l.channel.ConnectionCount(), 3);
    EXPECT_TRUE(Connected(*idle[4]));

    EXPECT_TRUE(HandOver(l.name, "/tmp/next.ndt"));
    EXPECT_EQ(l.OnlyReceived(), "/tmp/next.ndt");
    EXPECT_LE(l.channel.ConnectionCount(), 3);
}

// Every descriptor in use when a peer knocks: the accept fails and the
// server closes; once descriptors are free again the channel listens again
// and the next instance is served (instead of starting a second viewer).
TEST(InstanceChannel, ListensAgainAfterAFailedAccept)
{
    Listener l("-nofile");
    l.channel.SetRelistenInterval(20);
    ASSERT_TRUE(l.Listen());

    rlimit old{};
    ASSERT_EQ(::getrlimit(RLIMIT_NOFILE, &old), 0);
    rlimit low = old;
    low.rlim_cur = std::min<rlim_t>(old.rlim_cur, 1024);
    ASSERT_EQ(::setrlimit(RLIMIT_NOFILE, &low), 0);
    auto knocking = Connect(l.name);
    std::vector<int> filler;
    for (int fd; (fd = ::open("/dev/null", O_RDONLY)) >= 0;)
        filler.push_back(fd);
    const bool closed = Eventually([&] { return !l.channel.IsListening(); });
    for (int fd : filler)
        ::close(fd);
    ::setrlimit(RLIMIT_NOFILE, &old);
    ASSERT_TRUE(closed);

    ASSERT_TRUE(Eventually([&] { return l.channel.IsListening(); }));
    EXPECT_TRUE(HandOver(l.name, "/tmp/after.ndt"));
    EXPECT_EQ(l.OnlyReceived(), "/tmp/after.ndt");
}

} // namespace
} // namespace lumidrax
