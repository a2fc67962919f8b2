#pragma once

class SessionEnd;

/// The desktop session's part of SessionEnd, for programs with a graphical application.
namespace SessionHook {

/// Makes end report the end of the desktop session as signal number 0. Does nothing
/// without a graphical application object.
void watchDesktopSession(SessionEnd &end);

} // namespace SessionHook
