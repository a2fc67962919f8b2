// tolvex-cli: the messaging engine for terminals and servers.
#include "app/Language.h"
#include "app/Support.h"
#include "cli/OutputPipe.h"
#include "cli/SendOnce.h"
#include "cli/TerminalFrontEnd.h"
#include "engine/Cp1252.h"
#include "engine/MessagingEngine.h"
#include "net/WSocketResolve.h"
#include "platform/InterfaceAddresses.h"
#include "platform/SessionEnd.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <optional>
#include <unistd.h>

namespace {

// What is still queued for the terminal when the run ends gets this long to go out.
constexpr int kFinalFlushMs = 2000;

int refuse(const QString &message)
{
    std::fprintf(stderr, "tolvex-cli: %s\n", qPrintable(message));
    return 2;
}

/// The address to use for an --interface value: a dotted IPv4 address, or the IPv4 address
/// of a device name; the interface table is read, never the name service.
std::optional<QByteArray> interfaceAddress(const QByteArray &value, QString *error)
{
    if (IsDottedIP(value))
        return value.trimmed();
    const InterfaceAddresses::Device device = InterfaceAddresses::device(value);
    if (device.exists && !device.addr.isEmpty())
        return device.addr;
    *error =
        device.exists
            ? QCoreApplication::translate("CliMain", "the network device %1 has no IPv4 address")
                  .arg(QString::fromLocal8Bit(value))
            : QCoreApplication::translate("CliMain",
                                          "invalid interface \"%1\": give the IPv4 address of a "
                                          "network interface of this computer or its device name "
                                          "(\"ip -4 addr\" lists them)")
                  .arg(QString::fromLocal8Bit(value));
    return std::nullopt;
}

/// Standard input whole, for a message: at most limit bytes are read, so an endless input
/// is refused as too long rather than held. nullopt when it cannot be read.
std::optional<QByteArray> readInput(qsizetype limit)
{
    QByteArray data;
    char buffer[4096];
    while (data.size() <= limit) {
        const ssize_t got = ::read(STDIN_FILENO, buffer, sizeof(buffer));
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return std::nullopt;
        if (got == 0)
            break;
        data.append(buffer, got);
    }
    return data;
}

/// Seconds as milliseconds: a decimal number from 0 to 3600.
std::optional<int> waitMs(const QString &value)
{
    bool ok = false;
    const double seconds = value.toDouble(&ok);
    if (!ok || !(seconds >= 0 && seconds <= 3600))
        return std::nullopt;
    return int(seconds * 1000 + 0.5);
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("tolvex-cli"));
    Language::install(app, QStringLiteral("tolvex-cli"));

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QCoreApplication::translate(
            "CliMain",
            "Serverless LAN chat in a terminal: every copy on the network's port is a peer.\n"
            "\n"
            "Prints \"joined: NAME\" and \"left: NAME\" as users come and go, the user list\n"
            "when the selection changes (\"users: ann*, bob\", * marks the selected users,\n"
            "who receive what you type) and every message as a line: \"ann> hello\" for one\n"
            "received from ann, \"ann< hello\" for one sent to ann; further lines of a\n"
            "message are indented. Notices and errors go to standard error.\n"
            "\n"
            "Reads standard input line by line. ") +
        QString::fromLocal8Bit(TerminalFrontEnd::CommandHelp()) +
        QCoreApplication::translate(
            "CliMain",
            "The end of input, SIGINT, SIGTERM, SIGHUP and a closed standard output act like\n"
            "/quit.\n"
            "\n"
            "Defaults come from the desktop program's settings file; the options below hold\n"
            "for this run only and are not saved. Channels heard from others and /channel\n"
            "changes are saved as the desktop program saves them, and so is the list of other\n"
            "networks that /reach changes.\n"
            "\n"
            "Other subnets: a copy hears only its own broadcast domain. To reach the copies\n"
            "on 192.168.2.x from 192.168.1.x, run here with --reach 192.168.2.255 and there\n"
            "with --reach 192.168.1.255 (both sides need each other), or name single hosts."));
    parser.addHelpOption();
    const QCommandLineOption nameOption(
        QStringLiteral("name"), QCoreApplication::translate("CliMain", "User name to announce."),
        QStringLiteral("N"));
    const QCommandLineOption channelOption(
        QStringLiteral("channel"), QCoreApplication::translate("CliMain", "Channel to join."),
        QStringLiteral("C"));
    const QCommandLineOption interfaceOption(
        QStringLiteral("interface"),
        QCoreApplication::translate(
            "CliMain", "Own IPv4 address of the network interface to use, or its device name."),
        QStringLiteral("ADDR"));
    const QCommandLineOption portOption(
        QStringLiteral("port"),
        QCoreApplication::translate("CliMain",
                                    "UDP port of the network, 1 to 65535 (default 5040)."),
        QStringLiteral("P"));
    const QCommandLineOption configOption(
        QStringLiteral("config"),
        QCoreApplication::translate("CliMain",
                                    "Settings file to use instead of the desktop program's."),
        QStringLiteral("FILE"));
    const QCommandLineOption reachOption(
        QStringLiteral("reach"),
        QCoreApplication::translate(
            "CliMain", "Another network to send presence to, besides the local broadcast: its "
                       "broadcast address (192.168.2.255) or a host (10.8.0.14, "
                       "gw.example.org); repeatable, at most 64. The copies there need this "
                       "network in their own lists too (--reach 192.168.1.255), or they drop "
                       "you after 75 s."),
        QStringLiteral("ADDR"));
    const QCommandLineOption sendOption(
        QStringLiteral("send"),
        QCoreApplication::translate(
            "CliMain", "Send one message and end: TEXT, or standard input when TEXT is absent "
                       "or \"-\" (exit status 0 sent, 1 a recipient not found, 2 refused, 3 "
                       "network unusable; see the manual page)."));
    const QCommandLineOption toOption(
        QStringLiteral("to"),
        QCoreApplication::translate("CliMain", "With --send: the recipients, by user name."),
        QStringLiteral("NAME[,NAME...]"));
    const QCommandLineOption allOption(
        QStringLiteral("all"),
        QCoreApplication::translate("CliMain", "With --send: every user who answers."));
    const QCommandLineOption waitOption(
        QStringLiteral("wait"),
        QCoreApplication::translate(
            "CliMain", "With --send: seconds to collect the answers (default 4; less once "
                       "every recipient answered)."),
        QStringLiteral("SECONDS"));
    const QCommandLineOption saveOption(
        QStringLiteral("save"),
        QCoreApplication::translate(
            "CliMain", "With --send: save the settings as the run leaves them (nothing is "
                       "written otherwise)."));
    parser.addOptions({nameOption, channelOption, interfaceOption, portOption, configOption,
                       sendOption, toOption, allOption, waitOption, saveOption, reachOption});
    parser.addPositionalArgument(
        QStringLiteral("TEXT"),
        QCoreApplication::translate("CliMain", "With --send: the message (\"|\" starts a new "
                                               "line)."),
        QStringLiteral("[TEXT]"));
    // Our own statuses for a bad command line: 1 means a recipient not found.
    if (!parser.parse(QCoreApplication::arguments()))
        return refuse(parser.errorText() + QCoreApplication::translate("CliMain", " (see --help)"));
    if (parser.isSet(QStringLiteral("help")))
        parser.showHelp(0);
    const bool sending = parser.isSet(sendOption);
    for (const QCommandLineOption *option : {&toOption, &allOption, &waitOption, &saveOption}) {
        if (!sending && parser.isSet(*option))
            return refuse(QCoreApplication::translate("CliMain", "--%1 goes with --send")
                              .arg(option->names().first()));
    }
    if (!sending && !parser.positionalArguments().isEmpty()) {
        return refuse(QCoreApplication::translate("CliMain", "unexpected argument %1 (see --help)")
                          .arg(parser.positionalArguments().first()));
    }

    TerminalOptions options;
    options.name = Cp1252::fromUnicode(parser.value(nameOption));
    options.channel = Cp1252::fromUnicode(parser.value(channelOption));
    if (parser.isSet(portOption)) {
        options.port = parser.value(portOption).toLatin1();
        if (!PortNumber(options.port))
            return refuse(QCoreApplication::translate(
                              "CliMain", "invalid port \"%1\": a port is a number from 1 to 65535")
                              .arg(parser.value(portOption)));
    }
    for (const QString &target : parser.values(reachOption)) {
        const QByteArray problem = PresenceTargets::problem(target.toLatin1());
        if (!problem.isEmpty())
            return refuse(QCoreApplication::translate("CliMain", "invalid --reach %1: %2")
                              .arg(target, QString::fromLatin1(problem)));
        options.targets.append(target.toLatin1());
    }
    if (options.targets.size() > PresenceTargets::kMaxTargets)
        return refuse(QCoreApplication::translate("CliMain", "at most %1 --reach targets")
                          .arg(PresenceTargets::kMaxTargets));
    if (parser.isSet(interfaceOption)) {
        QString error;
        const std::optional<QByteArray> addr =
            interfaceAddress(parser.value(interfaceOption).toLocal8Bit(), &error);
        if (!addr)
            return refuse(error);
        options.interfaceAddr = *addr;
    }

    // The caller's values: the front-end and its engine work on them, and the settings
    // file routines read and write them.
    // Only once the command line is known to be usable: finding the path makes its folder.
    const auto settingsPath = [&] {
        return parser.isSet(configOption)
                   ? QDir::current().absoluteFilePath(parser.value(configOption))
                   : SettingsFilePath(QStringLiteral("tolvex"));
    };
    SettingsValues settings;

    if (sending) {
        SendRequest request;
        request.options = options;
        if (parser.isSet(toOption) == parser.isSet(allOption))
            return refuse(QCoreApplication::translate(
                "CliMain", "--send needs the recipients: --to NAME[,NAME...] or "
                           "--all"));
        request.all = parser.isSet(allOption);
        for (const QString &value : parser.values(toOption)) {
            for (const QString &name : value.split(QLatin1Char(','))) {
                const QByteArray bytes = Cp1252::fromUnicode(name.trimmed());
                if (!bytes.isEmpty() && !request.recipients.contains(bytes))
                    request.recipients.append(bytes);
            }
        }
        if (!request.all && request.recipients.isEmpty())
            return refuse(QCoreApplication::translate("CliMain", "--to names nobody"));
        if (parser.isSet(waitOption)) {
            const std::optional<int> ms = waitMs(parser.value(waitOption));
            if (!ms)
                return refuse(QCoreApplication::translate(
                                  "CliMain", "invalid wait \"%1\": give seconds from 0 to 3600")
                                  .arg(parser.value(waitOption)));
            request.waitMs = *ms;
        }
        const QStringList words = parser.positionalArguments();
        if (words.size() > 1)
            return refuse(QCoreApplication::translate(
                "CliMain", "the message is one argument: put it in quotes, or "
                           "give it on standard input"));
        QString text;
        if (words.isEmpty() || words.first() == QLatin1String("-")) {
            // Far more than a message holds, so that a long one is refused by its length.
            const std::optional<QByteArray> input = readInput(64 * 1024);
            if (!input)
                return refuse(
                    QCoreApplication::translate("CliMain", "standard input cannot be read"));
            text = QString::fromLocal8Bit(*input);
        } else {
            text = words.first();
        }
        QString reason;
        const std::optional<QByteArray> wire = SendOnce::prepareText(text, &reason);
        if (!wire)
            return refuse(reason);
        request.text = *wire;

        // Without --save the run works on a copy of the settings file, so that loading
        // (which rewrites a file of another version) and leaving write nothing of the
        // user's.
        settings.Path = settingsPath();
        QTemporaryDir scratch;
        if (!parser.isSet(saveOption)) {
            if (!scratch.isValid())
                return refuse(
                    QCoreApplication::translate("CliMain", "no temporary folder for the settings"));
            const QString copy = scratch.filePath(QStringLiteral("tolvex.ini"));
            if (QFile::exists(settings.Path))
                QFile::copy(settings.Path, copy);
            settings.Path = copy;
        }
        ::signal(SIGPIPE, SIG_IGN);
        SendOnce send(
            settings, EngineSeams::system(), request,
            [](const QByteArray &b) { std::fwrite(b.constData(), 1, size_t(b.size()), stdout); },
            [](const QByteArray &b) { std::fwrite(b.constData(), 1, size_t(b.size()), stderr); });
        // A signal ends the wait early: the message goes to whoever answered so far.
        SessionEnd signalWatch;
        QObject::connect(&signalWatch, &SessionEnd::requested, &send, [&send] { send.stop(); });
        QObject::connect(&send, &SendOnce::finished, &app, &QCoreApplication::quit,
                         Qt::QueuedConnection);
        send.start();
        QCoreApplication::exec();
        std::fflush(stdout);
        return send.status();
    }

    settings.Path = settingsPath();

    // Before the first write. A closed terminal or ssh session (SIGHUP) ends the run as a
    // request to stop does; a reader that went away shows as a failed write, which ends the
    // run cleanly, where SIGPIPE would kill it before it could leave the network.
    SessionEnd signalWatch;
    ::signal(SIGPIPE, SIG_IGN);
    OutputPipe out(STDOUT_FILENO);
    OutputPipe err(STDERR_FILENO);
    TerminalFrontEnd frontEnd(
        settings, EngineSeams::system(), options, [&out](const QByteArray &b) { out.write(b); },
        [&err](const QByteArray &b) { err.write(b); });
    QObject::connect(&signalWatch, &SessionEnd::requested, &frontEnd, &TerminalFrontEnd::shutdown);
    // Nobody reads what the program prints any more: the run ends as /quit ends it.
    QObject::connect(&out, &OutputPipe::closed, &frontEnd, &TerminalFrontEnd::shutdown);
    QObject::connect(&frontEnd, &TerminalFrontEnd::finished, &app, &QCoreApplication::quit,
                     Qt::QueuedConnection);
    frontEnd.start();
    frontEnd.readFrom(STDIN_FILENO);
    const int status = QCoreApplication::exec();
    out.flush(kFinalFlushMs);
    err.flush(kFinalFlushMs);
    return status;
}
