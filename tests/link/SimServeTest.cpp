// The simulator serving on its own pseudo-terminal, with a test client on
// the other end that talks to it as the receiver does.

#include "DecodeTransfer.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

namespace lumidrax {
namespace {

constexpr int kWaitMs = 20000; // bound of every wait; normally a few ms

// vkr-sim run as a child process; its standard output is a pipe.
class SimProcess {
  public:
    explicit SimProcess(const std::vector<std::string>& args)
    {
        std::vector<std::string> all = {test::BinPath("vkr-sim")};
        all.insert(all.end(), args.begin(), args.end());
        out_ = test::SpawnWithOutputPipe(all, true, pid_);
    }
    ~SimProcess()
    {
        if (pid_ > 0 && !reaped_) {
            ::kill(pid_, SIGTERM);
            ::waitpid(pid_, nullptr, 0);
        }
        if (out_ >= 0)
            ::close(out_);
    }
    bool Started() const { return pid_ > 0 && out_ >= 0; }

    // The first line of standard output, within the bound.
    std::string ReadLine()
    {
        std::string line;
        char ch;
        while (Readable(out_) && ::read(out_, &ch, 1) == 1) {
            if (ch == '\n')
                return line;
            line += ch;
        }
        return line;
    }

    // Waits for the process to end (its output closes) and gives its exit
    // status, or -1 when it did not end within the bound.
    int Finish()
    {
        char buf[256];
        while (Readable(out_)) {
            if (::read(out_, buf, sizeof buf) <= 0) {
                int status = 0;
                ::waitpid(pid_, &status, 0);
                reaped_ = true;
                return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
            }
        }
        return -1;
    }

    static bool Readable(int fd)
    {
        pollfd p{fd, POLLIN, 0};
        return ::poll(&p, 1, kWaitMs) == 1;
    }

  private:
    pid_t pid_ = -1;
    int out_ = -1;
    bool reaped_ = false;
};

int OpenTerminal(const std::string& path)
{
    const int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY);
    if (fd < 0)
        return fd;
    termios t{};
    ::tcgetattr(fd, &t);
    ::cfmakeraw(&t);
    ::tcsetattr(fd, TCSANOW, &t);
    return fd;
}

bool ReadExactly(int fd, std::uint8_t* out, std::size_t n)
{
    std::size_t done = 0;
    while (done < n) {
        if (!SimProcess::Readable(fd))
            return false;
        const ssize_t got = ::read(fd, out + done, n - done);
        if (got <= 0)
            return false;
        done += static_cast<std::size_t>(got);
    }
    return true;
}

TEST(SimServe, BluetoothTransferOf50ChartsFramePerRequest)
{
    SimProcess sim({"--model", "VKR104", "--generate", "50", "--samples", "600", "--pty", "--delay", "0",
                    "--wait", std::to_string(kWaitMs)});
    ASSERT_TRUE(sim.Started());
    const std::string path = sim.ReadLine();
    ASSERT_EQ(path.rfind("/dev/pts/", 0), 0u) << path;
    const int fd = OpenTerminal(path);
    ASSERT_GE(fd, 0);

    TMereni charts;
    DecoderContext ctx;
    ctx.Mode = ConnectionMode::BT;
    std::vector<int> results;
    while (results.size() < 60) {
        std::uint8_t header[3];
        ASSERT_TRUE(ReadExactly(fd, header, 3)) << "frame " << results.size() + 1 << " did not come";
        const int f = header[1] | (header[2] << 8);
        std::vector<std::uint8_t> frame(static_cast<std::size_t>(f) + 2);
        ASSERT_TRUE(ReadExactly(fd, frame.data(), frame.size()));
        ctx.ExpectedFrameLength = f + 2;
        results.push_back(DecodeTransfer(charts, ctx, Bytes(frame)));
        ASSERT_EQ(::write(fd, "R", 1), 1);
        if (results.back() != kVKR104ChartAdded)
            break;
    }
    ::close(fd);
    std::vector<int> expected(50, kVKR104ChartAdded);
    expected.push_back(kEndOfBluetoothTransfer);
    EXPECT_EQ(results, expected);
    ASSERT_EQ(charts.Count, 50);
    for (int k = 1; k <= 50; ++k) {
        EXPECT_EQ(charts.Rec(k).Index, k);
        EXPECT_EQ(charts.Rec(k).SampleCount, 600);
    }
    EXPECT_EQ(sim.Finish(), 0);
}

TEST(SimServe, RS232ModelPushesItsTransferUnasked)
{
    SimProcess sim({"--model", "VKR103", test::SourcePath("examples/vkr103-street5-pair14.ndt"), "--pty",
                    "--delay", "0", "--wait", std::to_string(kWaitMs)});
    ASSERT_TRUE(sim.Started());
    const int fd = OpenTerminal(sim.ReadLine());
    ASSERT_GE(fd, 0);
    // Type byte and byte count C, then the C + 2 bytes that follow.
    std::vector<std::uint8_t> block(3);
    ASSERT_TRUE(ReadExactly(fd, block.data(), 3));
    const std::size_t c = block[1] | (block[2] << 8);
    block.resize(c + 5);
    ASSERT_TRUE(ReadExactly(fd, block.data() + 3, c + 2));
    ::close(fd);
    TMereni charts;
    DecoderContext ctx;
    EXPECT_EQ(DecodeTransfer(charts, ctx, Bytes(block)), kVKR103ChartAdded);
    EXPECT_EQ(charts.Last().SampleCount, 1500);
    EXPECT_EQ(sim.Finish(), 0);
}

TEST(SimServe, AnswersTheIdentificationQuestion)
{
    SimProcess sim({"--model", "VKR104", "--pty", "--answer-only", "--wait", std::to_string(kWaitMs)});
    ASSERT_TRUE(sim.Started());
    const std::string path = sim.ReadLine();
    const int fd = OpenTerminal(path);
    ASSERT_GE(fd, 0) << path;
    ASSERT_EQ(::write(fd, "?005", 4), 4);
    std::uint8_t answer[9];
    ASSERT_TRUE(ReadExactly(fd, answer, sizeof answer)); // more than 8 bytes
    EXPECT_EQ(std::string(answer, answer + 3), "VKR");
    ::close(fd);
}

} // namespace
} // namespace lumidrax
