#include "DesktopStack.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QThread>
#include <QtEndian>
#include <csignal>

namespace desktop {

namespace {

// The system's own interpreter: the accessibility bindings are Debian packages.
const QString kPython = QStringLiteral("/usr/bin/python3");

QString atspiBusLauncher()
{
    for (const char *path :
         {"/usr/libexec/at-spi-bus-launcher", "/usr/lib/at-spi2-core/at-spi-bus-launcher"})
        if (QFile::exists(QString::fromLatin1(path)))
            return QString::fromLatin1(path);
    return {};
}

// Reads or acts on the accessibility tree. Output of "tree": one node a line, fields
// separated by tabs: depth, role, name, description, states, actions, x y w h, text.
const char kAtspiScript[] = R"PY(
import sys, pyatspi
def clean(s):
    return (s or "").replace("\t", " ").replace("\n", "\\n")
def walk(acc, depth, out):
    if acc is None or depth > 40:
        return
    try:
        st = acc.getState()
        states = [pyatspi.stateToString(s) for s in st.getStates()]
        actions = []
        try:
            a = acc.queryAction()
            actions = [a.getName(i) for i in range(a.nActions)]
        except Exception:
            pass
        ext = "0 0 0 0"
        try:
            e = acc.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
            ext = "%d %d %d %d" % (e.x, e.y, e.width, e.height)
        except Exception:
            pass
        text = ""
        try:
            t = acc.queryText()
            text = t.getText(0, t.characterCount)
        except Exception:
            pass
        out.append((depth, acc, "\t".join([str(depth), acc.getRoleName(), clean(acc.name),
            clean(acc.description), ",".join(states), ",".join(actions), ext, clean(text)])))
        for i in range(acc.childCount):
            walk(acc.getChildAtIndex(i), depth + 1, out)
    except Exception as e:
        pass
desk = pyatspi.Registry.getDesktop(0)
out = []
for i in range(desk.childCount):
    app = desk.getChildAtIndex(i)
    if app is not None and app.name == sys.argv[2]:
        walk(app, 0, out)
if sys.argv[1] == "tree":
    for n in out:
        print(n[2])
elif sys.argv[1] == "do":
    for depth, acc, line in out:
        f = line.split("\t")
        if f[1] == sys.argv[3] and f[2] == sys.argv[4] and "showing" in f[4].split(","):
            acc.queryAction().doAction(0)
            print("done")
            break
)PY";

// Task bar and notification area at the bottom, as on a usual desktop.
QByteArray panelConfig(int height, const QString &edge)
{
    return "panel_items = TS\n"
           "panel_size = 100% " +
           QByteArray::number(height) +
           "\n"
           "panel_position = " +
           edge.toLatin1() +
           " center horizontal\n"
           "panel_layer = top\n"
           "strut_policy = follow_size\n"
           "panel_dock = 0\n"
           "wm_menu = 0\n"
           "panel_background_id = 0\n"
           "autohide = 0\n"
           "taskbar_mode = single_desktop\n"
           "task_icon = 1\n"
           "task_text = 1\n"
           "task_maximum_size = 160 " +
           QByteArray::number(height - 4) +
           "\n"
           "systray_padding = 2 2 2\n"
           "systray_icon_size = 22\n"
           "systray_sort = ascending\n";
}

} // namespace

QStringList missingTools(bool windowManager, bool panel, bool accessibility)
{
    QStringList tools = {QStringLiteral("Xvfb"), QStringLiteral("xdotool"), QStringLiteral("xprop"),
                         QStringLiteral("xwd"), QStringLiteral("xwininfo")};
    if (windowManager)
        tools << QStringLiteral("openbox");
    if (panel)
        tools << QStringLiteral("tint2");
    if (accessibility)
        tools << QStringLiteral("dbus-daemon");
    QStringList missing;
    for (const QString &tool : tools)
        if (QStandardPaths::findExecutable(tool).isEmpty())
            missing << tool;
    if (accessibility) {
        if (atspiBusLauncher().isEmpty())
            missing << QStringLiteral("at-spi-bus-launcher");
        QProcess probe;
        probe.start(kPython, {QStringLiteral("-c"), QStringLiteral("import pyatspi")});
        if (!probe.waitForFinished(10000) || probe.exitStatus() != QProcess::NormalExit ||
            probe.exitCode() != 0)
            missing << QStringLiteral("python3-pyatspi");
    }
    return missing;
}

