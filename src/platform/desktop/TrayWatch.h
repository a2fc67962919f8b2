#pragma once

#include <QObject>

/// Tells when the desktop's notification area comes or goes, where the platform reports
/// it (X11), so that nobody has to look for it on a timer.
class TrayWatch final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TrayWatch)

public:
    explicit TrayWatch(QObject *parent = nullptr);
    ~TrayWatch() override;

    /// False where the platform does not report changes; then changed() never fires.
    bool supported() const { return m_supported; }

signals:
    void changed();

private:
    bool m_supported = false;
};
