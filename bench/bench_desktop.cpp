// The desktop program: the time from process start to the main window shown and the
// resident memory once idle, each beside an empty Qt Widgets program that shows one
// 130 x 180 window (built by this bench, also with one line of text: the share of the
// difference that any text costs), offscreen and under Xvfb; and the user list while
// 1000 peers join and leave through the model with the list view shown.
#include "NullWindows.h"
#include "app/CodeCript.h"
#include "app/Support.h"
#include "engine/MessagingEngine.h"
#include "ui/main/UserListView.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QHash>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <map>
#include <optional>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

// A home whose settings file is current, so that no first-run window comes in between.
QString preparedHome(QTemporaryDir &dir)
{
    const QString folder = dir.path() + QStringLiteral("/.config/") +
                           QString::fromLatin1(CodeCript::Decode(CodeCript::OuterFolderName)) +
                           QLatin1Char('/') +
                           QString::fromLatin1(CodeCript::Decode(CodeCript::DisplayName));
    QDir().mkpath(folder);
    QFile file(folder + QStringLiteral("/tolvex.ini"));
    if (file.open(QIODevice::WriteOnly))
        file.write("[Tolvex]\nVersion=010001\n[User]\nName=bench\n");
    return dir.path();
}

struct Launch
{
    double msToShown = 0;
    double rssKb = 0;
};

double residentKb(qint64 pid)
{
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').first().toDouble();
    }
    return 0;
}

// Starts a program in a network namespace of its own (nothing it does reaches a network),
// waits for its "shown" line, lets it idle, reads its resident memory and ends it.
std::optional<Launch> launch(const QString &program, const QStringList &args,
                             const QString &platform, const QString &display)
{
    QTemporaryDir home;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("HOME"), preparedHome(home));
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), home.path() + QStringLiteral("/.config"));
    env.insert(QStringLiteral("TOLVEX_STARTUP_PROBE"), QStringLiteral("1"));
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), platform);
    if (!display.isEmpty())
        env.insert(QStringLiteral("DISPLAY"), display);
    QProcess process;
    process.setProcessEnvironment(env);
    process.setProcessChannelMode(QProcess::SeparateChannels);
    if (::geteuid() == 0 && !QStandardPaths::findExecutable(QStringLiteral("unshare")).isEmpty())
        process.start(QStringLiteral("unshare"), QStringList{QStringLiteral("-n"), program} + args);
    else
        process.start(program, args);
    QElapsedTimer clock;
    clock.start();
    if (!process.waitForStarted(5000))
        return std::nullopt;
    QByteArray out;
    while (!out.contains("shown\n") && clock.elapsed() < 15000 &&
           process.state() == QProcess::Running) {
        process.waitForReadyRead(50);
        out += process.readAllStandardOutput();
    }
    Launch result;
    result.msToShown = double(clock.nsecsElapsed()) / 1e6;
    const bool shown = out.contains("shown\n");
    if (shown) {
        QThread::msleep(700);
        result.rssKb = residentKb(process.processId());
    }
    process.terminate();
    if (!process.waitForFinished(5000))
        process.kill();
    process.waitForFinished(2000);
    return shown ? std::optional(result) : std::nullopt;
}

class Xvfb
{
public:
    Xvfb()
    {
        for (int n = 77; n < 99 && m_display.isEmpty(); ++n) {
            if (QFile::exists(QStringLiteral("/tmp/.X11-unix/X%1").arg(n)))
                continue;
            m_process.start(QStringLiteral("Xvfb"),
                            {QStringLiteral(":%1").arg(n), QStringLiteral("-screen"),
                             QStringLiteral("0"), QStringLiteral("1280x1024x24"),
                             QStringLiteral("-nolisten"), QStringLiteral("tcp")});
            if (!m_process.waitForStarted(3000))
                return;
            QElapsedTimer waited;
            waited.start();
            while (!QFile::exists(QStringLiteral("/tmp/.X11-unix/X%1").arg(n)) &&
                   waited.elapsed() < 5000)
                QThread::msleep(20);
            if (QFile::exists(QStringLiteral("/tmp/.X11-unix/X%1").arg(n)))
                m_display = QStringLiteral(":%1").arg(n);
        }
    }
    ~Xvfb()
    {
        m_process.terminate();
        m_process.waitForFinished(3000);
    }
    const QString &display() const { return m_display; }

private:
    QProcess m_process;
    QString m_display;
};

