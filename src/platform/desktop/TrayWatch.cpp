#include "platform/desktop/TrayWatch.h"

#include <QGuiApplication>
#include <QMetaMethod>
#include <qpa/qplatformnativeinterface.h>

TrayWatch::TrayWatch(QObject *parent) : QObject(parent)
{
    // The X11 platform announces the notification area's window through its native
    // interface; other platforms have no such signal.
    QPlatformNativeInterface *native = QGuiApplication::platformNativeInterface();
    if (!native)
        return;
    const QMetaObject *meta = native->metaObject();
    const int signal = meta->indexOfSignal("systemTrayWindowChanged(QScreen*)");
    if (signal < 0)
        return;
    m_supported =
        bool(connect(native, meta->method(signal), this,
                     staticMetaObject.method(staticMetaObject.indexOfSignal("changed()"))));
}

TrayWatch::~TrayWatch() = default;
