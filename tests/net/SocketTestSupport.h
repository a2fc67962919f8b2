#pragma once

#include "common/EventWait.h"
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

/// Runs the event loop until done(); false only when a broken run never gets there.
inline bool waitFor(const std::function<bool()> &done, int ms = testwait::kTimeoutMs)
{
    return testwait::waitFor(done, ms);
}

} // namespace sockettest