// The medians of each program's starts, by program and display, for the ratios printed at
// the end.
struct Figures
{
    double ms = 0;
    double rssKb = 0;
};
std::map<std::pair<QString, bool>, Figures> g_figures;
const QString kEmptyWindow = QStringLiteral("empty window");

double median(std::vector<double> values)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    const std::size_t mid = values.size() / 2;
    return values.size() % 2 ? values[mid] : (values[mid - 1] + values[mid]) / 2;
}

// A program whose start is measured: its name in the ratios, a short one for the counters.
struct Candidate
{
    QString name;
    std::string counter;
    QString program;
    QStringList args;
};

// The empty window, the same with one line of text, the program, and another build of the
// program when TOLVEX_BENCH_OTHER names one (for figures before and after a change).
std::vector<Candidate> candidates()
{
    std::vector<Candidate> list = {
        {kEmptyWindow, "empty", QStringLiteral(BASELINE_EXE), {}},
        {QStringLiteral("window with a label"),
         "label",
         QStringLiteral(BASELINE_EXE),
         {QStringLiteral("--label")}},
        {QStringLiteral("tolvex"), "tolvex", QStringLiteral(TOLVEX_EXE), {}},
    };
    const QString other = qEnvironmentVariable("TOLVEX_BENCH_OTHER");
    if (!other.isEmpty())
        list.push_back({other, "other", other, {}});
    return list;
}

// Every program starts once per round, in turn, so that the machine's changing load falls on
// all of them alike; the figures are each program's medians over the rounds.
void startups(benchmark::State &state, bool x11)
{
    std::unique_ptr<Xvfb> server;
    if (x11) {
        server = std::make_unique<Xvfb>();
        if (server->display().isEmpty()) {
            state.SkipWithError("Xvfb could not be started");
            return;
        }
    }
    const std::vector<Candidate> list = candidates();
    std::vector<std::vector<double>> ms(list.size()), rss(list.size());
    for (auto _ : state) {
        double roundMs = 0;
        for (std::size_t i = 0; i < list.size(); ++i) {
            const auto result = launch(list[i].program, list[i].args,
                                       x11 ? QStringLiteral("xcb") : QStringLiteral("offscreen"),
                                       x11 ? server->display() : QString());
            if (!result) {
                state.SkipWithError("a program did not show its window");
                return;
            }
            ms[i].push_back(result->msToShown);
            rss[i].push_back(result->rssKb);
            roundMs += result->msToShown;
        }
        state.SetIterationTime(roundMs / 1000.0);
    }
    for (std::size_t i = 0; i < list.size(); ++i) {
        const Figures figures{median(ms[i]), median(rss[i])};
        g_figures[{list[i].name, x11}] = figures;
        state.counters[list[i].counter + "_ms"] = figures.ms;
        state.counters[list[i].counter + "_kB"] = figures.rssKb;
    }
}

// Each program's medians beside the empty window's, from this run.
void printRatios()
{
    for (const bool x11 : {false, true}) {
        const auto base = g_figures.find({kEmptyWindow, x11});
        if (base == g_figures.end() || base->second.ms <= 0 || base->second.rssKb <= 0)
            continue;
        for (const auto &[key, figures] : g_figures) {
            if (key.second != x11 || key.first == kEmptyWindow)
                continue;
            std::printf("%s %s: start %.2fx, resident memory %.2fx the empty window (%.1f ms, "
                        "%.0f kB against %.1f ms, %.0f kB)\n",
                        qPrintable(key.first), x11 ? "Xvfb" : "offscreen",
                        figures.ms / base->second.ms, figures.rssKb / base->second.rssKb,
                        figures.ms, figures.rssKb, base->second.ms, base->second.rssKb);
        }
    }
}

