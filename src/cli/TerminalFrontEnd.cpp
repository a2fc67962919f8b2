#include "cli/TerminalFrontEnd.h"

#include "app/SettingsFile.h"
#include "app/Support.h"
#include "cli/SendOnce.h"
#include "engine/Cp1252.h"
#include "engine/MessagingEngine.h"
#include "engine/TextRules.h"

#include <QCoreApplication>
#include <QItemSelectionModel>
#include <QSocketNotifier>
#include <QTimer>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <unistd.h>

namespace {

constexpr char kCommandHelp[] = QT_TRANSLATE_NOOP(
    "TerminalFrontEnd",
    "Commands:\n"
    "  TEXT                 send TEXT to the selected users (a | starts a new line)\n"
    "  //TEXT               send /TEXT\n"
    "  /to NAME[,NAME...]   select these users\n"
    "  /all                 select every user\n"
    "  /users               list the users (* marks the selected ones)\n"
    "  /channel NAME        change the active channel\n"
    "  /channels            list the known channels (* marks the active one)\n"
    "  /delete NAME         delete a channel from the list\n"
    "  /reload              forget everybody and announce again\n"
    "  /ip NAME             show the address of a user\n"
    "  /reach [ADDR]        list the other networks presence goes to, or add one\n"
    "  /reach -ADDR         remove one from that list\n"
    "  /help                show these commands\n"
    "  /quit                leave the network, save the settings and exit\n");

// The user list is printed once the burst of changes that one datagram or one event
// brings is over, not once per row.
constexpr int kUserListDelayMs = 20;

// How often the configured interface is looked for; the engine itself looks once a tick.
constexpr int kInterfaceWatchMs = 1000;

} // namespace

QByteArray TerminalFrontEnd::CommandHelp()
{
    return QCoreApplication::translate("TerminalFrontEnd", kCommandHelp).toLocal8Bit();
}

TerminalFrontEnd::TerminalFrontEnd(SettingsValues &settings, const EngineSeams &seams,
                                   TerminalOptions options, Writer out, Writer err, QObject *parent)
    : QObject(parent), m_settings(settings), m_options(std::move(options)), m_out(std::move(out)),
      m_err(std::move(err)), m_engine(std::make_unique<MessagingEngine>(*this, settings, seams))
{
    // A terminal user is always "in the program": a message only picks its sender as the
    // recipient when nobody is selected.
    m_engine->AppOnActivate();

    // Arrivals and departures are printed as they come; the whole list, which may hold
    // thousands, only when the selection changes or on /users.
    UserList &users = m_engine->users();
    connect(&users, &QAbstractItemModel::rowsInserted, this,
            [this](const QModelIndex &, int first, int last) { noteJoined(first, last); });
    connect(&users, &QAbstractItemModel::rowsAboutToBeRemoved, this,
            [this](const QModelIndex &, int first, int last) { noteLeaving(first, last); });
    connect(&users, &QAbstractItemModel::modelAboutToBeReset, this, [this] {
        const UserList &list = m_engine->users();
        m_beforeReset.clear();
        for (int row = 0; row < list.count(); ++row)
            m_beforeReset.insert(list.at(row)->Id, list.at(row)->Name);
    });
    connect(&users, &QAbstractItemModel::modelReset, this, &TerminalFrontEnd::noteReset);
    connect(users.selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] {
        m_selectionChanged = true;
        scheduleUserList();
    });
    connect(m_engine.get(), &MessagingEngine::settingsLoaded, this,
            &TerminalFrontEnd::applyOptions);
    m_engine->setSaveFilter([this](SettingsValues &values, ChannelSettings &channels) {
        keepStoredValues(values, channels);
    });
    connect(m_engine.get(), &MessagingEngine::activeChannelChanged, this,
            [this](const QByteArray &channel) { say("channel: " + display(channel)); });
    // A copy whose address went away goes quiet; the user hears why, once, and once more
    // when it is back.
    connect(m_engine.get(), &MessagingEngine::interfacePresenceChanged, this,
            [this](bool present, const QByteArray &interface) {
                say(present ? "the network interface " + display(interface) + " is back"
                            : "the network interface " + display(interface) +
                                  " is gone: nothing is sent or received until it is back");
            });
    connect(&m_engine->targets(), &PresenceTargets::unresolved, this,
            [this](const QByteArray &name) {
                say("the host name " + display(name) +
                    " of the other networks does not resolve; it is tried again every 30 s");
            });
    m_interfaceWatch = new QTimer(this);
    m_interfaceWatch->setInterval(kInterfaceWatchMs);
    connect(m_interfaceWatch, &QTimer::timeout, m_engine.get(), &MessagingEngine::checkInterface);
    m_interfaceWatch->start();
}

