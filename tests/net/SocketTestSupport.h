#pragma once

#include "net/WSocket.h"

#include <QTest>
#include <functional>

namespace sockettest {

/// The message of the ESocketException fn raises, or "no exception".
inline QByteArray raised(const std::function<void()> &fn)
{
    try {
        fn();
    } catch (const ESocketException &e) {
        return e.Message();
    }
    return "no exception";
}

/// Runs the event loop until done() or the time is up.
inline bool waitFor(const std::function<bool()> &done, int ms = 3000)
{
    return QTest::qWaitFor(done, ms);
}

} // namespace sockettest
