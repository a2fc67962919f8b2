// tolvex-cli under a flood of announcements that carry the address of a listed peer, in a
// sandbox LAN of network namespaces: ann (host 1) and bob (host 2) know each other, and
// host 3 sends forged "ACK|BCT" datagrams from bob's address to ann as fast as the sandbox
// takes them for ten seconds. Reported: ann's resident memory quiet and at its peak, how
// many datagrams she sent during the flood (answers to the forged address), how long /quit
// takes while the flood runs and after it, and whether bob still reaches her afterwards.
//
// Needs root (network namespaces). TOLVEX_CLI overrides the program measured, so that the
// same run conditions can be applied to another build of it.
#include "common/ForgedUdp.h"
#include "common/Netns.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QThread>
#include <arpa/inet.h>
#include <atomic>
#include <cstdio>
#include <netinet/ip.h>
#include <netinet/udp.h>
#include <stdexcept>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

constexpr quint16 kPort = 5040;
constexpr int kFloodMs = 10000;
constexpr int kQuitAfterMs = 5000; // into the flood, for the run that quits during it
// Senders of the flood, each with its own raw socket.
constexpr int kFlooders = 3;

QString cliProgram()
{
    const QString override = qEnvironmentVariable("TOLVEX_CLI");
    return override.isEmpty() ? QStringLiteral(TOLVEX_CLI_EXE) : override;
}

/// One tolvex-cli on a lab host; its output is collected as it comes.
class Copy
{
public:
    Copy(testnet::NetLab &lab, const QByteArray &host, const QString &name)
    {
        m_process.start(QStringLiteral("ip"),
                        lab.execArgs(host, {cliProgram(), QStringLiteral("--name"), name,
                                            QStringLiteral("--channel"), QStringLiteral("Lab")}));
        if (!m_process.waitForStarted(10000))
            throw std::runtime_error("tolvex-cli did not start");
    }
    ~Copy()
    {
        if (m_process.state() != QProcess::NotRunning) {
            m_process.kill();
            m_process.waitForFinished(5000);
        }
    }
    qint64 pid() const { return m_process.processId(); }
    void send(const QByteArray &line)
    {
        m_process.write(line + "\n");
        m_process.waitForBytesWritten(1000);
    }
    bool running() const { return m_process.state() != QProcess::NotRunning; }
    bool printed(const QByteArray &line)
    {
        m_out += m_process.readAllStandardOutput();
        return m_out.contains("\n" + line + "\n") || m_out.startsWith(line + "\n");
    }
    /// Waits (events running) for pred; false on time-out.
    static bool waitFor(const std::function<bool()> &pred, int timeoutMs)
    {
        QElapsedTimer t;
        t.start();
        while (!pred()) {
            if (t.elapsed() > timeoutMs)
                return false;
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
            QThread::msleep(5);
        }
        return true;
    }

private:
    QProcess m_process;
    QByteArray m_out;
};

qint64 txPackets(testnet::NetLab &lab)
{
    return lab.exec("1", {"cat", "/sys/class/net/eth0/statistics/tx_packets"})
        .trimmed()
        .toLongLong();
}

struct Figures
{
    qint64 quietKb = 0;
    qint64 peakKb = 0;
    qint64 sentDuringFlood = 0;
    qint64 floodDatagrams = 0;
    qint64 quitMs = -1;
    qint64 servedAfterMs = -1;
};

