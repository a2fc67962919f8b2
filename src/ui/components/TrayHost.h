#pragma once

#include <QRect>

class QSystemTrayIcon;

/// The desktop's notification area as the tray component sees it. The component reaches the
/// platform only through this class, so a test can stand in for a notification area that the
/// offscreen platform does not have.
class TrayHost
{
public:
    TrayHost() = default;
    virtual ~TrayHost();
    TrayHost(const TrayHost &) = delete;
    TrayHost &operator=(const TrayHost &) = delete;

    /// True when the desktop runs a notification area that can hold icons.
    virtual bool available() const;
    /// Puts the icon into the notification area.
    virtual void add(QSystemTrayIcon &icon);
    /// Takes the icon out of the notification area.
    virtual void remove(QSystemTrayIcon &icon);
    /// The icon's place on the screen, or an empty rectangle where the host does not tell it.
    virtual QRect iconGeometry(const QSystemTrayIcon &icon) const;
    /// Lets a window frame fly from one screen rectangle to another.
    virtual void fly(const QRect &from, const QRect &to);
};
