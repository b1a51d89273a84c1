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

TEST(InstanceChannel, DropsPeersThatSendNoCompleteName)
{
    const QString name = DefaultInstanceName() + "-idle";
    InstanceChannel channel;
    channel.SetIdleTimeout(50);
    ASSERT_TRUE(channel.Listen(name));
    QSignalSpy received(&channel, &InstanceChannel::FileNameReceived);

    // Silent, half a name, and a name followed by silence.
    auto silent = Connect(name);
    auto half = Connect(name, "/tmp/half-a-na");
    auto done = Connect(name, QByteArray("/tmp/whole.ndt") + '\0');
    ASSERT_TRUE(Eventually([&] { return received.size() == 1; }));
    EXPECT_EQ(received[0][0].toString(), "/tmp/whole.ndt");
    for (QLocalSocket* s : {silent.get(), half.get(), done.get()})
        EXPECT_TRUE(Eventually([&] { return !Connected(*s); }));
    EXPECT_EQ(done->readAll(), "1");
    EXPECT_EQ(channel.ConnectionCount(), 0);
    EXPECT_EQ(received.size(), 1);
}

TEST(InstanceChannel, HoldsAFewConnectionsAndServesTheNewest)
{
    const QString name = DefaultInstanceName() + "-crowd";
    InstanceChannel channel;
    channel.SetMaxConnections(3);
    ASSERT_TRUE(channel.Listen(name));
    QSignalSpy received(&channel, &InstanceChannel::FileNameReceived);

    std::vector<std::unique_ptr<QLocalSocket>> idle;
    for (int i = 0; i < 5; ++i)
        idle.push_back(Connect(name));
    // The two oldest made room for the last ones.
    ASSERT_TRUE(Eventually([&] { return !Connected(*idle[0]) && !Connected(*idle[1]); }));
    EXPECT_EQ(channel.ConnectionCount(), 3);
    EXPECT_TRUE(Connected(*idle[4]));

    EXPECT_TRUE(HandOver(name, "/tmp/next.ndt"));
    ASSERT_EQ(received.size(), 1);
    EXPECT_EQ(received[0][0].toString(), "/tmp/next.ndt");
    EXPECT_LE(channel.ConnectionCount(), 3);
}

// Every descriptor in use when a peer knocks: the accept fails and the
// server closes; once descriptors are free again the channel listens again
// and the next instance is served (instead of starting a second viewer).
TEST(InstanceChannel, ListensAgainAfterAFailedAccept)
{
    const QString name = DefaultInstanceName() + "-nofile";
    InstanceChannel channel;
    channel.SetRelistenInterval(20);
    ASSERT_TRUE(channel.Listen(name));
    QSignalSpy received(&channel, &InstanceChannel::FileNameReceived);

    rlimit old{};
    ASSERT_EQ(::getrlimit(RLIMIT_NOFILE, &old), 0);
    rlimit low = old;
    low.rlim_cur = std::min<rlim_t>(old.rlim_cur, 1024);
    ASSERT_EQ(::setrlimit(RLIMIT_NOFILE, &low), 0);
    auto knocking = Connect(name);
    std::vector<int> filler;
    for (int fd; (fd = ::open("/dev/null", O_RDONLY)) >= 0;)
        filler.push_back(fd);
    const bool closed = Eventually([&] { return !channel.IsListening(); });
    for (int fd : filler)
        ::close(fd);
    ::setrlimit(RLIMIT_NOFILE, &old);
    ASSERT_TRUE(closed);

    ASSERT_TRUE(Eventually([&] { return channel.IsListening(); }));
    EXPECT_TRUE(HandOver(name, "/tmp/after.ndt"));
    ASSERT_EQ(received.size(), 1);
    EXPECT_EQ(received[0][0].toString(), "/tmp/after.ndt");
}

} // namespace
} // namespace lumidrax
