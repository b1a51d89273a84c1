// The transfer state machine driven by a fake clock: a small event loop
// fires the timers the machine asks for and plays an instrument that sends
// what the simulator builds, each Bluetooth frame after an "R".

#include "TransferMachine.h"
#include "ChartGenerator.h"
#include "SimTransfer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>

namespace lumidrax {
namespace {

using vkrsim::ByteVec;
using vkrsim::Fault;
using vkrsim::Model;

constexpr std::int64_t kNever = -1;

// The machine, its timers and an instrument, on a clock that moves only
// when the test says so.
class FakeLoop {
  public:
    explicit FakeLoop(ConnectionMode mode)
        : machine_(
              charts, ctx, [this] { return now; }, mode)
    {
        ctx.Reports = &reports;
        ctx.Now = FixedClock({2011, 3, 5, 14, 2, 9});
        Apply(machine_.ComPortOpen(5));
    }

    TransferMachine& Machine() { return machine_; }

    void Receive(const ByteVec& bytes)
    {
        Apply(machine_.ComPortRxChar(bytes));
        maxWaiting = std::max(maxWaiting, machine_.BytesWaiting());
    }
    // Steps the test takes itself (a close, a mode change, ...), applied as
    // the adapter would.
    void Take(const TransferStep& step) { Apply(step); }
    // Bytes that arrive `delay` ms from now.
    void ReceiveAt(std::int64_t delay, ByteVec bytes) { arrivals_.emplace(now + delay, std::move(bytes)); }

    // The instrument: a Bluetooth transfer sends its first frame now and
    // each further one 10 ms after an "R"; an RS-232 transfer pushes its
    // pieces 2500 ms apart. Every piece arrives in chunks, 5 ms apart, the
    // first chunk holding the first three bytes only.
    void Play(const vkrsim::Transfer& t)
    {
        transfer_ = t;
        next_ = 0;
        if (t.bluetooth) {
            SendNextFrame(0);
            return;
        }
        for (const ByteVec& piece : t.pieces)
            Chunked(2500 * static_cast<std::int64_t>(next_++), piece);
    }

    // Moves the clock on by `ms`, firing timers and arrivals when due.
    void Run(std::int64_t ms)
    {
        const std::int64_t end = now + ms;
        while (true) {
            std::int64_t due = end + 1;
            int what = 0;
            if (!arrivals_.empty() && arrivals_.begin()->first < due)
                due = arrivals_.begin()->first, what = 1;
            if (portDue_ != kNever && portDue_ < due)
                due = portDue_, what = 2;
            if (chartDue_ != kNever && chartDue_ < due)
                due = chartDue_, what = 3;
            if (what == 0)
                break;
            now = due;
            if (what == 1) {
                ByteVec bytes = std::move(arrivals_.begin()->second);
                arrivals_.erase(arrivals_.begin());
                Receive(bytes);
            } else if (what == 2) {
                portDue_ += portInterval_;
                Apply(machine_.portTimerTimer());
            } else {
                chartDue_ += TransferMachine::BTFrameTimeout;
                Apply(machine_.VKR104ChartTimerTimer());
            }
        }
        now = end;
    }

    std::int64_t now = 0;
    TMereni charts;
    TReportList reports;
    DecoderContext ctx;
    std::vector<int> results;
    std::vector<std::int64_t> resultTimes;
    std::vector<std::string> messages;
    std::vector<PortStatus> statuses;
    std::string sent;
    int reopens = 0;
    int saves = 0;
    std::vector<ChartId> saved; // the charts automatic saving was asked for
    int purges = 0;
    bool incomplete = false;
    std::size_t maxWaiting = 0;

  private:
    void Apply(const TransferStep& s)
    {
        for (const TimerRequest& r : s.timers) {
            std::int64_t& due = r.timer == TransferTimer::Port ? portDue_ : chartDue_;
            due = r.start ? now + r.intervalMs : kNever;
            if (r.timer == TransferTimer::Port && r.start)
                portInterval_ = r.intervalMs;
        }
        sent += s.send;
        for (const DecodedTransfer& d : s.decoded) {
            results.push_back(d.result);
            resultTimes.push_back(now);
        }
        for (const TransferMessage& m : s.messages)
            messages.push_back(m.text);
        if (s.statusBox)
            statuses.push_back(s.statusBox->status);
        saves += s.saveCharts.empty() ? 0 : 1;
        saved.insert(saved.end(), s.saveCharts.begin(), s.saveCharts.end());
        purges += s.purgeInput ? 1 : 0;
        incomplete = incomplete || s.transferIncomplete;
        if (transfer_.bluetooth && s.send == "R")
            SendNextFrame(10);
        if (s.reopenPort) {
            ++reopens;
            Apply(machine_.ComPortClose(false));
            Apply(machine_.ComPortOpen(machine_.PortNumber()));
        }
    }