// The engine goes after the members declared below it and tells nobody as it drops its peers.
TerminalFrontEnd::~TerminalFrontEnd() = default;

void TerminalFrontEnd::start()
{
    m_engine->FormCreate(false);
}

void TerminalFrontEnd::applyOptions()
{
    m_stored = m_settings;
    m_storedChannelText = m_engine->ChannelBox().text();
    for (const auto &[target, problem] : applyTerminalOptions(m_options, m_settings, *m_engine)) {
        if (problem.isEmpty())
            m_runOnlyTargets.append(target.trimmed());
        else if (!problem.endsWith("listed already"))
            say("--reach " + display(target) + ": " + problem);
    }
    if (m_settings.UserName.isEmpty())
        say("warning: the user name is empty, so this copy announces nothing: nobody can "
            "list it or write to it (give a name with --name, or set Name in " +
            (m_settings.Path.isEmpty() ? QByteArray("the settings file")
                                       : m_settings.Path.toLocal8Bit()) +
            ")");
}

void TerminalFrontEnd::keepStoredValues(SettingsValues &values, ChannelSettings &channels) const
{
    // Only the copy that is written changes: the choices of the command line hold until
    // the very end of the run.
    if (!m_stored)
        return;
    if (!m_options.name.isEmpty())
        values.UserName = m_stored->UserName;
    if (!m_options.port.isEmpty())
        values.Port = m_stored->Port;
    if (!m_options.interfaceAddr.isEmpty())
        values.Interface = m_stored->Interface;
    values.Targets.removeIf([this](const QByteArray &target) {
        return std::any_of(m_runOnlyTargets.begin(), m_runOnlyTargets.end(),
                           [&target](const QByteArray &only) {
                               return only.compare(target.trimmed(), Qt::CaseInsensitive) == 0;
                           });
    });
    // A channel chosen on the command line is forgotten unless the user changed the channel
    // afterwards.
    if (!m_options.channel.isEmpty() && channels.text == m_engine->ActiveChannel() &&
        m_engine->ActiveChannel() == TextRules::separatorToDash(m_options.channel))
        channels.text = m_storedChannelText;
}

// ---------------------------------------------------------------------------------------
// Input

void TerminalFrontEnd::readFrom(int fd)
{
    m_inputFd = fd;
    m_input = new QSocketNotifier(fd, QSocketNotifier::Read, this);
    connect(m_input, &QSocketNotifier::activated, this, &TerminalFrontEnd::onInputReady);
}

void TerminalFrontEnd::onInputReady()
{
    char buffer[4096];
    const ssize_t got = ::read(m_inputFd, buffer, sizeof(buffer));
    if (got < 0 && (errno == EINTR || errno == EAGAIN))
        return;
    if (got <= 0) {
        m_inputEnded = true;
        m_input->setEnabled(false);
        if (m_dropping || !m_partial.isEmpty())
            endOfLine();
        // The end of input ends the run, after the lines before it.
        takeLine("/quit");
        return;
    }
    // Only the bytes just read are searched, and a line is kept up to a bound: a line
    // without end must cost neither memory nor time without limit.
    const char *next = buffer;
    qsizetype left = got;
    while (left > 0) {
        const auto *newline = static_cast<const char *>(std::memchr(next, '\n', size_t(left)));
        const qsizetype length = newline ? newline - next : left;
        if (m_dropping) {
            m_droppedLineBytes += length;
        } else if (m_partial.size() + length > kMaxLineBytes) {
            m_droppedLineBytes = m_partial.size() + length;
            m_partial.clear();
            m_dropping = true;
        } else {
            m_partial.append(next, length);
        }
        if (!newline)
            break;
        endOfLine();
        next = newline + 1;
        left -= length + 1;
    }
    // A fast input (a file) waits while the typed lines are worked through.
    if (m_lines.size() >= kMaxWaitingLines)
        m_input->setEnabled(false);
}

