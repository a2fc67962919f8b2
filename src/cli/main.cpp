// tolvex-cli: the messaging engine for terminals and servers.
#include "app/Support.h"
#include "cli/TerminalFrontEnd.h"
#include "cli/TerminalSignals.h"
#include "engine/Cp1252.h"
#include "engine/MessagingEngine.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <cstdio>
#include <unistd.h>

namespace {

void writeTo(FILE *stream, const QByteArray &bytes)
{
    std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), stream);
    std::fflush(stream);
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("tolvex-cli"));

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral(
            "Serverless LAN chat in a terminal: every copy on the network's port is a peer.\n"
            "\n"
            "Prints the user list when it changes (\"users: ann*, bob\", * marks the selected\n"
            "users, who receive what you type) and every message as a line: \"ann> hello\" for\n"
            "one received from ann, \"ann< hello\" for one sent to ann; further lines of a\n"
            "message are indented. Notices and errors go to standard error.\n"
            "\n"
            "Reads standard input line by line. ") +
        QString::fromLatin1(TerminalFrontEnd::CommandHelp()) +
        QStringLiteral(
            "The end of input, SIGINT and SIGTERM act like /quit.\n"
            "\n"
            "Defaults come from the desktop program's settings file; the options below hold\n"
            "for this run only and are not saved. Channels heard from others and /channel\n"
            "changes are saved as the desktop program saves them."));
    parser.addHelpOption();
    const QCommandLineOption nameOption(
        QStringLiteral("name"), QStringLiteral("User name to announce."), QStringLiteral("N"));
    const QCommandLineOption channelOption(QStringLiteral("channel"),
                                           QStringLiteral("Channel to join."), QStringLiteral("C"));
    const QCommandLineOption interfaceOption(
        QStringLiteral("interface"),
        QStringLiteral("Own IPv4 address of the network interface to use."),
        QStringLiteral("ADDR"));
    const QCommandLineOption portOption(QStringLiteral("port"),
                                        QStringLiteral("UDP port of the network (default 5040)."),
                                        QStringLiteral("P"));
    const QCommandLineOption configOption(
        QStringLiteral("config"),
        QStringLiteral("Settings file to use instead of the desktop program's."),
        QStringLiteral("FILE"));
    parser.addOptions({nameOption, channelOption, interfaceOption, portOption, configOption});
    parser.process(app);
    if (!parser.positionalArguments().isEmpty()) {
        std::fprintf(stderr, "tolvex-cli: unexpected argument %s (see --help)\n",
                     qPrintable(parser.positionalArguments().first()));
        return 2;
    }

    Settings.Path = parser.isSet(configOption)
                        ? QDir::current().absoluteFilePath(parser.value(configOption))
                        : SettingsFolder() + SettingsFileName(QStringLiteral("tolvex"));
    TerminalOptions options;
    options.name = Cp1252::fromUnicode(parser.value(nameOption));
    options.channel = Cp1252::fromUnicode(parser.value(channelOption));
    options.interfaceAddr = parser.value(interfaceOption).toLatin1();
    options.port = parser.value(portOption).toLatin1();

    TerminalFrontEnd frontEnd(
        Settings, EngineSeams::System(), options, [](const QByteArray &b) { writeTo(stdout, b); },
        [](const QByteArray &b) { writeTo(stderr, b); });
    TerminalSignals signalWatch;
    QObject::connect(&signalWatch, &TerminalSignals::received, &frontEnd,
                     &TerminalFrontEnd::shutdown);
    QObject::connect(&frontEnd, &TerminalFrontEnd::finished, &app, &QCoreApplication::quit,
                     Qt::QueuedConnection);
    frontEnd.start();
    frontEnd.readFrom(STDIN_FILENO);
    return QCoreApplication::exec();
}