    void SendNextFrame(std::int64_t delay)
    {
        const std::size_t k = next_++;
        if (k < transfer_.pieces.size() && !transfer_.skip[k])
            Chunked(delay, transfer_.pieces[k]);
    }

    void Chunked(std::int64_t delay, const ByteVec& piece)
    {
        for (std::size_t at = 0; at < piece.size(); delay += 5) {
            const std::size_t n = std::min<std::size_t>(at == 0 ? 3 : 64, piece.size() - at);
            ReceiveAt(delay, ByteVec(piece.begin() + at, piece.begin() + at + n));
            at += n;
        }
    }

    TransferMachine machine_;
    std::multimap<std::int64_t, ByteVec> arrivals_;
    std::int64_t portDue_ = kNever;
    std::int64_t chartDue_ = kNever;
    int portInterval_ = 0;
    vkrsim::Transfer transfer_;
    std::size_t next_ = 0;
};

std::vector<TJednoMereni> Charts(Model model, int n, int samples = 600)
{
    std::vector<TJednoMereni> charts;
    for (int k = 0; k < n; ++k) {
        chartgen::ChartOptions o;
        o.form = model == Model::VKR104   ? chartgen::HeaderForm::Tokens23
                 : model == Model::VKR102 ? chartgen::HeaderForm::Tokens8
                                          : chartgen::HeaderForm::Tokens13;
        o.seed = static_cast<std::uint64_t>(k + 1);
        o.sampleCount = samples;
        o.index = k + 1;
        charts.push_back(chartgen::GenerateChart(o));
    }
    return charts;
}

vkrsim::Transfer Build(Model model, int n, Fault fault = Fault::None, int faultAt = 1, int samples = 600)
{
    vkrsim::TransferOptions o;
    o.model = model;
    o.fault = fault;
    o.faultAt = faultAt;
    return vkrsim::BuildTransfer(Charts(model, n, samples), o);
}

// Bytes no instrument sends, from a fixed seed; the first is no block's
// first byte.
ByteVec Noise(std::size_t n, std::uint32_t seed = 7)
{
    ByteVec bytes(n);
    for (std::uint8_t& b : bytes) {
        seed = seed * 1664525u + 1013904223u;
        b = static_cast<std::uint8_t>(seed >> 24);
    }
    if (n > 0)
        bytes[0] = 0x55;
    return bytes;
}

// The ids of charts first..last (numbers from 1).
std::vector<ChartId> Ids(const TMereni& charts, int first, int last)
{
    std::vector<ChartId> ids;
    for (int n = first; n <= last; ++n)
        ids.push_back(charts.Rec(n).Id);
    return ids;
}

TEST(TransferMachine, RS232TransferEndsAfterTwoSecondsOfSilence)
{
    const ByteVec block = Build(Model::VKR103, 1).pieces[0];
    struct Case {
        std::int64_t gap;
        std::vector<int> results;
        std::vector<std::int64_t> times;
    };
    // Two blocks in one transfer fail the byte count; apart, each is a chart.
    const Case cases[] = {
        {1500, {kDecodeByteCount}, {3600}},
        {1950, {kDecodeByteCount}, {4000}}, // the port timer keeps its count
        {2000, {kDecodeByteCount}, {4100}},
        {2500, {kVKR103ChartAdded, kVKR103ChartAdded}, {2100, 4600}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.gap);
        FakeLoop loop(ConnectionMode::COM);
        loop.Receive(block);
        loop.ReceiveAt(c.gap, block);
        loop.Run(10000);
        EXPECT_EQ(loop.results, c.results);
        EXPECT_EQ(loop.resultTimes, c.times);
        EXPECT_EQ(loop.sent, "");
        EXPECT_TRUE(loop.Machine().IsIdle());
    }
}

TEST(TransferMachine, RS232MemoryReadOut)
{
    FakeLoop loop(ConnectionMode::COM);
    loop.ctx.AutoSave = true;
    loop.Play(Build(Model::VKR103RAM, 12));
    loop.Run(6000);
    EXPECT_EQ(loop.results, std::vector<int>{kVKR103RAMChartsAdded});
    EXPECT_EQ(loop.charts.Count, 12);
    EXPECT_EQ(loop.saves, 1);
    EXPECT_TRUE(loop.messages.empty());
    // Open, bytes arriving, received.
    EXPECT_EQ(loop.statuses, (std::vector{PortStatus::Open, PortStatus::Arriving, PortStatus::Open}));
    EXPECT_TRUE(loop.Machine().IsIdle());
}

TEST(TransferMachine, BluetoothTransferOf50ChartsFramePerRequest)
{
    FakeLoop loop(ConnectionMode::BT);
    loop.ctx.AutoSave = true;
    const vkrsim::Transfer t = Build(Model::VKR104, 50);
    loop.Play(t);
    loop.Run(60000);
    std::vector<int> expected(50, kVKR104ChartAdded);
    expected.push_back(kEndOfBluetoothTransfer);
    EXPECT_EQ(loop.results, expected);
    EXPECT_EQ(loop.sent, std::string(51, 'R'));
    EXPECT_EQ(loop.charts.Count, 50);
    EXPECT_EQ(loop.saves, 1);
    EXPECT_TRUE(loop.messages.empty());
    EXPECT_EQ(loop.reopens, 0);
    EXPECT_TRUE(loop.Machine().IsIdle());

    // The same charts again: nothing added, one note at the end.
    loop.sent.clear();
    loop.Play(t);
    loop.Run(60000);
    EXPECT_EQ(loop.charts.Count, 50);
    EXPECT_EQ(loop.sent, std::string(51, 'R'));
    EXPECT_EQ(loop.results.back(), kEndOfBluetoothTransfer);
    EXPECT_EQ(loop.results[60], kVKR104Duplicate);
    EXPECT_EQ(loop.messages, std::vector<std::string>{TransferMachine::kDuplicatesText});
    EXPECT_FALSE(loop.Machine().DuplicatesSeen());
}

TEST(TransferMachine, BluetoothHeaderIsReadOnlyWithMoreThanThreeBytesWaiting)
{
    FakeLoop loop(ConnectionMode::BT);
    const ByteVec frame = Build(Model::VKR104, 1).pieces[0];
    const int f = frame[1] | (frame[2] << 8);
    loop.Receive(ByteVec(frame.begin(), frame.begin() + 2));
    loop.Receive(ByteVec(frame.begin() + 2, frame.begin() + 3));
    EXPECT_EQ(loop.Machine().ExpectedFrameLength(), -1);
    EXPECT_EQ(loop.Machine().BytesWaiting(), 3u);
    loop.Receive(ByteVec(frame.begin() + 3, frame.begin() + 4));
    EXPECT_EQ(loop.Machine().ExpectedFrameLength(), f + 2);
    EXPECT_EQ(loop.Machine().BytesWaiting(), 1u);
    loop.ReceiveAt(1000, ByteVec(frame.begin() + 4, frame.end()));
    loop.Run(999);
    EXPECT_TRUE(loop.results.empty()); // still within the 5000 ms wait
    loop.Run(21);
    EXPECT_EQ(loop.results, std::vector<int>{kVKR104ChartAdded});
    EXPECT_EQ(loop.sent, "R");
    EXPECT_TRUE(loop.Machine().ChartTimerRunning());
}

TEST(TransferMachine, BluetoothEmptyFrameAndItsTrailingBytes)
{
    struct Case {
        ByteVec bytes;     // the answer to the "R" after a chart, in one arrival
        bool byChartTimer; // handled when the chart timer runs out, else at the next tick
        std::vector<int> results;
        std::vector<std::string> messages;
        int reopens;
    };
    const std::string frameLength = ErrorText(kErrFrameLength, "");
    const Case cases[] = {
        {{0x55, 0, 0, 0, 0}, false, {kVKR104ChartAdded, kEndOfBluetoothTransfer}, {}, 0},
        {{0x55, 0, 0, 0}, false, {kVKR104ChartAdded, kDecodeFrameLength}, {frameLength}, 1},
        // Three bytes are no header yet: nothing is decoded, the frame is missing.
        {{0x55, 0, 0}, true, {kVKR104ChartAdded}, {TransferMachine::NotTransferredText(1)}, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.bytes.size());
        FakeLoop loop(ConnectionMode::BT);
        vkrsim::Transfer t = Build(Model::VKR104, 1);
        t.skip.back() = true; // the instrument's own empty frame
        loop.Play(t);
        loop.Run(1000);
        ASSERT_EQ(loop.results, std::vector<int>{kVKR104ChartAdded});
        loop.Receive(c.bytes);
        const std::int64_t due = c.byChartTimer ? loop.resultTimes[0] + TransferMachine::BTFrameTimeout
                                                : loop.now + TransferMachine::kBluetoothPortTimerMs;
        loop.Run(due - 1 - loop.now);
        EXPECT_EQ(loop.results.size(), 1u);
        EXPECT_TRUE(loop.messages.empty());
        loop.Run(1);
        EXPECT_EQ(loop.results, c.results);
        EXPECT_EQ(loop.messages, c.messages);
        EXPECT_EQ(loop.reopens, c.reopens);
        EXPECT_EQ(loop.sent, c.reopens ? "R" : "RR");
        EXPECT_TRUE(loop.Machine().IsIdle());
    }
}

TEST(TransferMachine, EachSimulatorFaultGivesItsResultAndTheNextTransferWorks)
{
    struct Case {
        Model model;
        Fault fault;
        std::vector<int> results;
        std::string message;
        int reopens;
    };
    const Case cases[] = {
        {Model::VKR103, Fault::Checksum, {kVKR103ChartAdded, kDecodeChecksum}, "Error: data read error.", 0},
        {Model::VKR103,
         Fault::ByteCount,
         {kVKR103ChartAdded, kDecodeByteCount},
         "Error: data read error.",
         0},
        {Model::VKR102,
         Fault::NoiseByte,
         {kVKR102ChartAdded, kDecodeNoiseOnLine},
         "Error: noise on line.",
         0},
        {Model::VKR102,
         Fault::ShortFrame,
         {kVKR102ChartAdded, kDecodeByteCount},
         "Error: data read error.",
         0},
        {Model::VKR104,
         Fault::ByteCount,
         {kVKR104ChartAdded, kDecodeFrameLength},
         ErrorText(kErrFrameLength, ""),
         1},
        {Model::VKR104,
         Fault::ShortFrame,
         {kVKR104ChartAdded, kDecodeFrameLength},
         ErrorText(kErrFrameLength, ""),
         1},
        {Model::VKR104, Fault::MissingFrame, {kVKR104ChartAdded}, TransferMachine::NotTransferredText(1), 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(vkrsim::FaultName(c.fault));
        const bool bt = c.model == Model::VKR104;
        FakeLoop loop(bt ? ConnectionMode::BT : ConnectionMode::COM);
        loop.Play(Build(c.model, 2, c.fault, 2));
        loop.Run(20000);
        EXPECT_EQ(loop.results, c.results);
        EXPECT_EQ(loop.messages, std::vector<std::string>{c.message});
        EXPECT_EQ(loop.reopens, c.reopens);
        EXPECT_TRUE(loop.Machine().IsIdle());
        EXPECT_EQ(loop.Machine().StatusBox().status, PortStatus::Open);

        // Ready for the next transfer.
        loop.results.clear();
        loop.Play(Build(c.model, 1));
        loop.Run(20000);
        ASSERT_FALSE(loop.results.empty());
        EXPECT_EQ(loop.results.back(), bt ? kEndOfBluetoothTransfer : c.results.front());
    }
}

TEST(TransferMachine, FullCollectionEndsABluetoothTransfer)
{
    FakeLoop loop(ConnectionMode::BT);
    for (int k = 1; k < kMaxCharts; ++k)
        loop.charts.AppendRecord(TJednoMereni{});
    loop.Play(Build(Model::VKR104, 3));
    loop.Run(20000);
    EXPECT_EQ(loop.results, (std::vector<int>{kVKR104ChartAdded, kDecodeTooManyCharts}));
    EXPECT_EQ(loop.messages, std::vector<std::string>{ErrorText(kErrTooManyCharts, "")});
    EXPECT_EQ(loop.reopens, 1);
    EXPECT_TRUE(loop.Machine().IsIdle());
}

TEST(TransferMachine, StatusBoxFollowsThePort)
{
    FakeLoop loop(ConnectionMode::COM);
    EXPECT_EQ(loop.Machine().StatusBox(), (StatusBoxState{PortStatus::Open, "COM5"}));
    TransferMachine& m = loop.Machine();
    EXPECT_EQ(m.ComPortClose(true).statusBox->status, PortStatus::Closed);
    EXPECT_EQ(m.ComPortOpen(5).statusBox->status, PortStatus::Open);
    EXPECT_EQ(m.ComPortClose(false).statusBox->status, PortStatus::Lost);
    EXPECT_EQ(PortStatusColor(PortStatus::Arriving), (Rgb{255, 255, 0}));
    EXPECT_EQ(PortStatusColor(PortStatus::Closed), (Rgb{128, 128, 128}));
}

TEST(TransferMachine, ClosingThePortDecodesWhatHasArrived)
{
    FakeLoop loop(ConnectionMode::COM);
    loop.Receive(Build(Model::VKR103, 1).pieces[0]);
    loop.Run(500);
    const TransferStep step = loop.Machine().ComPortClose(true);
    ASSERT_EQ(step.decoded.size(), 1u);
    EXPECT_EQ(step.decoded[0].result, kVKR103ChartAdded);
    EXPECT_EQ(loop.charts.Count, 1);
    EXPECT_TRUE(loop.Machine().IsIdle());
}

TEST(TransferMachine, ClosingThePortEndsABluetoothTransfer)
{
    FakeLoop loop(ConnectionMode::BT);
    loop.ctx.AutoSave = true;
    vkrsim::Transfer t = Build(Model::VKR104, 2);
    t.skip[1] = true;
    loop.Play(t);
    loop.Run(1000);
    ASSERT_TRUE(loop.Machine().ChartTimerRunning());
    const TransferStep step = loop.Machine().ComPortClose(true);
    // The charts of this transfer are saved, and the user is told that the
    // rest of it did not come.
    EXPECT_EQ(step.saveCharts, std::vector<ChartId>{loop.charts.Rec(1).Id});
    EXPECT_TRUE(step.refreshCharts);
    ASSERT_EQ(step.messages.size(), 1u);
    EXPECT_EQ(step.messages[0].text, "Some charts were not transfered. 1 chart of this transfer arrived.");
    EXPECT_TRUE(step.transferIncomplete);
    EXPECT_EQ(step.statusBox->status, PortStatus::Closed);
    EXPECT_TRUE(loop.Machine().IsIdle());
}

// A line that sends far more than a transfer may hold: the buffer stays
// within the limit, the failure is told once, everything up to 2 s of
// quiet is dropped, and the next transfer arrives as if nothing happened.
TEST(TransferMachine, FloodIsToldOnceDroppedUntilQuietAndTheNextTransferArrives)
{
    constexpr std::size_t kLimit = 20000;
    struct Case {
        ConnectionMode mode;
        ByteVec start; // what the flood begins with
        std::vector<int> results;
        std::string message;
        Model next;
        int nextResult;
    };
    const Case cases[] = {
        {ConnectionMode::COM,
         {},
         {kDecodeNoiseOnLine},
         "Error: noise on line.",
         Model::VKR103,
         kVKR103ChartAdded},
        // A header announcing 1000 bytes, and then no end of bytes: no frame
        // is decoded, none is asked for.
        {ConnectionMode::BT,
         {0x55, 0xe8, 0x03},
         {},
         ErrorText(kErrFrameLength, ""),
         Model::VKR104,
         kEndOfBluetoothTransfer},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.mode == ConnectionMode::BT ? "BT" : "COM");
        FakeLoop loop(c.mode);
        loop.Machine().SetTransferLimit(kLimit);
        ByteVec first = c.start;
        const ByteVec noise = Noise(4096);
        first.insert(first.end(), noise.begin(), noise.end());
        loop.ReceiveAt(0, first);
        for (int k = 1; k < 200; ++k) // 40 times the limit, 1 ms apart
            loop.ReceiveAt(k, Noise(4096, static_cast<std::uint32_t>(k)));
        loop.Run(199);
        EXPECT_LE(loop.maxWaiting, kLimit);
        EXPECT_EQ(loop.results, c.results);
        EXPECT_EQ(loop.messages, std::vector<std::string>{c.message});
        EXPECT_TRUE(loop.incomplete);
        EXPECT_EQ(loop.sent, "");
        EXPECT_EQ(loop.purges, c.mode == ConnectionMode::BT ? 1 : 0);
        EXPECT_TRUE(loop.Machine().Discarding());
        EXPECT_EQ(loop.Machine().StatusBox().status, PortStatus::Arriving);

        // 2 s after the last byte the line counts as quiet, not before.
        loop.Run(2000);
        EXPECT_TRUE(loop.Machine().Discarding());
        loop.Run(1);
        EXPECT_FALSE(loop.Machine().Discarding());
        EXPECT_TRUE(loop.Machine().IsIdle());
        EXPECT_EQ(loop.Machine().StatusBox().status, PortStatus::Open);

        loop.Play(Build(c.next, 1));
        loop.Run(20000);
        ASSERT_FALSE(loop.results.empty());
        EXPECT_EQ(loop.results.back(), c.nextResult);
        EXPECT_EQ(loop.charts.Count, 1);
        EXPECT_EQ(loop.messages.size(), 1u);
        EXPECT_EQ(loop.sent, c.mode == ConnectionMode::BT ? "RR" : "");
        EXPECT_TRUE(loop.Machine().IsIdle());
    }
}

// A memory read-out longer than the receive queue of the old driver
// (128000 bytes) arrives whole.
TEST(TransferMachine, LongMemoryReadOutArrivesWhole)
{
    FakeLoop loop(ConnectionMode::COM);
    loop.ctx.AutoSave = true;
    std::vector<std::string> decoderMessages;
    loop.ctx.ShowMessage = [&](const std::string&, const std::string& text) {
        decoderMessages.push_back(text);
    };
    const vkrsim::Transfer t = Build(Model::VKR103RAM, 14, Fault::None, 1, 10000);
    ASSERT_GT(t.pieces[0].size(), 128000u);
    loop.Play(t);
    loop.Run(20000);
    EXPECT_EQ(loop.results, std::vector<int>{kVKR103RAMChartsAdded});
    EXPECT_EQ(loop.charts.Count, 14);
    EXPECT_EQ(loop.charts.Rec(14).SampleCount, 10000);
    EXPECT_TRUE(loop.messages.empty());
    EXPECT_TRUE(decoderMessages.empty());
    EXPECT_EQ(loop.saved, Ids(loop.charts, 1, 14));
    EXPECT_EQ(loop.maxWaiting, t.pieces[0].size());
}

// Should a transfer ever run over the limit, the charts before the cut are
// kept and saved, and one message says how many came and that the rest was
// lost (the decoder's complaint about the block cut in two is part of it).
TEST(TransferMachine, MemoryReadOutCutAtTheLimitSaysHowManyChartsCame)
{
    constexpr std::size_t kLimit = 60000;
    FakeLoop loop(ConnectionMode::COM);
    loop.ctx.AutoSave = true;
    std::vector<std::string> decoderMessages;
    loop.ctx.ShowMessage = [&](const std::string&, const std::string& text) {
        decoderMessages.push_back(text);
    };
    loop.Machine().SetTransferLimit(kLimit);
    loop.Play(Build(Model::VKR103RAM, 14, Fault::None, 1, 10000));
    loop.Run(20000);
    EXPECT_EQ(loop.results, std::vector<int>{kVKR103RAMChartsAdded});
    const int kept = loop.charts.Count;
    EXPECT_GE(kept, 4);
    EXPECT_LE(kept, 5);
    EXPECT_EQ(loop.messages, std::vector<std::string>{TransferMachine::TransferCutText(kLimit, kept)});
    EXPECT_EQ(loop.messages[0], "Error: the transfer was longer than 60000 bytes. " + std::to_string(kept) +
                                    " charts of it were received; the rest of the transfer was lost.");
    EXPECT_TRUE(decoderMessages.empty());
    EXPECT_EQ(loop.saved, Ids(loop.charts, 1, kept));
    EXPECT_LE(loop.maxWaiting, kLimit);
    EXPECT_TRUE(loop.Machine().IsIdle());

    loop.Play(Build(Model::VKR103, 1));
    loop.Run(6000);
    EXPECT_EQ(loop.results.back(), kVKR103ChartAdded);
    EXPECT_EQ(loop.messages.size(), 1u);
    EXPECT_EQ(TransferMachine::TransferCutText(std::size_t{16} << 20, 1),
              "Error: the transfer was longer than 16 MiB. 1 chart of it was received; the rest of the "
              "transfer was lost.");
    EXPECT_EQ(TransferMachine::TransferCutText(std::size_t{16} << 20, 0),
              "Error: the transfer was longer than 16 MiB. No chart of it was received; the rest of the "
              "transfer was lost.");
}

// A Bluetooth transfer that stops before its empty frame, whichever way:
// the user is told that charts did not come and how many did, then the
// duplicates note; only this transfer's new charts are saved, and the
// transfer counts as incomplete.
TEST(TransferMachine, BluetoothTransferEndingEarlySaysHowManyChartsArrived)
{
    struct Case {
        const char* name;
        bool duplicate; // the first chart was loaded before
        bool halfFrame; // a frame had begun to arrive
        std::function<void(FakeLoop&)> end;
    };
    const auto lost = [](FakeLoop& l) { l.Take(l.Machine().ComPortClose(false)); };
    const auto disconnect = [](FakeLoop& l) { l.Take(l.Machine().ComPortClose(true)); };
    const auto modeChange = [](FakeLoop& l) { l.Take(l.Machine().SetMode(ConnectionMode::COM)); };
    const auto chartTimer = [](FakeLoop& l) { l.Run(TransferMachine::BTFrameTimeout + 100); };
    const Case cases[] = {
        {"device lost", false, false, lost},       {"device lost in a frame", true, true, lost},
        {"disconnect", true, false, disconnect},   {"disconnect in a frame", false, true, disconnect},
        {"mode change", false, false, modeChange}, {"missing frame", true, false, chartTimer},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FakeLoop loop(ConnectionMode::BT);
        loop.ctx.AutoSave = true;
        if (c.duplicate) {
            loop.Play(Build(Model::VKR104, 1));
            loop.Run(1000);
            ASSERT_EQ(loop.charts.Count, 1);
        }
        const int before = loop.charts.Count;
        loop.saved.clear();
        loop.messages.clear();
        vkrsim::Transfer t = Build(Model::VKR104, 4);
        t.skip[2] = true; // the instrument stops after two charts
        loop.Play(t);
        loop.Run(1000);
        ASSERT_EQ(loop.charts.Count, 2);
        ASSERT_TRUE(loop.Machine().ChartTimerRunning());
        if (c.halfFrame)
            loop.Receive(ByteVec(t.pieces[2].begin(), t.pieces[2].begin() + 100));
        EXPECT_FALSE(loop.incomplete);
        c.end(loop);
        std::vector<std::string> expected = {
            "Some charts were not transfered. 2 charts of this transfer arrived."};
        if (c.duplicate)
            expected.push_back(TransferMachine::kDuplicatesText);
        EXPECT_EQ(loop.messages, expected);
        EXPECT_EQ(loop.saved, Ids(loop.charts, before + 1, 2));
        EXPECT_TRUE(loop.incomplete);
        EXPECT_EQ(loop.charts.Count, 2);
        EXPECT_FALSE(loop.Machine().DuplicatesSeen());
        EXPECT_TRUE(loop.Machine().IsIdle());
    }
}

// What a Bluetooth port holds when it goes away (at program end, say): a
// complete frame is decoded and kept, without a request on a port that
// goes away; a frame half received is not dropped silently, even as the
// first of its transfer. A transfer that had ended is not told about.
TEST(TransferMachine, ClosingTheBluetoothPortKeepsWhatCameAndTellsWhatDidNot)
{
    const vkrsim::Transfer t = Build(Model::VKR104, 2);
    const ByteVec& frame = t.pieces[0];
    struct Case {
        const char* name;
        std::function<void(FakeLoop&)> arrive;
        std::vector<int> results;
        int charts;
        std::vector<std::string> messages;
    };
    const Case cases[] = {
        {"half a frame",
         [&](FakeLoop& l) { l.Receive(ByteVec(frame.begin(), frame.begin() + 50)); },
         {},
         0,
         {"Some charts were not transfered. No chart of this transfer arrived."}},
        {"a whole frame",
         [&](FakeLoop& l) { l.Receive(frame); },
         {kVKR104ChartAdded},
         1,
         {TransferMachine::NotTransferredText(1)}},
        {"a whole transfer",
         [&](FakeLoop& l) {
             l.Play(t);
             l.Run(5000);
         },
         {kVKR104ChartAdded, kVKR104ChartAdded, kEndOfBluetoothTransfer},
         2,
         {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FakeLoop loop(ConnectionMode::BT);
        loop.ctx.AutoSave = true;
        c.arrive(loop);
        const std::string sent = loop.sent;
        loop.saved.clear();
        loop.Take(loop.Machine().ComPortClose(false));
        EXPECT_EQ(loop.results, c.results);
        EXPECT_EQ(loop.charts.Count, c.charts);
        EXPECT_EQ(loop.sent, sent);
        EXPECT_EQ(loop.messages, c.messages);
        EXPECT_EQ(loop.incomplete, !c.messages.empty());
        // Saved when the transfer ended: here at the close, else before it.
        EXPECT_EQ(loop.saved, c.messages.empty() ? std::vector<ChartId>{} : Ids(loop.charts, 1, c.charts));
        EXPECT_TRUE(loop.Machine().IsIdle());
    }
}

// Automatic saving asks for the charts of the transfer that just ended and
// for no other unsaved chart; with automatic saving off, for none.
TEST(TransferMachine, AutomaticSavingNamesOnlyTheChartsOfTheTransfer)
{
    struct Case {
        Model model;
        int charts;
    };
    const Case cases[] = {{Model::VKR102, 1}, {Model::VKR103, 1}, {Model::VKR103RAM, 3}, {Model::VKR104, 3}};
    for (const Case& c : cases) {
        for (const bool autoSave : {true, false}) {
            SCOPED_TRACE(std::string(vkrsim::ModelName(c.model)) + (autoSave ? " saving" : ""));
            FakeLoop loop(c.model == Model::VKR104 ? ConnectionMode::BT : ConnectionMode::COM);
            loop.ctx.AutoSave = autoSave;
            loop.charts.AppendRecord(TJednoMereni{}); // opened before, unsaved
            ASSERT_FALSE(loop.charts.Rec(1).Saved);
            loop.Play(Build(c.model, c.charts));
            loop.Run(20000);
            ASSERT_EQ(loop.charts.Count, 1 + c.charts);
            EXPECT_EQ(loop.saves, autoSave ? 1 : 0);
            EXPECT_EQ(loop.saved, autoSave ? Ids(loop.charts, 2, 1 + c.charts) : std::vector<ChartId>{});
        }
    }
}

// Before the window asks about unsaved work on closing, what has arrived is
// decoded at once, the port staying open: an RS-232 transfer within its
// 2 s of silence, a complete Bluetooth frame (whose chart then asks for the
// next one). A frame still arriving, or nothing, is left alone.
TEST(TransferMachine, FinishPendingDecodesWhatHasArrivedAndKeepsThePortOpen)
{
    FakeLoop com(ConnectionMode::COM);
    com.Receive(Build(Model::VKR103, 1).pieces[0]);
    com.Run(500);
    ASSERT_TRUE(com.results.empty());
    com.Take(com.Machine().FinishPending());
    EXPECT_EQ(com.results, std::vector<int>{kVKR103ChartAdded});
    EXPECT_EQ(com.resultTimes, std::vector<std::int64_t>{500});
    EXPECT_TRUE(com.Machine().IsIdle());
    EXPECT_TRUE(com.Machine().IsOpen());
    EXPECT_EQ(com.Machine().StatusBox().status, PortStatus::Open);
    const TransferStep again = com.Machine().FinishPending();
    EXPECT_TRUE(again.decoded.empty());
    EXPECT_TRUE(again.messages.empty());
    com.Run(5000);
    EXPECT_EQ(com.results.size(), 1u);
    EXPECT_TRUE(com.messages.empty());

    FakeLoop bt(ConnectionMode::BT);
    const ByteVec frame = Build(Model::VKR104, 1).pieces[0];
    bt.Receive(ByteVec(frame.begin(), frame.begin() + 100));
    EXPECT_TRUE(bt.Machine().FinishPending().decoded.empty());
    bt.Receive(ByteVec(frame.begin() + 100, frame.end()));
    bt.Take(bt.Machine().FinishPending());
    EXPECT_EQ(bt.results, std::vector<int>{kVKR104ChartAdded});
    EXPECT_EQ(bt.sent, "R");
    EXPECT_TRUE(bt.Machine().ChartTimerRunning());
    EXPECT_FALSE(bt.Machine().PortTimerRunning());
    EXPECT_TRUE(bt.messages.empty());
}

} // namespace
} // namespace lumidrax
