// The messaging engine under load, on loopback only: the receive handler with 1000 and
// 16 384 known peers against cutting alone, and join storms of 1000 and 10 000 peers
// announcing at once.
#include "NullWindows.h"
#include "app/Support.h"
#include "common/UdpProbe.h"
#include "engine/Datagram.h"
#include "engine/MessagingEngine.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <benchmark/benchmark.h>
#include <map>
#include <sys/epoll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

QByteArray peerAddr(int i)
{
    return "127.1." + QByteArray::number(i / 250) + "." + QByteArray::number(i % 250 + 1);
}

/// An engine on 127.0.0.2 whose "broadcasts" stay on loopback.
struct BenchEngine
{
    explicit BenchEngine(quint16 port)
    {
        settings.Port = QByteArray::number(port);
        settings.Interface = "127.0.0.2";
        settings.UserName = "me";
        settings.AutoAdd = true;
        EngineSeams seams = EngineSeams::system();
        seams.LocalIPList = [] { return QByteArrayList{"127.0.0.1", "127.0.0.2"}; };
        seams.networkConnected = [] { return true; };
        seams.broadcastAddr = "127.0.0.3";
        engine = std::make_unique<MessagingEngine>(windows, settings, seams);
        engine->selectChannelQuietly("Lab");
    }

    NullWindows windows;
    SettingsValues settings;
    std::unique_ptr<MessagingEngine> engine;
};

// Keep-alives of known peers, each with an identifier different from its previous one.
void ReceiveKeepAliveFromKnownPeers(benchmark::State &state)
{
    const int kPeers = static_cast<int>(state.range(0));
    BenchEngine bench(5040);
    QList<QByteArray> addrs;
    for (int i = 0; i < kPeers; ++i) {
        addrs.append(peerAddr(i));
        bench.engine->handleDatagram("000000|ACK|DCT|Lab|peer" + QByteArray::number(i) + "|",
                                     addrs.last());
    }
    const QByteArray alive[2] = {"0A0A0A|ALV|Lab|", "0B0B0B|ALV|Lab|"};
    qint64 n = 0;
    for (auto _ : state) {
        const int peer = static_cast<int>(n % kPeers);
        bench.engine->handleDatagram(alive[(n / kPeers) % 2], addrs[peer]);
        ++n;
    }
    if (bench.engine->users().count() != kPeers)
        state.SkipWithError("peers were lost");
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(ReceiveKeepAliveFromKnownPeers)->Arg(1000)->Arg(16384);

void CutKeepAliveAlone(benchmark::State &state)
{
    const QByteArray alive = "0A0A0A|ALV|Lab|";
    for (auto _ : state) {
        auto parts = Datagram::cut(alive);
        benchmark::DoNotOptimize(parts);
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(CutKeepAliveAlone);

// Peers on 127.1.x.y announce in bursts the receive buffer can hold; the time runs from the
// first announcement until every peer is listed and every answer has arrived.
void JoinStorm(benchmark::State &state)
{
    const int kPeers = static_cast<int>(state.range(0));
    for (auto _ : state) {
        const quint16 port = UdpProbe::freePort("127.0.0.2");
        BenchEngine bench(port);
        bench.engine->OpenReceiver(false);

        const int epoll = ::epoll_create1(EPOLL_CLOEXEC);
        std::vector<std::unique_ptr<UdpProbe>> peers;
        for (int i = 0; i < kPeers; ++i) {
            peers.push_back(std::make_unique<UdpProbe>(peerAddr(i), port));
            epoll_event ev = {};
            ev.events = EPOLLIN;
            ev.data.fd = peers.back()->fd();
            ::epoll_ctl(epoll, EPOLL_CTL_ADD, ev.data.fd, &ev);
        }
        int answers = 0;
        const auto drainAnswers = [&] {
            epoll_event events[64];
            int ready;
            while ((ready = ::epoll_wait(epoll, events, 64, 0)) > 0) {
                for (int e = 0; e < ready; ++e) {
                    char buffer[256];
                    while (::recv(events[e].data.fd, buffer, sizeof(buffer), 0) > 0)
                        ++answers;
                }
            }
        };

        QElapsedTimer clock;
        clock.start();
        constexpr int kBurst = 100;
        for (int i = 0; i < kPeers; ++i) {
            const QByteArray datagram =
                Datagram::announcement("Lab", "peer" + QByteArray::number(i));
            peers[static_cast<size_t>(i)]->sendTo("127.0.0.2", port, datagram);
            // The receiver hands over a bounded number of datagrams per wake-up, so the next
            // burst waits until this one is listed: a lost announcement is never sent again.
            if (i % kBurst == kBurst - 1) {
                do {
                    QCoreApplication::processEvents();
                    drainAnswers();
                } while (bench.engine->users().count() <= i && clock.elapsed() < 30000);
            }
        }
        while ((bench.engine->users().count() < kPeers || answers < kPeers) &&
               clock.elapsed() < 30000) {
            QCoreApplication::processEvents();
            drainAnswers();
        }
        state.SetIterationTime(static_cast<double>(clock.nsecsElapsed()) / 1e9);
        state.counters["listed"] = bench.engine->users().count();
        state.counters["answered"] = answers;
        peers.clear();
        ::close(epoll);
        bench.engine.reset();
        QCoreApplication::sendPostedEvents();
    }
}
BENCHMARK(JoinStorm)
    ->Arg(1000)
    ->Arg(10000)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);

/// Prints the figures side by side once everything has run, as ratios of one run.
class RatioReporter final : public benchmark::ConsoleReporter
{
public:
    void ReportRuns(const std::vector<Run> &runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run &run : runs) {
            const auto it = run.counters.find("items_per_second");
            if (it == run.counters.end())
                continue;
            // With --benchmark_repetitions the median stands for the run; otherwise the
            // one repetition does.
            const std::string name = run.run_name.str();
            if (run.run_type == Run::RT_Aggregate && run.aggregate_name == "median")
                m_median[name] = it->second.value;
            else if (run.run_type == Run::RT_Iteration)
                m_rate[name] = it->second.value;
        }
    }

    void Finalize() override
    {
        ConsoleReporter::Finalize();
        const double cut = rate("CutKeepAliveAlone");
        for (const int peers : {1000, 16384}) {
            const double handler = rate("ReceiveKeepAliveFromKnownPeers/" + std::to_string(peers));
            if (handler > 0 && cut > 0)
                std::printf("receive handler: %.0f keep-alives/s with %d peers; cutting alone "
                            "%.0f/s; handler takes %.1fx the time of cutting\n",
                            handler, peers, cut, cut / handler);
        }
    }

private:
    double rate(const std::string &name) const
    {
        const auto median = m_median.find(name);
        if (median != m_median.end())
            return median->second;
        const auto last = m_rate.find(name);
        return last == m_rate.end() ? 0.0 : last->second;
    }

    std::map<std::string, double> m_rate;
    std::map<std::string, double> m_median;
};

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
