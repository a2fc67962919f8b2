#include "common/TestEnv.h"

#include <QDir>
#include <QProcess>
#include <QStandardPaths>
#include <unistd.h>

namespace testenv {

bool netnsRequired()
{
    return qEnvironmentVariableIntValue("TOLVEX_REQUIRE_NETNS") != 0;
}

bool x11Required()
{
    return qEnvironmentVariableIntValue("TOLVEX_REQUIRE_X11") != 0;
}

QByteArray netnsUnavailableReason()
{
    if (geteuid() != 0)
        return "not running as root";
    if (QStandardPaths::findExecutable(QStringLiteral("ip")).isEmpty())
        return "the ip command (iproute2) is missing";
    return {};
}

TempHome::TempHome()
    : m_oldHome(qgetenv("HOME")), m_oldConfig(qgetenv("XDG_CONFIG_HOME")),
      m_hadHome(qEnvironmentVariableIsSet("HOME")),
      m_hadConfig(qEnvironmentVariableIsSet("XDG_CONFIG_HOME"))
{
    qputenv("HOME", m_dir.path().toLocal8Bit());
    QDir(m_dir.path()).mkpath(QStringLiteral(".config"));
    qputenv("XDG_CONFIG_HOME", configHome().toLocal8Bit());
}

TempHome::~TempHome()
{
    if (m_hadHome)
        qputenv("HOME", m_oldHome);
    else
        qunsetenv("HOME");
    if (m_hadConfig)
        qputenv("XDG_CONFIG_HOME", m_oldConfig);
    else
        qunsetenv("XDG_CONFIG_HOME");
}

} // namespace testenv
