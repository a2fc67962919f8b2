#pragma once

#include "net/CustomLineWSocket.h"

#include <functional>

/// Waiting layer: pumps messages until a flag is set.
class TCustomSyncWSocket : public TCustomLineWSocket
{
public:
    explicit TCustomSyncWSocket(QObject *AOwner = nullptr);

    /// Pumps messages until Flag is true: 0, or 12001 when the time-out (if positive)
    /// passed or the application is closing down.
    int WaitUntilSet(const bool &Flag);
    /// Clears Flag, runs Routine (when given), then waits as WaitUntilSet.
    int WaitForCall(bool &Flag, const std::function<void()> &Routine);
    /// Time-out of the waits in milliseconds; 0 or less waits without limit.
    int Timeout() const { return m_timeout; }
    void SetTimeout(int Value) { m_timeout = Value; }

private:
    int m_timeout = 0;
};