bool waitUntil(const std::function<bool()> &pred, int timeoutMs)
{
    QElapsedTimer clock;
    clock.start();
    while (!pred()) {
        if (clock.elapsed() > timeoutMs)
            return false;
        QThread::msleep(20);
    }
    return true;
}

// ---- Process

Process::Process() : m_process(std::make_unique<QProcess>()) {}

Process::~Process()
{
    stop(3000);
}

bool Process::start(const QString &program, const QStringList &args, const QProcessEnvironment &env)
{
    m_out.clear();
    m_err.clear();
    m_process = std::make_unique<QProcess>();
    m_process->setProcessEnvironment(env);
    m_process->start(program, args);
    return m_process->waitForStarted(10000);
}

bool Process::running() const
{
    return m_process->state() != QProcess::NotRunning;
}

void Process::stop(int timeoutMs)
{
    if (!running())
        return;
    m_process->terminate();
    if (!m_process->waitForFinished(timeoutMs))
        m_process->kill();
    m_process->waitForFinished(3000);
    readAll();
}

void Process::signal(int number)
{
    if (running())
        ::kill(static_cast<pid_t>(m_process->processId()), number);
}

int Process::waitForExit(int timeoutMs)
{
    if (running() && !m_process->waitForFinished(timeoutMs))
        return -1;
    readAll();
    return m_process->exitStatus() == QProcess::NormalExit ? m_process->exitCode() : -1;
}

bool Process::crashed() const
{
    return !running() && m_process->exitStatus() == QProcess::CrashExit;
}

qint64 Process::pid() const
{
    return m_process->processId();
}

void Process::readAll()
{
    // Without an event loop of the caller the pipes are read only while waiting on them.
    if (running())
        m_process->waitForReadyRead(1);
    m_out += m_process->readAllStandardOutput();
    m_err += m_process->readAllStandardError();
}

QByteArray Process::output()
{
    readAll();
    return m_out;
}

QByteArray Process::errors()
{
    readAll();
    return m_err;
}

// ---- DesktopStack

DesktopStack::DesktopStack() : DesktopStack(Options{}) {}

DesktopStack::DesktopStack(const Options &options) : m_options(options) {}

DesktopStack::~DesktopStack()
{
    stop();
}

QString DesktopStack::writeFile(const QString &name, const QByteArray &content) const
{
    const QString path = m_dir.filePath(name);
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(content);
    return path;
}

