// Throughput of the socket component on loopback against plain system calls on the same
// traffic, printed as ratios from one run, and the CPU an idle listener costs.
#include "common/Loopback.h"
#include "common/UdpProbe.h"
#include "net/WSocket.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>
#include <atomic>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <ctime>
#include <map>
#include <netinet/in.h>
#include <string>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

namespace {

constexpr int Batch = 20000;      // datagrams per benchmark iteration
constexpr int DatagramSize = 100; // bytes, like a chat line
constexpr int Window = 1024;      // datagrams in flight: below the enlarged receive buffer

// Both receivers get the same roomy buffer, so the window never overflows it.
void enlargeReceiveBuffer(int fd)
{
    const int size = 8 << 20;
    if (setsockopt(fd, SOL_SOCKET, SO_RCVBUFFORCE, &size, sizeof size) != 0)
        setsockopt(fd, SOL_SOCKET, SO_RCVBUF, &size, sizeof size);
}

// A plain datagram socket on an ephemeral loopback port, with the roomy buffer.
int plainReceiver(quint16 &port)
{
    const int fd = socket(AF_INET, SOCK_DGRAM, 0);
    const sockaddr_in local = loopback::address(0);
    bind(fd, reinterpret_cast<const sockaddr *>(&local), sizeof local);
    enlargeReceiveBuffer(fd);
    port = loopback::boundPort(fd);
    return fd;
}

// Feeds a port from its own thread, never more than Window datagrams ahead of the
// reader, so neither receiver loses datagrams and both see the same traffic.
class Feeder
{
public:
    Feeder(quint16 port, const std::atomic<long> &received)
        : m_received(received), m_thread([this, port] { run(port); })
    {}
    ~Feeder()
    {
        m_stop = true;
        m_thread.join();
    }

private:
    void run(quint16 port)
    {
        const int fd = socket(AF_INET, SOCK_DGRAM, 0);
        const sockaddr_in to = loopback::address(port);
        char payload[DatagramSize] = {};
        long sent = 0;
        while (!m_stop) {
            if (sent - m_received.load(std::memory_order_acquire) >= Window) {
                std::this_thread::yield();
                continue;
            }
            if (sendto(fd, payload, sizeof payload, 0, reinterpret_cast<const sockaddr *>(&to),
                       sizeof to) > 0)
                ++sent;
        }
        close(fd);
    }