void TerminalFrontEnd::endOfLine()
{
    if (m_dropping) {
        say("input line too long: " + QByteArray::number(m_droppedLineBytes) +
            " bytes dropped (a line holds at most " + QByteArray::number(kMaxLineBytes) +
            " bytes, a message at most 1000 characters)");
        m_dropping = false;
        m_droppedLineBytes = 0;
        return;
    }
    QByteArray line = std::exchange(m_partial, {});
    if (line.endsWith('\r'))
        line.chop(1);
    takeLine(line);
}

void TerminalFrontEnd::takeLine(const QByteArray &line)
{
    m_lines.append(line);
    scheduleNextLine();
}

void TerminalFrontEnd::scheduleNextLine()
{
    // Each line waits until the events of the one before (its queued chat line above all)
    // have been handled, so a following "/to" cannot redirect that line.
    if (m_lineScheduled || m_lines.isEmpty() || m_shutDown)
        return;
    m_lineScheduled = true;
    QMetaObject::invokeMethod(this, &TerminalFrontEnd::processNextLine, Qt::QueuedConnection);
}

void TerminalFrontEnd::processNextLine()
{
    m_lineScheduled = false;
    if (m_lines.isEmpty() || m_shutDown)
        return;
    const QByteArray line = m_lines.takeFirst();
    if (m_input && !m_inputEnded && !m_input->isEnabled() && m_lines.size() < kMaxWaitingLines / 2)
        m_input->setEnabled(true);
    if (line.startsWith('/') && !line.startsWith("//")) {
        const qsizetype blank = line.indexOf(' ');
        const QByteArray command = blank < 0 ? line : line.left(blank);
        const QByteArray argument = blank < 0 ? QByteArray() : line.mid(blank + 1).trimmed();
        runCommand(command, argument);
    } else {
        const QByteArray typed = line.startsWith("//") ? line.mid(1) : line;
        // A line is sent whole or not at all: never with "?" for what the code page lacks,
        // never cut behind the user's back.
        QString reason;
        const QString unicode = QString::fromLocal8Bit(typed);
        const std::optional<QByteArray> text = SendOnce::prepareText(unicode, &reason);
        if (!text) {
            if (!TextRules::trimTrailingBlanks(typed).isEmpty())
                say(reason.toLocal8Bit());
        } else if (!m_engine->users().selectionModel()->hasSelection()) {
            say("nobody is selected: use /to NAME or /all");
        } else {
            m_engine->postQueueMessage(*text);
        }
    }
    scheduleNextLine();
}

void TerminalFrontEnd::runCommand(const QByteArray &command, const QByteArray &argument)
{
    const QByteArray bytes = Cp1252::fromUnicode(QString::fromLocal8Bit(argument));
    if (command == "/to") {
        selectUsers(bytes);
    } else if (command == "/all") {
        UserList &users = m_engine->users();
        if (users.count() > 0)
            users.selectionModel()->select(
                QItemSelection(users.index(0), users.index(users.count() - 1)),
                QItemSelectionModel::ClearAndSelect);
    } else if (command == "/users") {
        m_lastUserList.clear();
        printUsers();
    } else if (command == "/channel") {
        if (!m_engine->ChannelBox().isEnabled()) {
            say("channel changes are locked by the settings file");
            return;
        }
        m_engine->ChannelBox().setText(bytes);
        m_engine->ChannelBoxSelect();
    } else if (command == "/channels") {
        printChannels();
    } else if (command == "/delete") {
        switch (m_engine->deleteChannel(bytes)) {
        case MessagingEngine::ChannelDeletion::Deleted:
            say("channel " + display(bytes) + " deleted");
            break;
        case MessagingEngine::ChannelDeletion::NotListed:
            say("no channel " + display(bytes) + " in the list");
            break;
        case MessagingEngine::ChannelDeletion::IsDefault:
            say("channel " + display(bytes) + " cannot be deleted");
            break;
        case MessagingEngine::ChannelDeletion::IsActive:
            say("channel " + display(bytes) + " is the active one: change the channel first");
            break;
        }
    } else if (command == "/reload") {
        m_engine->ReloadListClick();
    } else if (command == "/ip") {
        const UserList &users = m_engine->users();
        bool found = false;
        for (int row = 0; row < users.count(); ++row) {
            if (users.at(row)->Name == bytes) {
                m_out(display(users.at(row)->Name) + " " + users.at(row)->Addr + "\n");
                found = true;
            }
        }
        if (!found)
            say("no user " + display(bytes));
    } else if (command == "/reach") {
        reach(bytes);
    } else if (command == "/quit") {
        shutdown();
    } else if (command == "/help") {
        m_err(CommandHelp());
    } else {
        say("unknown command " + display(command) + " (try /help)");
    }
}