bool DesktopStack::start()
{
    if (!m_dir.isValid()) {
        m_failure = QStringLiteral("no temporary folder");
        return false;
    }
    QDir(m_dir.path()).mkdir(QStringLiteral("run"));
    QFile::setPermissions(m_dir.filePath(QStringLiteral("run")),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    // The server chooses a free display and writes its number to standard output.
    const QString size =
        QStringLiteral("%1x%2x24").arg(m_options.screen.width()).arg(m_options.screen.height());
    if (!m_server.start(QStringLiteral("Xvfb"),
                        // No reset when the last client goes: a client that connects during
                        // a reset (after a probe) is refused.
                        {QStringLiteral("-noreset"), QStringLiteral("-displayfd"),
                         QStringLiteral("1"), QStringLiteral("-screen"), QStringLiteral("0"), size,
                         QStringLiteral("-nolisten"), QStringLiteral("tcp")},
                        QProcessEnvironment::systemEnvironment())) {
        m_failure = QStringLiteral("Xvfb does not start");
        return false;
    }
    QByteArray number;
    if (!waitUntil(
            [&] {
                number = m_server.output();
                return number.contains('\n') || !m_server.running();
            },
            10000) ||
        !m_server.running()) {
        m_failure =
            QStringLiteral("Xvfb gave no display: ") + QString::fromLocal8Bit(m_server.errors());
        return false;
    }
    m_display = QLatin1Char(':') + QString::fromLatin1(number.trimmed());
    if (!waitUntil([&] { return !property(0, QStringLiteral("_XKB_RULES_NAMES")).isEmpty(); })) {
        m_failure = QStringLiteral("Xvfb does not answer on ") + m_display;
        return false;
    }

    if (m_options.accessibility) {
        // A bus at a path (not an abstract socket): programs in network namespaces reach
        // path sockets only.
        const QString socket = m_dir.filePath(QStringLiteral("run/bus"));
        if (!m_bus.start(QStringLiteral("dbus-daemon"),
                         {QStringLiteral("--session"), QStringLiteral("--nofork"),
                          QStringLiteral("--address=unix:path=") + socket,
                          QStringLiteral("--print-address=1")},
                         environment()) ||
            !waitUntil([&] { return m_bus.output().contains('\n') || !m_bus.running(); }) ||
            !m_bus.running()) {
            m_failure = QStringLiteral("no session bus: ") + QString::fromLocal8Bit(m_bus.errors());
            return false;
        }
        m_busAddress = QStringLiteral("unix:path=") + socket;
        if (!m_atspi.start(atspiBusLauncher(), {QStringLiteral("--launch-immediately")},
                           environment())) {
            m_failure = QStringLiteral("no accessibility bus");
            return false;
        }
    }
    if (m_options.windowManager) {
        // Now and then the window manager fails to open a display that other clients
        // reach; a second start gets it.
        bool managed = false;
        for (int attempt = 0; attempt < 3 && !managed; ++attempt) {
            managed = m_wm.start(QStringLiteral("openbox"), {QStringLiteral("--sm-disable")},
                                 environment()) &&
                      waitUntil([&] {
                          return !m_wm.running() ||
                                 !property(0, QStringLiteral("_NET_SUPPORTING_WM_CHECK")).isEmpty();
                      }) &&
                      m_wm.running();
        }
        if (!managed) {
            m_failure = QStringLiteral("openbox does not manage the screen %1: ").arg(m_display) +
                        QString::fromLocal8Bit(m_wm.errors());
            return false;
        }
    }
    if (m_options.panel && !startPanel())
        return false;
    if (m_options.accessibility &&
        !waitUntil([&] { return QFile::exists(m_dir.filePath(QStringLiteral("run/at-spi"))); },
                   10000)) {
        m_failure = QStringLiteral("the accessibility bus did not come up");
        return false;
    }
    return true;
}

void DesktopStack::stop()
{
    m_panel.stop(2000);
    m_wm.stop(2000);
    m_atspi.stop(2000);
    m_bus.stop(2000);
    m_server.stop(2000);
}

QProcessEnvironment DesktopStack::environment() const
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("DISPLAY"), m_display);
    env.remove(QStringLiteral("WAYLAND_DISPLAY"));
    env.remove(QStringLiteral("XAUTHORITY"));
    env.remove(QStringLiteral("SESSION_MANAGER"));
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), m_dir.filePath(QStringLiteral("run")));
    if (!m_busAddress.isEmpty()) {
        env.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), m_busAddress);
        env.insert(QStringLiteral("QT_LINUX_ACCESSIBILITY_ALWAYS_ON"), QStringLiteral("1"));
        env.insert(QStringLiteral("NO_AT_BRIDGE"), QStringLiteral("0"));
    } else {
        env.remove(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"));
    }
    return env;
}

void DesktopStack::stopPanel()
{
    m_panel.stop(2000);
}

bool DesktopStack::startPanel(int height, const QString &edge)
{
    const QString config =
        writeFile(QStringLiteral("tint2rc-%1-%2").arg(height).arg(edge), panelConfig(height, edge));
    // Up when the window manager has left room for it in the work area. On a loaded machine
    // the first panel now and then never gets its room; a second one does.
    bool up = false;
    for (int attempt = 0; attempt < 2 && !up; ++attempt) {
        if (attempt > 0)
            m_panel.stop(2000);
        if (!m_panel.start(QStringLiteral("tint2"), {QStringLiteral("-c"), config},
                           environment())) {
            m_failure = QStringLiteral("tint2 does not start");
            return false;
        }
        up = !m_options.windowManager || waitUntil([&] {
            const QRect area = workArea();
            return edge == QLatin1String("top")
                       ? area.top() == height
                       : area.bottom() + 1 == m_options.screen.height() - height;
        });
    }
    if (!up) {
        m_failure = QStringLiteral("tint2 does not take its place: ") +
                    QString::fromLocal8Bit(m_panel.errors().right(2000));
        return false;
    }
    // Its window is there (the notification area with it).
    if (!waitUntil([&] {
            return !xdotool({QStringLiteral("search"), QStringLiteral("--class"),
                             QStringLiteral("tint2")})
                        .trimmed()
                        .isEmpty();
        })) {
        m_failure = QStringLiteral("tint2 shows no window");
        return false;
    }
    return true;
}

