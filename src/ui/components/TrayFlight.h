#pragma once

#include <QRect>
#include <QWidget>

/// A window outline with a caption strip that flies between two screen rectangles and then
/// deletes itself: the visual hint that a window goes into the notification area or comes back.
class TrayFlight final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TrayFlight)

public:
    /// Time a flight takes.
    static constexpr int DurationMs = 200;

    /// Starts a flight; it runs on the event loop, so the caller goes on at once.
    static TrayFlight *start(const QRect &from, const QRect &to);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    TrayFlight();
    void placeAt(const QRect &rect);
};
