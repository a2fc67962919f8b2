#include "ui/components/TrayFlight.h"

#include <QPainter>
#include <QRegion>
#include <QVariantAnimation>
#include <algorithm>

namespace {

constexpr int FrameWidth = 2;
constexpr int CaptionHeight = 14;

} // namespace

TrayFlight::TrayFlight()
    : QWidget(nullptr, Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint |
                           Qt::WindowTransparentForInput | Qt::WindowDoesNotAcceptFocus)
{
    setObjectName(QStringLiteral("TrayFlight"));
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_DeleteOnClose);
}

TrayFlight *TrayFlight::start(const QRect &from, const QRect &to)
{
    auto *flight = new TrayFlight;
    auto *animation = new QVariantAnimation(flight);
    animation->setDuration(DurationMs);
    animation->setStartValue(from);
    animation->setEndValue(to);
    animation->setEasingCurve(QEasingCurve::InOutQuad);
    connect(animation, &QVariantAnimation::valueChanged, flight,
            [flight](const QVariant &value) { flight->placeAt(value.toRect()); });
    connect(animation, &QVariantAnimation::finished, flight, &QWidget::close);
    flight->placeAt(from);
    flight->show();
    animation->start();
    return flight;
}

void TrayFlight::placeAt(const QRect &rect)
{
    setGeometry(rect);
    // A shaped window instead of a translucent one: without a compositor a translucent window
    // would fly as a solid block.
    const QRect all(QPoint(0, 0), rect.size());
    const int caption = std::min(CaptionHeight, rect.height() / 2);
    const QRect hole = all.adjusted(FrameWidth, FrameWidth + caption, -FrameWidth, -FrameWidth);
    QRegion shape(all);
    if (!hole.isEmpty())
        shape -= QRegion(hole);
    setMask(shape);
}

void TrayFlight::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Highlight));
}
