#pragma once

#include <QRegion>
#include <QtGlobal>

class QImage;

/// The region of a picture's pixels whose colour is exactly `colour` (0x00BBGGRR) when the
/// picture is laid on black at 24 bits per pixel. A colour with a high byte matches nothing.
/// Built from the rows' runs of equal colour, with equal neighbouring rows merged, so that
/// large pictures cost one pass over their pixels.
QRegion regionFromMask(const QImage &picture, quint32 colour);