void DesktopStack::killServer()
{
    m_server.signal(SIGKILL);
    m_server.waitForExit(5000);
}

QByteArray DesktopStack::run(const QString &program, const QStringList &args, int timeoutMs) const
{
    QProcess p;
    p.setProcessEnvironment(environment());
    p.start(program, args);
    if (!p.waitForFinished(timeoutMs)) {
        p.kill();
        p.waitForFinished(1000);
    }
    return p.readAllStandardOutput();
}

QByteArray DesktopStack::xdotool(const QStringList &args) const
{
    return run(QStringLiteral("xdotool"), args);
}

void DesktopStack::key(const QString &keys) const
{
    xdotool(QStringList{QStringLiteral("key"), QStringLiteral("--delay"), QStringLiteral("20")} +
            keys.split(QLatin1Char(' '), Qt::SkipEmptyParts));
}

void DesktopStack::type(const QString &text) const
{
    xdotool({QStringLiteral("type"), QStringLiteral("--delay"), QStringLiteral("15"), text});
}

void DesktopStack::moveMouse(QPoint at) const
{
    xdotool({QStringLiteral("mousemove"), QString::number(at.x()), QString::number(at.y())});
}

void DesktopStack::click(QPoint at, int button, int repeat) const
{
    xdotool({QStringLiteral("mousemove"), QString::number(at.x()), QString::number(at.y()),
             QStringLiteral("click"), QStringLiteral("--repeat"), QString::number(repeat),
             QStringLiteral("--delay"), QStringLiteral("80"), QString::number(button)});
}

bool DesktopStack::activate(WId window) const
{
    xdotool({QStringLiteral("windowactivate"), QString::number(window)});
    return waitUntil([&] { return activeWindow() == window; }, 5000);
}

WId DesktopStack::activeWindow() const
{
    return xdotool({QStringLiteral("getactivewindow")}).trimmed().toUInt();
}

QList<WId> DesktopStack::windows(const QString &namePattern, bool onlyVisible) const
{
    QStringList args = {QStringLiteral("search")};
    if (onlyVisible)
        args << QStringLiteral("--onlyvisible");
    args << QStringLiteral("--name") << namePattern;
    QList<WId> ids;
    for (const QByteArray &line : xdotool(args).split('\n'))
        if (!line.trimmed().isEmpty())
            ids << line.trimmed().toUInt();
    return ids;
}

WId DesktopStack::waitForWindow(const QString &namePattern, int timeoutMs) const
{
    WId id = 0;
    waitUntil(
        [&] {
            id = windows(namePattern).value(0);
            return id != 0;
        },
        timeoutMs);
    return id;
}

QRect DesktopStack::geometry(WId window) const
{
    // xwininfo's absolute corner: xdotool adds the frame's offset once more to a window the
    // window manager framed.
    const QByteArray info =
        run(QStringLiteral("xwininfo"), {QStringLiteral("-id"), QString::number(window)});
    QRect r;
    for (const QByteArray &raw : info.split('\n')) {
        const QByteArray line = raw.trimmed();
        const qsizetype colon = line.indexOf(':');
        if (colon < 0)
            continue;
        const QByteArray key = line.left(colon);
        const int v = line.mid(colon + 1).trimmed().toInt();
        if (key == "Absolute upper-left X")
            r.moveLeft(v);
        else if (key == "Absolute upper-left Y")
            r.moveTop(v);
        else if (key == "Width")
            r.setWidth(v);
        else if (key == "Height")
            r.setHeight(v);
    }
    return r;
}

