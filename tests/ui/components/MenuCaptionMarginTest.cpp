// The skinned popup leaves room after its longest caption instead of letting it touch the
// menu's right edge.
#include "ui/components/XPMenu.h"

#include <QImage>
#include <QMenu>
#include <QWidget>
#include <gtest/gtest.h>

namespace {

TEST(MenuCaptionMargin, TheLongestCaptionEndsWellBeforeTheRightEdge)
{
    QWidget form;
    auto *skin = new TXPMenu(&form);
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(11);
    skin->setFont(font);
    skin->setColor(0x00D4D4D4);
    skin->setIconBackColor(0x00BFC1C1);
    skin->setUseSystemColors(false);
    skin->setGradient(true);
    QImage picture(16, 16, QImage::Format_ARGB32);
    picture.fill(Qt::white);
    auto *popup = new QMenu(&form);
    popup->addAction(QIcon(QPixmap::fromImage(picture)), QStringLiteral("Restore"));
    popup->addAction(QIcon(QPixmap::fromImage(picture)), QStringLiteral("More free products..."));
    skin->setActive(true);
    popup->adjustSize();

    const QImage image = popup->grab().toImage().convertToFormat(QImage::Format_RGB32);
    // The rightmost pixel of caption ink (dark on the light item background).
    int inkRight = -1;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (qGray(image.pixel(x, y)) < 110)
                inkRight = std::max(inkRight, x);
        }
    }
    ASSERT_GT(inkRight, 24) << "no caption drawn";
    EXPECT_GE(image.width() - 1 - inkRight, 8) << "menu " << image.width() << " px wide";
}

} // namespace
