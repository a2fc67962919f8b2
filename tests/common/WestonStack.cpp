#include "common/WestonStack.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStandardPaths>

namespace desktop {

namespace {

const QString kSocket = QStringLiteral("wayland-weston");

} // namespace

QStringList missingWestonTools()
{
    QStringList missing;
    for (const char *tool :
         {"weston", "weston-screenshooter", "Xwayland", "Xvfb", "xdotool", "xwininfo", "xmessage"})
        if (QStandardPaths::findExecutable(QLatin1String(tool)).isEmpty())
            missing.append(QLatin1String(tool));
    return missing;
}

WestonStack::WestonStack(Input input) : m_input(input) {}

WestonStack::~WestonStack()
{
    stop();
}

bool WestonStack::start()
{
    if (!m_dir.isValid()) {
        m_failure = QStringLiteral("no temporary folder");
        return false;
    }
    m_run = m_dir.filePath(QStringLiteral("run"));
    QDir().mkpath(m_run);
    QDir().mkpath(m_dir.filePath(QStringLiteral("shots")));
    QFile::setPermissions(m_run, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

    // No fading in at the start (early screenshots came out dimmed), no idle fade-out.
    const QString config = m_dir.filePath(QStringLiteral("weston.ini"));
    QFile ini(config);
    if (!ini.open(QIODevice::WriteOnly) ||
        ini.write("[core]\nidle-time=0\n[shell]\nstartup-animation=none\nanimation=none\n"
                  "close-animation=none\nfocus-animation=none\n") < 0) {
        m_failure = QStringLiteral("cannot write the configuration");
        return false;
    }
    ini.close();
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("WAYLAND_DISPLAY"));
    env.remove(QStringLiteral("DISPLAY"));
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), m_run);
    QStringList args{QStringLiteral("--use-pixman"),
                     // The screenshooter needs the debug protocol.
                     QStringLiteral("--debug"), QStringLiteral("--xwayland"),
                     QStringLiteral("--width=%1").arg(outputSize().width()),
                     QStringLiteral("--height=%1").arg(outputSize().height()),
                     QStringLiteral("--socket=") + kSocket, QStringLiteral("--config=") + config,
                     QStringLiteral("--log=") + m_dir.filePath(QStringLiteral("weston.log"))};
    if (m_input == Input::Seat) {
        DesktopStack::Options options;
        options.screen = outputSize();
        options.windowManager = false;
        options.panel = false;
        options.accessibility = false;
        m_seat = std::make_unique<DesktopStack>(options);
        if (!m_seat->start()) {
            m_failure = QStringLiteral("no Xvfb for the seat: ") + m_seat->failure();
            return false;
        }
        env.insert(QStringLiteral("DISPLAY"), m_seat->display());
        args.prepend(QStringLiteral("--backend=x11-backend.so"));
    } else {
        args.prepend(QStringLiteral("--backend=headless-backend.so"));
    }
    if (!m_compositor.start(QStringLiteral("weston"), args, env)) {
        m_failure = QStringLiteral("weston did not start");
        return false;
    }
    // XWayland's display is in the log as soon as weston listens for X clients.
    static const QRegularExpression listening(QStringLiteral("listening on display (:\\d+)"));
    const bool up = waitUntil(
        [&] {
            if (!m_compositor.running())
                return false;
            const QRegularExpressionMatch match = listening.match(QString::fromLocal8Bit(log()));
            if (!match.hasMatch() || !QFileInfo::exists(m_run + QLatin1Char('/') + kSocket))
                return false;
            m_xDisplay = match.captured(1);
            return true;
        },
        15000);
    // The first X client starts XWayland; the stack is up once the server answers.
    if (!up ||
        !waitUntil([&] { return !x(QStringLiteral("xwininfo"), {"-root"}).isEmpty(); }, 15000)) {
        m_failure = QStringLiteral("weston did not come up: ") +
                    QString::fromLocal8Bit(m_compositor.errors().right(2000)) +
                    QString::fromLocal8Bit(log().right(2000));
        return false;
    }
    if (m_seat) {
        // No window manager on the seat's server: the keyboard goes where it is set.
        // weston's output is the one window on that server.
        static const QRegularExpression child(QStringLiteral("\\n\\s+(0x[0-9a-f]+) \"Weston"));
        QString window;
        if (!waitUntil([&] {
                const QRegularExpressionMatch match = child.match(QString::fromLocal8Bit(
                    m_seat->run(QStringLiteral("xwininfo"), {"-root", "-children"})));
                window = match.captured(1);
                return match.hasMatch();
            })) {
            m_failure = QStringLiteral("no weston window on the seat's server");
            return false;
        }
        m_seat->xdotool({QStringLiteral("windowfocus"), window});
        m_seat->moveMouse({outputSize().width() - 5, outputSize().height() - 5});
    }
    return true;
}