QByteArray DesktopStack::property(WId window, const QString &name) const
{
    QStringList args;
    if (window == 0)
        args << QStringLiteral("-root");
    else
        args << QStringLiteral("-id") << QString::number(window);
    args << name;
    const QByteArray out = run(QStringLiteral("xprop"), args).trimmed();
    if (out.contains("not found") || out.contains("no such atom"))
        return {};
    return out;
}

WmState DesktopStack::wmState(WId window) const
{
    // "WM_STATE(WM_STATE):\n\t\twindow state: Iconic\n..."
    const QByteArray out = property(window, QStringLiteral("WM_STATE"));
    if (out.contains("Normal"))
        return WmState::Normal;
    if (out.contains("Iconic"))
        return WmState::Iconic;
    if (out.contains("Withdrawn"))
        return WmState::Withdrawn;
    return WmState::None;
}

namespace {
QStringList atomList(const QByteArray &out)
{
    const qsizetype eq = out.indexOf('=');
    if (eq < 0)
        return {};
    QStringList atoms;
    for (const QByteArray &a : out.mid(eq + 1).split(','))
        if (!a.trimmed().isEmpty())
            atoms << QString::fromLatin1(a.trimmed());
    return atoms;
}
} // namespace

QStringList DesktopStack::netWmState(WId window) const
{
    return atomList(property(window, QStringLiteral("_NET_WM_STATE")));
}

QStringList DesktopStack::windowType(WId window) const
{
    return atomList(property(window, QStringLiteral("_NET_WM_WINDOW_TYPE")));
}

bool DesktopStack::urgent(WId window) const
{
    return property(window, QStringLiteral("WM_HINTS")).contains("urgency hint bit is set");
}

QString DesktopStack::windowName(WId window) const
{
    return QString::fromUtf8(xdotool({QStringLiteral("getwindowname"), QString::number(window)}))
        .trimmed();
}

QList<WId> DesktopStack::clients() const
{
    const QByteArray out = property(0, QStringLiteral("_NET_CLIENT_LIST"));
    QList<WId> ids;
    static const QRegularExpression hex(QStringLiteral("0x[0-9a-fA-F]+"));
    for (auto it = hex.globalMatch(QString::fromLatin1(out)); it.hasNext();)
        ids << it.next().captured().toUInt(nullptr, 16);
    return ids;
}

QList<WId> DesktopStack::taskbarWindows() const
{
    QList<WId> shown;
    for (WId w : clients()) {
        if (netWmState(w).contains(QStringLiteral("_NET_WM_STATE_SKIP_TASKBAR")))
            continue;
        const QStringList type = windowType(w);
        const bool special = std::any_of(type.begin(), type.end(), [](const QString &t) {
            return t.endsWith(QLatin1String("_DOCK")) || t.endsWith(QLatin1String("_DESKTOP")) ||
                   t.endsWith(QLatin1String("MENU")) || t.endsWith(QLatin1String("_TOOLTIP")) ||
                   t.endsWith(QLatin1String("_SPLASH"));
        });
        if (!special)
            shown << w;
    }
    return shown;
}

QRect DesktopStack::workArea() const
{
    const QByteArray out = property(0, QStringLiteral("_NET_WORKAREA"));
    const qsizetype eq = out.indexOf('=');
    const QList<QByteArray> v = out.mid(eq + 1).split(',');
    if (eq < 0 || v.size() < 4)
        return QRect(QPoint(0, 0), m_options.screen);
    return QRect(v[0].trimmed().toInt(), v[1].trimmed().toInt(), v[2].trimmed().toInt(),
                 v[3].trimmed().toInt());
}

