// Every picture of the windows comes with a form for screens of two pixels per point, so
// that a picture added without one is caught here rather than on a user's screen.
#include <QDirIterator>
#include <QImage>
#include <QSet>
#include <gtest/gtest.h>

TEST(Pictures, EachHasAFormTwiceAsDense)
{
    Q_INIT_RESOURCE(main);
    Q_INIT_RESOURCE(chat);
    Q_INIT_RESOURCE(about);
    int pictures = 0;
    for (const char *folder : {":/main/art", ":/chat/art", ":/about/art"}) {
        QDirIterator it(QLatin1String(folder), {QStringLiteral("*.png")});
        while (it.hasNext()) {
            const QString path = it.next();
            // The program icon comes in sizes of its own.
            if (path.contains(QLatin1Char('@')) || path.contains(QLatin1String("/tolvex-")))
                continue;
            ++pictures;
            const QImage dense(path.chopped(4) + QStringLiteral("@2x.png"));
            EXPECT_EQ(dense.size(), QImage(path).size() * 2) << path.toStdString();
            EXPECT_EQ(dense.devicePixelRatio(), 2.0) << path.toStdString();
            // What the program keys on stays: the menu skin's transparent bottom-left pixel,
            // and the region button's exact colours in its mask and clip.
            const QImage plain = QImage(path).convertToFormat(QImage::Format_ARGB32);
            const QImage denseArgb = dense.convertToFormat(QImage::Format_ARGB32);
            EXPECT_EQ(qAlpha(denseArgb.pixel(0, denseArgb.height() - 1)) == 0,
                      qAlpha(plain.pixel(0, plain.height() - 1)) == 0)
                << path.toStdString();
            if (path.endsWith(QLatin1String("-mask.png")) ||
                path.endsWith(QLatin1String("-clip.png"))) {
                QSet<QRgb> colours;
                for (int y = 0; y < plain.height(); ++y)
                    for (int x = 0; x < plain.width(); ++x)
                        colours.insert(plain.pixel(x, y));
                for (int y = 0; y < denseArgb.height(); ++y)
                    for (int x = 0; x < denseArgb.width(); ++x)
                        ASSERT_TRUE(colours.contains(denseArgb.pixel(x, y)))
                            << path.toStdString() << " " << x << "," << y;
            }
        }
    }
    EXPECT_GT(pictures, 20);
}