void WestonStack::stop()
{
    m_compositor.stop(3000);
    if (m_seat)
        m_seat->stop();
}

bool WestonStack::running() const
{
    return m_compositor.running();
}

QProcessEnvironment WestonStack::environment() const
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("QT_QPA_PLATFORM"));
    env.remove(QStringLiteral("XAUTHORITY"));
    env.remove(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"));
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), m_run);
    env.insert(QStringLiteral("WAYLAND_DISPLAY"), kSocket);
    env.insert(QStringLiteral("DISPLAY"), m_xDisplay);
    return env;
}

QByteArray WestonStack::x(const QString &program, const QStringList &args) const
{
    QProcess p;
    p.setProcessEnvironment(environment());
    p.start(program, args);
    if (!p.waitForFinished(10000)) {
        p.kill();
        p.waitForFinished(1000);
    }
    return p.readAllStandardOutput();
}

QStringList WestonStack::xWindowNames() const
{
    QStringList names;
    const QList<QByteArray> ids =
        x(QStringLiteral("xdotool"), {"search", "--onlyvisible", "--name", "."}).split('\n');
    for (const QByteArray &id : ids)
        if (!id.trimmed().isEmpty())
            names.append(QString::fromLocal8Bit(x(QStringLiteral("xdotool"),
                                                  {"getwindowname", QString::fromLatin1(id)}))
                             .trimmed());
    return names;
}

QRect WestonStack::xGeometry(const QByteArray &window) const
{
    static const QRegularExpression field(
        QStringLiteral("Absolute upper-left X:\\s+(-?\\d+).*Absolute upper-left Y:\\s+(-?\\d+)"
                       ".*Width:\\s+(\\d+).*Height:\\s+(\\d+)"),
        QRegularExpression::DotMatchesEverythingOption);
    const QRegularExpressionMatch m = field.match(QString::fromLocal8Bit(
        x(QStringLiteral("xwininfo"), {"-id", QString::fromLatin1(window)})));
    return m.hasMatch() ? QRect(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt(),
                                m.captured(4).toInt())
                        : QRect();
}

QString WestonStack::activeName() const
{
    return QString::fromLocal8Bit(
               x(QStringLiteral("xdotool"), {"getactivewindow", "getwindowname"}))
        .trimmed();
}

void WestonStack::type(const QString &text) const
{
    if (m_seat)
        m_seat->type(text);
}

void WestonStack::key(const QString &keys) const
{
    if (m_seat)
        m_seat->key(keys);
}

QImage WestonStack::screenshot() const
{
    QDir shots(m_dir.filePath(QStringLiteral("shots")));
    for (const QString &old : shots.entryList({QStringLiteral("*.png")}))
        shots.remove(old);
    QProcess p;
    p.setProcessEnvironment(environment());
    p.setWorkingDirectory(shots.path());
    p.start(QStringLiteral("weston-screenshooter"), {});
    p.waitForFinished(10000);
    const QStringList made = shots.entryList({QStringLiteral("*.png")});
    return made.isEmpty() ? QImage() : QImage(shots.filePath(made.first()));
}

QByteArray WestonStack::log() const
{
    QFile file(m_dir.filePath(QStringLiteral("weston.log")));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace desktop