// An XWD dump of a 24-bit ZPixmap screen as an image.
QImage DesktopStack::screenshot() const
{
    const QByteArray data =
        run(QStringLiteral("xwd"), {QStringLiteral("-root"), QStringLiteral("-silent")});
    if (data.size() < 100)
        return {};
    const auto field = [&](int i) {
        return qFromBigEndian<quint32>(reinterpret_cast<const uchar *>(data.constData()) + 4 * i);
    };
    const quint32 headerSize = field(0), width = field(4), height = field(5);
    const quint32 byteOrder = field(7), bytesPerLine = field(12);
    const quint32 bytesPerPixel = field(11) / 8;
    const quint32 colours = field(19);
    const qsizetype offset = qsizetype(headerSize) + qsizetype(colours) * 12;
    if ((bytesPerPixel != 3 && bytesPerPixel != 4) ||
        data.size() < offset + qsizetype(bytesPerLine) * height)
        return {};
    QImage image(int(width), int(height), QImage::Format_RGB32);
    for (quint32 y = 0; y < height; ++y) {
        const auto *row =
            reinterpret_cast<const uchar *>(data.constData()) + offset + y * bytesPerLine;
        auto *out = reinterpret_cast<QRgb *>(image.scanLine(int(y)));
        for (quint32 x = 0; x < width; ++x) {
            const uchar *p = row + bytesPerPixel * x;
            const quint32 v = byteOrder == 0
                                  ? quint32(p[0]) | quint32(p[1]) << 8 | quint32(p[2]) << 16
                                  : quint32(p[bytesPerPixel - 1]) |
                                        quint32(p[bytesPerPixel - 2]) << 8 |
                                        quint32(p[bytesPerPixel - 3]) << 16;
            out[x] = 0xFF000000u | v;
        }
    }
    return image;
}

QString DesktopStack::saveShot(const QImage &screen, const QRect &area, const QString &name)
{
    const QString folder =
        qEnvironmentVariable("TOLVEX_BINARY_DIR") + QStringLiteral("/screenshots");
    QDir().mkpath(folder);
    const QString path = folder + QLatin1Char('/') + name + QStringLiteral(".png");
    screen.copy(area.isNull() ? screen.rect() : area).save(path);
    return path;
}

QByteArray DesktopStack::atspi(const QStringList &args) const
{
    const QString script = writeFile(QStringLiteral("atspi.py"), kAtspiScript);
    return run(kPython, QStringList{script} + args, 30000);
}

QList<AccessibleNode> DesktopStack::accessibleTree(const QString &application) const
{
    QList<AccessibleNode> nodes;
    for (const QByteArray &line : atspi({QStringLiteral("tree"), application}).split('\n')) {
        const QList<QByteArray> f = line.split('\t');
        if (f.size() < 8)
            continue;
        AccessibleNode n;
        n.depth = f[0].toInt();
        n.role = QString::fromUtf8(f[1]);
        n.name = QString::fromUtf8(f[2]);
        n.description = QString::fromUtf8(f[3]);
        n.states = QString::fromUtf8(f[4]).split(QLatin1Char(','), Qt::SkipEmptyParts);
        n.actions = QString::fromUtf8(f[5]).split(QLatin1Char(','), Qt::SkipEmptyParts);
        const QList<QByteArray> e = f[6].split(' ');
        if (e.size() == 4)
            n.extents = QRect(e[0].toInt(), e[1].toInt(), e[2].toInt(), e[3].toInt());
        n.text = QString::fromUtf8(f[7]).replace(QStringLiteral("\\n"), QStringLiteral("\n"));
        nodes << n;
    }
    return nodes;
}

bool DesktopStack::accessibleAction(const QString &application, const QString &role,
                                    const QString &name) const
{
    return atspi({QStringLiteral("do"), application, role, name}).contains("done");
}

// ---- Program

QString Program::desktopProgram()
{
    // Another build's program may be tried against the suite.
    const QString chosen = qEnvironmentVariable("TOLVEX_DESKTOP_PROGRAM");
    if (!chosen.isEmpty())
        return chosen;
    return qEnvironmentVariable("TOLVEX_BINARY_DIR") + QStringLiteral("/src/tolvex");
}

bool Program::start(testnet::NetLab &lab, const QByteArray &host, const DesktopStack &stack,
                    const QList<QPair<QString, QString>> &env, const QString &program,
                    const QStringList &args)
{
    QProcessEnvironment e = stack.environment();
    for (const auto &[key, value] : env) {
        if (value.isEmpty())
            e.remove(key);
        else
            e.insert(key, value);
    }
    return m_process.start(QStringLiteral("ip"), lab.execArgs(host, QStringList{program} + args),
                           e);
}

} // namespace desktop
