#pragma once

#include <QByteArray>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace testenv {

/// True when the run must not skip tests that need root and network namespaces (CI).
bool netnsRequired();

/// True when the run must not skip tests that need an X server and a notification area (CI).
bool x11Required();

/// Empty when network namespaces can be made here, else the reason they cannot.
QByteArray netnsUnavailableReason();

/// Points HOME and XDG_CONFIG_HOME at a fresh temporary folder for the object's life
/// and restores the previous values afterwards.
class TempHome final
{
public:
    TempHome();
    ~TempHome();
    TempHome(const TempHome &) = delete;
    TempHome &operator=(const TempHome &) = delete;

    QString path() const { return m_dir.path(); }
    QString configHome() const { return m_dir.path() + QStringLiteral("/.config"); }

private:
    QTemporaryDir m_dir;
    QByteArray m_oldHome;
    QByteArray m_oldConfig;
    bool m_hadHome;
    bool m_hadConfig;
};

} // namespace testenv

/// Skips the current test when namespaces are unavailable, or fails it where they are required.
#define TOLVEX_REQUIRE_NETNS()                                                                     \
    do {                                                                                           \
        const QByteArray why_ = testenv::netnsUnavailableReason();                                 \
        if (!why_.isEmpty()) {                                                                     \
            if (testenv::netnsRequired())                                                          \
                FAIL() << "network namespaces required but unavailable: " << why_.constData();     \
            else                                                                                   \
                GTEST_SKIP() << "network namespaces unavailable: " << why_.constData();            \
        }                                                                                          \
    } while (0)
