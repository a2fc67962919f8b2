#pragma once

#include <functional>

// Waiting in tests on what they need, never on the clock. A wait has an upper bound that only
// a broken run reaches; "nothing more happens" is either "the event loop has nothing left to
// do" (drainEvents) or a marker sent after everything else and waited for.

namespace testwait {

/// The bound of every wait: far beyond what a sound run needs, even under a sanitizer.
inline constexpr int kTimeoutMs = 20000;

/// Runs posted events (deferred deletions included) and ready socket notifications until a
/// round of the loop delivers nothing; false when work was still being found after
/// maxRounds rounds, as with a notifier that fires for ever.
bool drainEvents(int maxRounds = 10000);

/// Runs exactly that many rounds of the event loop, for a check that something does not
/// repeat while a condition lasts (a refused send must not complete).
void runRounds(int rounds);

/// Runs the event loop, sleeping in it between events, until pred holds; false when it
/// still does not after timeoutMs.
bool waitFor(const std::function<bool()> &pred, int timeoutMs = kTimeoutMs);

} // namespace testwait
