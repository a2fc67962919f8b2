#pragma once

#include "EngineFixture.h"
#include "app/Support.h"
#include "common/TestEnv.h"
#include "ui/main/MainForm.h"

#include <QDateTime>
#include <QStringList>
#include <gtest/gtest.h>
#include <memory>

/// A main window on loopback: its engine lives at loopback host 2, its "broadcasts" reach a
/// probe on host 3 and its peers are probes on hosts 11 and up; HOME is a fresh folder, the
/// notification area a stand-in (the offscreen platform has none), and message boxes and
/// dialogs are answered by the test.
class MainFormFixture : public ::testing::Test
{
protected:
    MainFormFixture();
    ~MainFormFixture() override;

    static QByteArray ownAddr() { return loopbackHost(2); }
    static QByteArray broadcastAddr() { return loopbackHost(3); }
    static QByteArray peerAddr(int i) { return loopbackHost(10 + i); }

    /// Writes a settings file of the current version on the test's port and channel.
    void writeSettings(const QByteArray &extra = {});
    /// Creates the window (FormCreate) and runs its deferred start-up event.
    TMainForm &start();
    /// Registers peer i under a name, as its answer would.
    void addPeer(int i, const QByteArray &name);
    /// The next datagram on the broadcast probe without its packet identifier.
    QByteArray nextBroadcast(int timeoutMs = 5000);
    QByteArray settingsText() const;

    testenv::TempHome m_home;
    quint16 m_port = 0;
    SettingsValues m_settings;
    QDateTime m_now;
    std::unique_ptr<UdpProbe> m_broadcastProbe;
    std::unique_ptr<TMainForm> m_form;
    /// Message boxes shown, and the answer a confirmation gets.
    QList<QByteArray> m_boxes;
    bool m_confirm = true;
    /// Class names of the dialogs run, and what is done with each (closed by default).
    QStringList m_dialogs;
    std::function<void(QWidget &)> m_onDialog;
    /// Whether the notification area stand-in is there.
    bool m_trayAvailable = true;
};