void TerminalFrontEnd::reach(const QByteArray &argument)
{
    if (argument.isEmpty()) {
        PresenceTargets &targets = m_engine->targets();
        if (targets.isEmpty()) {
            say("no other networks: presence goes to the local broadcast only");
            return;
        }
        for (const QByteArray &target : targets.list()) {
            const QByteArray addr = targets.addressOf(target);
            m_out("reach: " + target +
                  (addr == target   ? QByteArray()
                   : addr.isEmpty() ? " (unresolved)"
                                    : " " + addr) +
                  "\n");
        }
        return;
    }
    if (argument.startsWith('-')) {
        const QByteArray target = argument.mid(1).trimmed();
        m_runOnlyTargets.removeIf(
            [&target](const QByteArray &t) { return t.compare(target, Qt::CaseInsensitive) == 0; });
        if (m_engine->removeTarget(target))
            say("reach: " + display(target) + " removed");
        else
            say("reach: " + display(target) + " is not in the list");
        return;
    }
    const QByteArray problem = m_engine->addTarget(argument);
    // Added by hand: it stays in the saved list, also when --reach named it.
    m_runOnlyTargets.removeIf([&argument](const QByteArray &t) {
        return t.compare(argument.trimmed(), Qt::CaseInsensitive) == 0;
    });
    if (problem.isEmpty())
        say("reach: " + display(argument.trimmed()) + " added");
    else
        say("reach: " + display(problem));
}

void TerminalFrontEnd::selectUsers(const QByteArray &names)
{
    UserList &users = m_engine->users();
    QItemSelection selection;
    for (const QByteArray &wanted : names.split(',')) {
        const QByteArray name = wanted.trimmed();
        if (name.isEmpty())
            continue;
        bool found = false;
        for (int row = 0; row < users.count(); ++row) {
            if (users.at(row)->Name == name) {
                selection.select(users.index(row), users.index(row));
                found = true;
            }
        }
        if (!found)
            say("no user " + display(name));
    }
    users.selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
}

void TerminalFrontEnd::shutdown()
{
    if (m_shutDown)
        return;
    m_shutDown = true;
    if (m_input)
        m_input->setEnabled(false);
    m_engine->FormClose();
    emit finished();
}

// ---------------------------------------------------------------------------------------
// Output

QList<std::pair<QByteArray, QByteArray>> applyTerminalOptions(const TerminalOptions &options,
                                                              SettingsValues &settings,
                                                              MessagingEngine &engine)
{
    // The same rule as the configuration dialog: a name travels inside one field.
    if (!options.name.isEmpty())
        settings.UserName = TextRules::separatorToDash(options.name);
    if (!options.port.isEmpty())
        settings.Port = options.port;
    if (!options.interfaceAddr.isEmpty())
        settings.Interface = options.interfaceAddr;
    if (!options.channel.isEmpty())
        engine.selectChannelQuietly(options.channel);
    QList<std::pair<QByteArray, QByteArray>> added;
    for (const QByteArray &target : options.targets)
        added.append({target, engine.addTarget(target)});
    return added;
}

QByteArray TerminalFrontEnd::display(const QByteArray &bytes)
{
    return terminalText(bytes);
}

QByteArray terminalText(const QByteArray &bytes)
{
    // Text from the network never reaches the terminal as control sequences.
    QString text = Cp1252::toUnicode(bytes);
    for (QChar &c : text) {
        if (c.category() == QChar::Other_Control)
            c = QLatin1Char('?');
    }
    return text.toLocal8Bit();
}

