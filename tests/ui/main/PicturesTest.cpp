// Every picture of the windows comes with a form for screens of two pixels per point, so
// that a picture added without one is caught here rather than on a user's screen.
#include <QDirIterator>
#include <QImage>
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
        }
    }
    EXPECT_GT(pictures, 20);
}
