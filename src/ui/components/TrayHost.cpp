#include "ui/components/TrayHost.h"

#include "ui/components/TrayFlight.h"

#include <QSystemTrayIcon>

TrayHost::~TrayHost() = default;

bool TrayHost::available() const
{
    return QSystemTrayIcon::isSystemTrayAvailable();
}

void TrayHost::add(QSystemTrayIcon &icon)
{
    icon.show();
}

void TrayHost::remove(QSystemTrayIcon &icon)
{
    icon.hide();
}

QRect TrayHost::iconGeometry(const QSystemTrayIcon &icon) const
{
    // Hosts that talk to the icon over the session bus never report where it is.
    return icon.isVisible() ? icon.geometry() : QRect();
}

void TrayHost::fly(const QRect &from, const QRect &to)
{
    TrayFlight::start(from, to);
}
