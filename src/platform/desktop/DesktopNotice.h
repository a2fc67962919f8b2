#pragma once

#include <QString>
#include <functional>

/// A desktop notification through the session's notification service; nothing happens where
/// none runs. Used where showing a window unasked could take the keyboard from the user.
namespace DesktopNotice {

/// Sends title and body (plain text); replaces the program's previous notice. Does not wait.
/// open runs when the user clicks the notice (its default action), where the service offers
/// actions.
void show(const QString &title, const QString &body, std::function<void()> open = {});

} // namespace DesktopNotice