void BM_StartupOffscreen(benchmark::State &state)
{
    startups(state, false);
}
void BM_StartupXvfb(benchmark::State &state)
{
    startups(state, true);
}
BENCHMARK(BM_StartupOffscreen)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(8);
BENCHMARK(BM_StartupXvfb)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(8);

// /proc/<pid>/stat's user and system time, in clock ticks, and the voluntary context
// switches (wake-ups) from /proc/<pid>/status.
std::pair<double, double> cpuAndWakeups(qint64 pid)
{
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    double ticks = 0;
    if (stat.open(QIODevice::ReadOnly)) {
        const QByteArray text = stat.readAll();
        const QList<QByteArray> fields = text.mid(text.lastIndexOf(')') + 2).split(' ');
        ticks = fields.value(11).toDouble() + fields.value(12).toDouble();
    }
    double wakeups = 0;
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (status.open(QIODevice::ReadOnly)) {
        for (const QByteArray &line : status.readAll().split('\n')) {
            if (line.startsWith("voluntary_ctxt_switches:"))
                wakeups = line.mid(24).trimmed().toDouble();
        }
    }
    return {ticks * 1000.0 / double(::sysconf(_SC_CLK_TCK)), wakeups};
}

// The process of that name among a process and its descendants, or 0.
qint64 descendantNamed(qint64 ancestor, const QByteArray &name)
{
    QHash<qint64, qint64> parentOf;
    QHash<qint64, QByteArray> nameOf;
    for (const QString &entry : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs)) {
        bool number = false;
        const qint64 pid = entry.toLongLong(&number);
        QFile stat(QStringLiteral("/proc/%1/stat").arg(entry));
        if (!number || !stat.open(QIODevice::ReadOnly))
            continue;
        const QByteArray text = stat.readAll();
        const qsizetype open = text.indexOf('('), close = text.lastIndexOf(')');
        if (open < 0 || close < open)
            continue;
        nameOf[pid] = text.mid(open + 1, close - open - 1);
        parentOf[pid] = text.mid(close + 2).split(' ').value(1).toLongLong();
    }
    for (auto it = nameOf.cbegin(); it != nameOf.cend(); ++it) {
        if (it.value() != name)
            continue;
        for (qint64 up = it.key(); up > 1; up = parentOf.value(up)) {
            if (up == ancestor)
                return it.key();
        }
    }
    return 0;
}

