#include "platform/desktop/ScreenEdge.h"

#include <QGuiApplication>
#include <QScreen>

int ScreenEdge::taskbarTop(const QRect &geometry, const QRect &available)
{
    const int screenEnd = geometry.y() + geometry.height();
    const int availableEnd = available.y() + available.height();
    // Only a panel along the bottom moves the line; one along the top or a side leaves the
    // bottom of the available area at the screen's own bottom.
    if (available.isValid() && availableEnd < screenEnd)
        return availableEnd;
    return screenEnd;
}

int ScreenEdge::primaryTaskbarTop()
{
    if (!qobject_cast<QGuiApplication *>(QCoreApplication::instance()))
        return 0;
    const QScreen *screen = QGuiApplication::primaryScreen();
    if (!screen)
        return 0;
    return taskbarTop(screen->geometry(), screen->availableGeometry());
}

int TaskbarTop()
{
    return ScreenEdge::primaryTaskbarTop();
}