QByteArray terminalBoxText(EngineWindows::Box kind, const QByteArray &text)
{
    QByteArray line = text;
    line.replace("\r\n", " ");
    const QByteArray prefix = MessagingEngine::errorPrefix();
    if (kind == EngineWindows::Box::Error && line.startsWith(prefix))
        line.remove(0, prefix.size());
    return terminalText(line);
}

void TerminalFrontEnd::say(const QByteArray &text)
{
    m_err(text + "\n");
}

void TerminalFrontEnd::AddMessage(const QByteArray &name, const QByteArray &text, quint32, quint32,
                                  bool outgoing)
{
    const QByteArray head = display(name) + (outgoing ? "< " : "> ");
    const QByteArray indent(Cp1252::toUnicode(name).size() + 2, ' ');
    QByteArray normalized = text;
    normalized.replace("\r\n", "\n").replace('\r', '\n');
    const QList<QByteArray> lines = normalized.split('\n');
    QByteArray entry;
    for (qsizetype i = 0; i < lines.size(); ++i)
        entry += (i == 0 ? head : indent) + display(lines.at(i)) + "\n";
    m_out(entry);
}

void TerminalFrontEnd::attention()
{
    if (::isatty(STDERR_FILENO))
        m_err("\a");
}

bool TerminalFrontEnd::messageBox(Box kind, const QByteArray &text)
{
    say((kind == Box::Error ? "error: " : "") + terminalBoxText(kind, text));
    return false;
}

void TerminalFrontEnd::scheduleUserList()
{
    if (m_userListScheduled)
        return;
    m_userListScheduled = true;
    QTimer::singleShot(kUserListDelayMs, this, &TerminalFrontEnd::flushUserChanges);
}

void TerminalFrontEnd::noteJoined(int first, int last)
{
    const UserList &users = m_engine->users();
    for (int row = first; row <= last; ++row)
        m_changes.append("joined: " + display(users.at(row)->Name));
    scheduleUserList();
}

void TerminalFrontEnd::noteLeaving(int first, int last)
{
    const UserList &users = m_engine->users();
    for (int row = first; row <= last; ++row)
        m_changes.append("left: " + display(users.at(row)->Name));
    scheduleUserList();
}

void TerminalFrontEnd::noteReset()
{
    // A reset drops many peers at once (an expiry); who went is what was listed before and
    // is not now.
    const UserList &users = m_engine->users();
    QHash<quint64, QByteArray> before = std::exchange(m_beforeReset, {});
    QList<QByteArray> joined;
    for (int row = 0; row < users.count(); ++row) {
        if (before.remove(users.at(row)->Id) == 0)
            joined.append("joined: " + display(users.at(row)->Name));
    }
    for (const QByteArray &name : std::as_const(before))
        m_changes.append("left: " + display(name));
    m_changes += joined;
    scheduleUserList();
}

void TerminalFrontEnd::flushUserChanges()
{
    m_userListScheduled = false;
    if (!m_changes.isEmpty()) {
        m_out(std::exchange(m_changes, {}).join('\n') + '\n');
        m_lastUserList.clear();
    }
    if (std::exchange(m_selectionChanged, false))
        printUsers();
}

void TerminalFrontEnd::printUsers()
{
    const UserList &users = m_engine->users();
    QByteArray line = "users:";
    if (users.isEmpty())
        line += " (none)";
    for (int row = 0; row < users.count(); ++row) {
        line += (row == 0 ? " " : ", ") + display(users.at(row)->Name);
        if (users.isSelected(row))
            line += '*';
    }
    line += '\n';
    if (line == m_lastUserList)
        return;
    m_lastUserList = line;
    m_out(line);
}

void TerminalFrontEnd::printChannels()
{
    const ChannelList &channels = m_engine->ChannelBox();
    QByteArray line = "channels:";
    for (int row = 0; row < channels.count(); ++row) {
        line += (row == 0 ? " " : ", ") + display(channels.item(row));
        if (channels.item(row) == m_engine->ActiveChannel())
            line += '*';
    }
    if (m_engine->ChannelBox().findExact(m_engine->ActiveChannel()) < 0)
        line += " (active: " + display(m_engine->ActiveChannel()) + ")";
    m_out(line + "\n");
}