// The desktop program on line with two terminal peers on a sandbox LAN, left alone for 60
// seconds: the CPU time it takes and how often it wakes up. Needs root for the namespaces.
void BM_IdleOnLineWithTwoPeers(benchmark::State &state)
{
    const QString sandbox = QStringLiteral(TOLVEX_SOURCE_DIR "/scripts/lan-sandbox");
    if (::geteuid() != 0) {
        state.SkipWithError("needs root for the sandbox LAN");
        return;
    }
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("LAN_SANDBOX"), QStringLiteral("benchidle"));
    const auto run = [&](const QStringList &args) {
        QProcess p;
        p.setProcessEnvironment(env);
        p.start(sandbox, args);
        p.waitForFinished(30000);
        return p.readAllStandardOutput();
    };
    run({QStringLiteral("down")});
    run({QStringLiteral("up"), QStringLiteral("3")});
    // A real X server with a notification area, as on a desktop.
    Xvfb server;
    QProcess tray;
    if (!server.display().isEmpty()) {
        QProcessEnvironment xEnv = env;
        xEnv.insert(QStringLiteral("DISPLAY"), server.display());
        tray.setProcessEnvironment(xEnv);
        tray.start(QStringLiteral("trayer"), {QStringLiteral("--edge"), QStringLiteral("bottom")});
        env.insert(QStringLiteral("DISPLAY"), server.display());
    }
    const auto startOn = [&](QProcess &p, int host, const QString &program,
                             const QStringList &args) {
        QProcessEnvironment hostEnv = env;
        hostEnv.insert(QStringLiteral("QT_QPA_PLATFORM"), server.display().isEmpty()
                                                              ? QStringLiteral("offscreen")
                                                              : QStringLiteral("xcb"));
        p.setProcessEnvironment(hostEnv);
        p.start(sandbox,
                QStringList{QStringLiteral("exec"), QString::number(host), program} + args);
        p.waitForStarted(5000);
    };
    QProcess desktop, bob, cid;
    startOn(bob, 2, QStringLiteral(TOLVEX_CLI_EXE),
            {QStringLiteral("--name"), QStringLiteral("bob")});
    startOn(cid, 3, QStringLiteral(TOLVEX_CLI_EXE),
            {QStringLiteral("--name"), QStringLiteral("cid")});
    startOn(desktop, 1, QStringLiteral(TOLVEX_EXE), {});
    // The sandbox's exec ends in the program itself, or runs it as a child (other copies may
    // run on the machine).
    QThread::sleep(8);
    const qint64 pid = descendantNamed(desktop.processId(), "tolvex");
    double cpuMs = 0, wakeups = 0;
    for (auto _ : state) {
        const auto before = cpuAndWakeups(pid);
        QThread::sleep(60);
        const auto after = cpuAndWakeups(pid);
        cpuMs = after.first - before.first;
        wakeups = after.second - before.second;
        state.SetIterationTime(60);
    }
    bob.closeWriteChannel();
    cid.closeWriteChannel();
    for (QProcess *p : {&desktop, &bob, &cid, &tray}) {
        p->terminate();
        if (!p->waitForFinished(5000))
            p->kill();
    }
    run({QStringLiteral("down")});
    state.counters["cpu_ms_per_60s"] = cpuMs;
    state.counters["wakeups_per_60s"] = wakeups;
    state.counters["pid_found"] = pid > 0;
}
BENCHMARK(BM_IdleOnLineWithTwoPeers)->UseManualTime()->Unit(benchmark::kSecond)->Iterations(1);

// Peers join and leave through the engine while the list view shows them; the model must
// announce single rows (never a reset), so the cost per peer stays flat as the list grows.
void BM_UserListJoinLeave(benchmark::State &state)
{
    const int peers = int(state.range(0));
    NullWindows windows;
    SettingsValues settings;
    settings.Port = "5040";
    settings.Interface = "127.0.0.2";
    EngineSeams seams = EngineSeams::system();
    seams.LocalIPList = [] { return QByteArrayList{"127.0.0.2"}; };
    MessagingEngine engine(windows, settings, seams);
    UserListView view;
    view.setModel(&engine.users());
    view.setSelectionModel(engine.users().selectionModel());
    view.resize(123, 150);
    view.show();
    int resets = 0;
    QObject::connect(&engine.users(), &QAbstractItemModel::modelAboutToBeReset, [&] { ++resets; });
    QElapsedTimer clock;
    clock.start();
    for (auto _ : state) {
        for (int i = 0; i < peers; ++i) {
            engine.AddUser("10.1." + QByteArray::number(i / 250) + "." +
                               QByteArray::number(i % 250),
                           "user" + QByteArray::number((i * 7919) % peers), "ABCDEF");
            QCoreApplication::processEvents();
        }
        while (engine.users().count() > 0) {
            engine.RemoveUser(engine.users().count() / 2);
            QCoreApplication::processEvents();
        }
    }
    // One join and one leave per peer and round.
    state.counters["us_per_peer"] =
        double(clock.nsecsElapsed()) / 1000.0 / (double(state.iterations()) * peers * 2);
    state.counters["resets"] = resets;
}
BENCHMARK(BM_UserListJoinLeave)->Arg(100)->Arg(1000)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    printRatios();
    benchmark::Shutdown();
    return 0;
}