/// One run: the flood, and /quit either during it or after it.
Figures run(bool quitDuringFlood)
{
    testnet::NetLab lab;
    lab.addFlatLan(3);
    Copy ann(lab, "1", QStringLiteral("ann"));
    Copy bob(lab, "2", QStringLiteral("bob"));
    if (!Copy::waitFor([&] { return ann.printed("joined: bob") && bob.printed("joined: ann"); },
                       10000))
        throw std::runtime_error("the two copies did not meet");
    QThread::msleep(1000);
    Figures f;
    f.quietKb = testnet::statusKb(ann.pid(), "VmRSS:");
    const qint64 txBefore = txPackets(lab);

    std::atomic<bool> stop{false};
    std::atomic<qint64> sent{0};
    const auto flood = [&] {
        testnet::NetnsScope scope(lab.nsName("3"));
        const int fd = ::socket(AF_INET, SOCK_RAW, IPPROTO_RAW);
        if (fd < 0)
            return;
        sockaddr_in to{};
        to.sin_family = AF_INET;
        ::inet_pton(AF_INET, testnet::NetLab::flatAddr(1).constData(), &to.sin_addr);
        in_addr from{};
        ::inet_pton(AF_INET, testnet::NetLab::flatAddr(2).constData(), &from);
        // Made once, sent in batches: the flood is as fast as the sandbox takes it. The
        // identifiers change from one datagram to the next, so none is a repeat.
        constexpr int kBatch = 64;
        QList<QByteArray> packets;
        for (int i = 0; i < 16 * kBatch; ++i) {
            const QByteArray id = QByteArray::number(0x100000 + i, 16).toUpper();
            packets.append(testnet::forgedUdp(from.s_addr, kPort, to.sin_addr.s_addr, kPort,
                                              id + "|ACK|BCT|Lab|bob|"));
        }
        std::vector<iovec> iov(size_t(packets.size()));
        std::vector<mmsghdr> msgs(size_t(packets.size()));
        for (qsizetype i = 0; i < packets.size(); ++i) {
            iov[size_t(i)] = {packets[i].data(), size_t(packets[i].size())};
            msgs[size_t(i)].msg_hdr.msg_iov = &iov[size_t(i)];
            msgs[size_t(i)].msg_hdr.msg_iovlen = 1;
            msgs[size_t(i)].msg_hdr.msg_name = &to;
            msgs[size_t(i)].msg_hdr.msg_namelen = sizeof to;
        }
        for (size_t at = 0; !stop.load(std::memory_order_relaxed);
             at = (at + kBatch) % msgs.size()) {
            const int n = ::sendmmsg(fd, &msgs[at], kBatch, 0);
            if (n <= 0) {
                std::this_thread::yield();
                continue;
            }
            sent.fetch_add(n, std::memory_order_relaxed);
        }
        ::close(fd);
    };
    std::vector<std::thread> flooders;
    for (int i = 0; i < kFlooders; ++i)
        flooders.emplace_back(flood);

    QElapsedTimer flooding;
    flooding.start();
    QElapsedTimer quitting;
    const auto sample = [&] {
        const qint64 hwm = testnet::statusKb(ann.pid(), "VmHWM:");
        if (hwm > f.peakKb)
            f.peakKb = hwm;
    };
    while (flooding.elapsed() < kFloodMs) {
        sample();
        if (quitDuringFlood && !quitting.isValid() && flooding.elapsed() >= kQuitAfterMs) {
            ann.send("/quit");
            quitting.start();
        }
        if (quitting.isValid() && f.quitMs < 0 && !ann.running())
            f.quitMs = quitting.elapsed();
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QThread::msleep(20);
    }
    stop = true;
    for (std::thread &t : flooders)
        t.join();
    f.floodDatagrams = sent.load();
    if (ann.running())
        sample();
    f.sentDuringFlood = txPackets(lab) - txBefore;

    if (quitDuringFlood) {
        if (f.quitMs < 0) {
            Copy::waitFor([&] { return !ann.running(); }, 300000);
            f.quitMs = ann.running() ? -1 : quitting.elapsed();
        }
        return f;
    }

    // The real peer still reaches ann: bob says it again each second until she shows it.
    bob.send("/all");
    QElapsedTimer served;
    served.start();
    QElapsedTimer sinceSent;
    const bool delivered = Copy::waitFor(
        [&] {
            if (!sinceSent.isValid() || sinceSent.elapsed() > 1000) {
                bob.send("after the flood");
                sinceSent.start();
            }
            return ann.printed("bob> after the flood");
        },
        60000);
    f.servedAfterMs = delivered ? served.elapsed() : -1;
    sample();
    quitting.start();
    ann.send("/quit");
    Copy::waitFor([&] { return !ann.running(); }, 300000);
    f.quitMs = ann.running() ? -1 : quitting.elapsed();
    return f;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (geteuid() != 0) {
        std::printf("bench_flood: skipped, network namespaces need root\n");
        return 0;
    }
    std::printf("bench_flood: %s, %d s of ACK|BCT forged from a listed peer's address\n",
                qPrintable(cliProgram()), kFloodMs / 1000);
    try {
        const Figures during = run(true);
        std::printf("quit during the flood: /quit took %lld ms; resident %lld kB quiet, peak "
                    "%lld kB; %lld datagrams sent for %lld forged (until the exit)\n",
                    static_cast<long long>(during.quitMs), static_cast<long long>(during.quietKb),
                    static_cast<long long>(during.peakKb),
                    static_cast<long long>(during.sentDuringFlood),
                    static_cast<long long>(during.floodDatagrams));
        const Figures after = run(false);
        std::printf("quit after the flood: /quit took %lld ms; resident %lld kB quiet, peak %lld "
                    "kB (+%lld kB); %lld datagrams sent for %lld forged; bob reached ann %lld ms "
                    "after the flood%s\n",
                    static_cast<long long>(after.quitMs), static_cast<long long>(after.quietKb),
                    static_cast<long long>(after.peakKb),
                    static_cast<long long>(after.peakKb - after.quietKb),
                    static_cast<long long>(after.sentDuringFlood),
                    static_cast<long long>(after.floodDatagrams),
                    static_cast<long long>(after.servedAfterMs),
                    after.servedAfterMs < 0 ? " (never)" : "");
    } catch (const std::exception &e) {
        std::printf("bench_flood: %s\n", e.what());
        return 1;
    }
    return 0;
}
