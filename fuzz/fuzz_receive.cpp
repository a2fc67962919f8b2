// The receive handler over any sequence of datagrams from a few loopback peers, with the
// deferred events they post run in between, the clock moved, the presence timer ticking and
// the user selecting, sending and changing channel. After every step the registry must hold
// together. Each input is one script, a step per line:
//     <d>:<datagram>   the datagram from source d: 0 the engine's own address, 1-8 peers,
//                      9 127.0.0.1 ("\r", "\n" and "\\" stand for CR, LF and a backslash)
//     e                run the posted events and socket notifications
//     +<s> / -<s>      move the clock forward / back by s seconds
//     t                a tick of the presence timer
//     a                the application becomes active / inactive
//     s<row>           select only that row of the user list
//     q<text>          the user sends a chat line to the selection
//     c<channel>       the user picks a channel
//     r                the user reloads the list
// Everything stays on loopback: the engine's "broadcasts" go to a loopback address.
// Links: tolvex_engine
#include "app/Support.h"
#include "engine/EngineWindows.h"
#include "engine/MessagingEngine.h"
#include "net/WSocket.h"

#include <QCoreApplication>
#include <QItemSelectionModel>
#include <QSet>
#include <arpa/inet.h>
#include <cstdint>
#include <cstdlib>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

void check(bool condition)
{
    if (!condition)
        std::abort();
}

const QByteArray kOwnAddr = "127.91.0.2";
const QByteArray kBroadcastAddr = "127.91.0.3";
constexpr int kMaxSteps = 1000;

QByteArray sourceAddr(int source)
{
    if (source == 0)
        return kOwnAddr;
    if (source == 9)
        return "127.0.0.1";
    return "127.91.0." + QByteArray::number(10 + source);
}

// A port nobody uses on the engine's address, so that its answers reach no one.
quint16 freePort()
{
    const int fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    sockaddr_in sa = {};
    sa.sin_family = AF_INET;
    ::inet_pton(AF_INET, kOwnAddr.constData(), &sa.sin_addr);
    socklen_t len = sizeof(sa);
    ::bind(fd, reinterpret_cast<sockaddr *>(&sa), sizeof(sa));
    ::getsockname(fd, reinterpret_cast<sockaddr *>(&sa), &len);
    ::close(fd);
    return ntohs(sa.sin_port);
}

void ensureApplication()
{
    static int argc = 1;
    static char name[] = "fuzz_receive";
    static char *argv[] = {name, nullptr};
    static QCoreApplication *app = new QCoreApplication(argc, argv);
    (void)app;
}

class CheckingWindows final : public EngineWindows
{
public:
    void showChatWindow() override {}
    void AddMessage(const QByteArray &name, const QByteArray &text, quint32, quint32,
                    bool outgoing) override
    {
        // Names come from announcements, received texts from whole fields.
        check(!name.isEmpty() && !name.contains('|'));
        if (!outgoing)
            check(!text.isEmpty() && !text.contains('|') && !text.contains('\0'));
    }
    void attention() override {}
    bool messageBox(Box, const QByteArray &) override { return true; }
    void giveFocus(Focus) override {}
    void clearSendEdit() override {}
    void bringToFront() override {}
    void showAboutFirstRun() override {}
};

QByteArray unescape(const QByteArray &text)
{
    QByteArray out;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == '\\' && i + 1 < text.size()) {
            ++i;
            out += text[i] == 'n' ? '\n' : text[i] == 'r' ? '\r' : text[i];
        } else {
            out += text[i];
        }
    }
    return out;
}

void runEvents()
{
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents();
}

void checkState(MessagingEngine &engine)
{
    UserList &users = engine.users();
    QSet<QByteArray> addrs;
    QSet<quint64> ids;
    int pending = 0;
    for (int row = 0; row < users.count(); ++row) {
        const TUser *user = users.at(row);
        check(!user->Name.isEmpty() && !user->Name.contains('|'));
        check(users.findByAddr(user->Addr) == user && users.findById(user->Id) == user);
        check(users.rowOf(user) == row);
        addrs.insert(user->Addr);
        ids.insert(user->Id);
        pending += user->Pending.isEmpty() ? 0 : 1;
    }
    check(addrs.size() == users.count() && ids.size() == users.count());
    check(users.rowCount() == users.count());
    check(engine.pendingCount() == pending);
    for (int row : users.selectedRows())
        check(row >= 0 && row < users.count());

    const QList<QByteArray> &channels = engine.ChannelBox().items();
    check(QSet<QByteArray>(channels.cbegin(), channels.cend()).size() == channels.size());
    check(!engine.ActiveChannel().isEmpty() && !engine.ActiveChannel().contains('|'));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    ensureApplication();
    static const QByteArray port = QByteArray::number(freePort());

    SettingsValues settings;
    settings.Port = port;
    settings.Interface = kOwnAddr;
    settings.UserName = "me";
    settings.AutoAdd = true;
    QDateTime clock(QDate(2026, 3, 2), QTime(12, 0), Qt::UTC);
    EngineSeams seams;
    seams.clock = [&clock] { return clock; };
    seams.LocalIPList = [] { return QByteArrayList{"127.0.0.1", kOwnAddr}; };
    seams.networkConnected = [] { return true; };
    seams.broadcastAddr = kBroadcastAddr;
    CheckingWindows windows;
    int channelPicks = 0;
    {
        MessagingEngine engine(windows, settings, seams);
        engine.selectChannelQuietly("Sales");

        const QByteArray script(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
        const QList<QByteArray> steps = script.split('\n');
        for (qsizetype i = 0; i < steps.size() && i < kMaxSteps; ++i) {
            const QByteArray &step = steps[i];
            if (step.isEmpty())
                continue;
            const char op = step[0];
            const QByteArray arg = step.mid(1);
            if (op >= '0' && op <= '9' && step.size() >= 2) {
                engine.handleDatagram(unescape(step.mid(2)), sourceAddr(op - '0'));
            } else if (op == 'e') {
                runEvents();
            } else if (op == '+' || op == '-') {
                const qint64 seconds = qBound(0, arg.toInt(), 1000000);
                clock = clock.addSecs(op == '+' ? seconds : -seconds);
            } else if (op == 't') {
                engine.AliveTimerTimer();
            } else if (op == 'a') {
                if (engine.AppActive())
                    engine.AppOnDeactivate();
                else
                    engine.AppOnActivate();
            } else if (op == 's') {
                const int row = arg.toInt();
                if (row >= 0 && row < engine.users().count())
                    engine.users().selectOnly(row);
            } else if (op == 'q') {
                engine.postQueueMessage(unescape(arg));
            } else if (op == 'c') {
                engine.ChannelBox().setText(unescape(arg));
                engine.ChannelBoxSelect();
                ++channelPicks;
            } else if (op == 'r') {
                engine.ReloadListClick();
            }
            checkState(engine);
            check(engine.ChannelBox().count() <=
                  MessagingEngine::kMaxHeardChannels + channelPicks + 1);
        }
        runEvents();
        checkState(engine);
    }
    // Events the engine left behind die with it.
    QCoreApplication::sendPostedEvents();
    return 0;
}
