#pragma once

#include <QObject>

class QSocketNotifier;

/// Turns SIGINT, SIGTERM and SIGHUP into a signal on the event loop, so the program leaves
/// the network and saves its settings instead of dying in the middle of a handler; SIGPIPE
/// is ignored, so that a closed output shows as a failed write.
class TerminalSignals final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TerminalSignals)

public:
    explicit TerminalSignals(QObject *parent = nullptr);
    ~TerminalSignals() override;

signals:
    void received(int signalNumber);

private:
    void onReadable();

    QSocketNotifier *m_notifier = nullptr;
};