    const std::atomic<long> &m_received;
    std::atomic<bool> m_stop{false};
    std::thread m_thread;
};

void BM_ReceivePlainRecvfrom(benchmark::State &state)
{
    quint16 port = 0;
    const int fd = plainReceiver(port);
    std::atomic<long> received{0};
    {
        Feeder feeder(port, received);
        char buf[1024];
        for (auto _ : state) {
            for (int i = 0; i < Batch; ++i) {
                sockaddr_in from{};
                socklen_t fromLen = sizeof from;
                if (recvfrom(fd, buf, sizeof buf, 0, reinterpret_cast<sockaddr *>(&from),
                             &fromLen) > 0)
                    received.fetch_add(1, std::memory_order_release);
            }
        }
        // Unblock a feeder waiting for room before it is stopped.
        received.fetch_add(Window, std::memory_order_release);
    }
    close(fd);
    state.SetItemsProcessed(state.iterations() * Batch);
}

void BM_ReceiveWSocket(benchmark::State &state)
{
    TWSocket rx;
    std::atomic<long> received{0};
    long goal = 0;
    rx.OnDataAvailable = [&](TCustomWSocket *s, quint16) {
        char buf[1024];
        SockAddrIn from;
        int len = sizeof from;
        if (s->ReceiveFrom(buf, sizeof buf, from, len) > 0)
            received.fetch_add(1, std::memory_order_release);
    };
    rx.SetProto("udp");
    rx.SetAddr("127.0.0.1");
    rx.SetPort("0");
    rx.Listen();
    enlargeReceiveBuffer(rx.HSocket());
    {
        Feeder feeder(quint16(rx.GetLocalPortText().toUInt()), received);
        for (auto _ : state) {
            goal += Batch;
            while (received.load(std::memory_order_acquire) < goal)
                QCoreApplication::processEvents(QEventLoop::AllEvents |
                                                QEventLoop::WaitForMoreEvents);
        }
        received.fetch_add(Window, std::memory_order_release);
    }
    state.SetItemsProcessed(state.iterations() * Batch);
}

// A sink nobody reads: what it cannot hold it drops, for both senders alike.
using Sink = UdpProbe;

void BM_SendPlainSendto(benchmark::State &state)
{
    const Sink sink("127.0.0.1", 0);
    const int fd = socket(AF_INET, SOCK_DGRAM, 0);
    const sockaddr_in to = loopback::address(sink.port());
    char payload[DatagramSize] = {};
    for (auto _ : state) {
        for (int i = 0; i < Batch; ++i)
            sendto(fd, payload, sizeof payload, 0, reinterpret_cast<const sockaddr *>(&to),
                   sizeof to);
    }
    close(fd);
    state.SetItemsProcessed(state.iterations() * Batch);
}

void BM_SendWSocketSendText(benchmark::State &state)
{
    const Sink sink("127.0.0.1", 0);
    TWSocket tx;
    long completed = 0;
    tx.OnDataSent = [&](TCustomWSocket *, quint16) { ++completed; };
    tx.SetProto("udp");
    tx.SetAddr("127.0.0.1");
    tx.SetPort(QByteArray::number(sink.port()));
    tx.Connect();
    const QByteArray payload(DatagramSize, 'x');
    for (auto _ : state) {
        for (int i = 0; i < Batch; ++i) {
            tx.SendText(payload);
            // Every send posts its completion; the loop delivers them as it would in use.
            if ((i & 63) == 63)
                QCoreApplication::processEvents();
        }
        QCoreApplication::processEvents();
    }
    benchmark::DoNotOptimize(completed);
    state.SetItemsProcessed(state.iterations() * Batch);
}

// The receive path alone: each iteration first queues Backlog datagrams with the clock
// stopped, then times how fast they are read. With two cores and a feeding thread the
// scheduler decides much of the rates above; here only the receive path counts.
constexpr int Backlog = 4000;

struct Backlogged
{
    int sender = socket(AF_INET, SOCK_DGRAM, 0);
    sockaddr_in to{};
    explicit Backlogged(quint16 port) : to(loopback::address(port)) {}
    ~Backlogged() { close(sender); }
    void fill() const
    {
        char payload[DatagramSize] = {};
        for (int i = 0; i < Backlog; ++i)
            sendto(sender, payload, sizeof payload, 0, reinterpret_cast<const sockaddr *>(&to),
                   sizeof to);
    }
};

void BM_DrainPlainRecvfrom(benchmark::State &state)
{
    quint16 port = 0;
    const int fd = plainReceiver(port);
    Backlogged feed(port);
    char buf[1024];
    long received = 0;
    for (auto _ : state) {
        state.PauseTiming();
        feed.fill();
        state.ResumeTiming();
        for (int i = 0; i < Backlog; ++i) {
            sockaddr_in from{};
            socklen_t fromLen = sizeof from;
            if (recvfrom(fd, buf, sizeof buf, MSG_DONTWAIT, reinterpret_cast<sockaddr *>(&from),
                         &fromLen) > 0)
                ++received;
        }
    }
    close(fd);
    state.counters["lost"] = double(state.iterations() * Backlog - received);
    state.SetItemsProcessed(received);
}

void BM_DrainWSocket(benchmark::State &state)
{
    TWSocket rx;
    long received = 0;
    rx.OnDataAvailable = [&](TCustomWSocket *s, quint16) {
        char buf[1024];
        SockAddrIn from;
        int len = sizeof from;
        if (s->ReceiveFrom(buf, sizeof buf, from, len) > 0)
            ++received;
    };
    rx.SetProto("udp");
    rx.SetAddr("127.0.0.1");
    rx.SetPort("0");
    rx.Listen();
    enlargeReceiveBuffer(rx.HSocket());
    Backlogged feed(quint16(rx.GetLocalPortText().toUInt()));
    long goal = 0;
    for (auto _ : state) {
        state.PauseTiming();
        feed.fill();
        goal += Backlog;
        state.ResumeTiming();
        QElapsedTimer limit;
        limit.start();
        while (received < goal && limit.elapsed() < 5000)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    }
    state.counters["lost"] = double(goal - received);
    state.SetItemsProcessed(received);
}

BENCHMARK(BM_ReceivePlainRecvfrom)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ReceiveWSocket)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_DrainPlainRecvfrom)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_DrainWSocket)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_SendPlainSendto)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_SendWSocketSendText)->Unit(benchmark::kMillisecond)->UseRealTime();

// Keeps the rate of every run so the ratios can be printed at the end.
class RateReporter : public benchmark::ConsoleReporter
{
public:
    std::map<std::string, double> rates;

    void ReportRuns(const std::vector<Run> &runs) override
    {
        for (const Run &run : runs) {
            const auto it = run.counters.find("items_per_second");
            if (it != run.counters.end() && run.run_type == Run::RT_Iteration)
                rates[run.benchmark_name()] = it->second.value;
        }
        ConsoleReporter::ReportRuns(runs);
    }
};

double cpuSeconds()
{
    timespec ts{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return double(ts.tv_sec) + double(ts.tv_nsec) / 1e9;
}

// CPU spent by an event loop that only hosts an open, idle listener.
double idleListenerCpuPerSecond()
{
    TWSocket rx;
    rx.OnDataAvailable = [](TCustomWSocket *s, quint16) { s->ReceiveText(); };
    rx.SetProto("udp");
    rx.SetAddr("127.0.0.1");
    rx.SetPort("0");
    rx.Listen();
    const double start = cpuSeconds();
    QElapsedTimer wall;
    wall.start();
    QEventLoop loop;
    QTimer::singleShot(1000, &loop, &QEventLoop::quit);
    loop.exec();
    return (cpuSeconds() - start) / (double(wall.elapsed()) / 1000.0);
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    RateReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    auto ratio = [&](const char *mine, const char *plain) {
        const auto a = reporter.rates.find(mine);
        const auto b = reporter.rates.find(plain);
        if (a == reporter.rates.end() || b == reporter.rates.end() || b->second <= 0)
            return;
        std::printf("%-24s %10.0f/s vs %-24s %10.0f/s  ratio %.2f\n", mine, a->second, plain,
                    b->second, a->second / b->second);
    };
    std::printf("\n");
    ratio("BM_ReceiveWSocket/real_time", "BM_ReceivePlainRecvfrom/real_time");
    ratio("BM_DrainWSocket/real_time", "BM_DrainPlainRecvfrom/real_time");
    ratio("BM_SendWSocketSendText/real_time", "BM_SendPlainSendto/real_time");
    std::printf("idle listener: %.4f CPU seconds per second\n", idleListenerCpuPerSecond());
    benchmark::Shutdown();
    return 0;
}
