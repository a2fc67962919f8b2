// The program's pictures as the windows use them: every committed PNG has its SVG source's
// size and is listed in its folder's resource file, the minimise button's mask and clip hold
// only the two exact colours the region button compares, and the menu glyphs leave clear the
// pixel on which the menu skin keys transparency.
#include "ui/components/RegionMask.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QRegularExpression>
#include <QSet>
#include <gtest/gtest.h>
#include <ostream>

namespace {

constexpr QRgb kBlue = 0xFF0000FFu;
constexpr QRgb kWhite = 0xFFFFFFFFu;
constexpr quint32 kRegionColor = 0x00FF0000u; // pure blue as 0x00BBGGRR

QString artDir(const char *window)
{
    return qEnvironmentVariable("TOLVEX_SOURCE_DIR") + QStringLiteral("/src/ui/") +
           QLatin1String(window) + QStringLiteral("/art/");
}

QImage picture(const char *window, const char *name)
{
    return QImage(artDir(window) + QLatin1String(name) + QStringLiteral(".png"))
        .convertToFormat(QImage::Format_ARGB32);
}

struct Picture
{
    const char *window;
    const char *name;
    const char *svg; // source it is rendered from
    int size[2];
};

const Picture kPictures[] = {
    {"main", "tolvex-16", "tolvex", {16, 16}},
    {"main", "tolvex-32", "tolvex", {32, 32}},
    {"main", "tolvex-48", "tolvex", {48, 48}},
    {"main", "tolvex-64", "tolvex", {64, 64}},
    {"main", "tolvex-128", "tolvex", {128, 128}},
    {"main", "tolvex-256", "tolvex", {256, 256}},
    {"main", "user", "user", {16, 16}},
    {"main", "minimize-normal", "minimize-normal", {25, 18}},
    {"main", "minimize-mask", "minimize-mask", {25, 18}},
    {"main", "minimize-clip", "minimize-clip", {25, 18}},
    {"main", "minimize-hover", "minimize-hover", {25, 18}},
    {"main", "minimize-pressed", "minimize-pressed", {25, 18}},
    {"main", "open-chat", "open-chat", {16, 16}},
    {"main", "show-ip", "show-ip", {16, 16}},
    {"main", "reload", "reload", {16, 16}},
    {"main", "restore", "restore", {16, 16}},
    {"main", "configuration", "configuration", {16, 16}},
    {"main", "exit", "exit", {16, 16}},
    {"main", "about", "about", {16, 16}},
    {"main", "more-products", "more-products", {16, 16}},
    {"main", "delete-channel", "delete-channel", {16, 16}},
    {"about", "close", "close", {11, 11}},
};

void PrintTo(const Picture &p, std::ostream *os)
{
    *os << p.window << "/art/" << p.name << ".png";
}

class PictureTest : public ::testing::TestWithParam<Picture>
{};

TEST_P(PictureTest, HasItsSourcesSizeAndContent)
{
    const Picture &p = GetParam();
    const QImage image = picture(p.window, p.name);
    ASSERT_FALSE(image.isNull()) << p.name;
    EXPECT_EQ(image.size(), QSize(p.size[0], p.size[1])) << p.name;

    QFile svg(artDir(p.window) + QLatin1String(p.svg) + QStringLiteral(".svg"));
    ASSERT_TRUE(svg.open(QIODevice::ReadOnly)) << svg.fileName().toStdString();
    const QString text = QString::fromUtf8(svg.readAll());
    // The icon's source is drawn once and rendered at every size; the rest at their own.
    if (qstrcmp(p.name, p.svg) == 0) {
        const QString dims =
            QStringLiteral("width=\"%1\" height=\"%2\"").arg(p.size[0]).arg(p.size[1]);
        EXPECT_TRUE(text.contains(dims)) << p.svg << " lacks " << dims.toStdString();
    }

    int opaque = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            opaque += qAlpha(image.pixel(x, y)) == 255;
    EXPECT_GE(opaque, image.width() * image.height() / 16) << p.name << " is nearly empty";
}

INSTANTIATE_TEST_SUITE_P(Art, PictureTest, ::testing::ValuesIn(kPictures), [](const auto &info) {
    QString name =
        QLatin1String(info.param.window) + QLatin1Char('_') + QLatin1String(info.param.name);
    return name.replace(QLatin1Char('-'), QLatin1Char('_')).toStdString();
});

TEST(MinimizeArt, MaskAndClipHoldOnlyPureBlueAndWhite)
{
    for (const char *name : {"minimize-mask", "minimize-clip"}) {
        const QImage image = picture("main", name);
        ASSERT_FALSE(image.isNull()) << name;
        int blue = 0;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                const QRgb px = image.pixel(x, y);
                ASSERT_TRUE(px == kBlue || px == kWhite)
                    << name << " pixel " << x << "," << y << " is " << std::hex << px;
                blue += px == kBlue;
            }
        }
        EXPECT_GT(blue, image.width() * image.height() / 2) << name;
    }
}

TEST(MinimizeArt, RegionsAreRoundedAndTheClickableShapeLiesInsideThePaintedOne)
{
    const QRegion mask = regionFromMask(picture("main", "minimize-mask"), kRegionColor);
    const QRegion clip = regionFromMask(picture("main", "minimize-clip"), kRegionColor);
    for (const QRegion &region : {mask, clip}) {
        EXPECT_EQ(region.boundingRect(), QRect(0, 0, 25, 18));
        EXPECT_TRUE(region.contains(QPoint(12, 9)));
        for (const QPoint corner : {QPoint(0, 0), QPoint(24, 0), QPoint(0, 17), QPoint(24, 17)})
            EXPECT_FALSE(region.contains(corner)) << corner.x() << "," << corner.y();
    }
    EXPECT_TRUE(mask.subtracted(clip).isEmpty());
}

TEST(MinimizeArt, StatePicturesPaintOnlyInsideTheClipAndCoverTheMask)
{
    const QRegion mask = regionFromMask(picture("main", "minimize-mask"), kRegionColor);
    const QRegion clip = regionFromMask(picture("main", "minimize-clip"), kRegionColor);
    QSet<QByteArray> seen;
    for (const char *name : {"minimize-normal", "minimize-hover", "minimize-pressed"}) {
        const QImage image = picture("main", name);
        ASSERT_EQ(image.size(), QSize(25, 18)) << name;
        seen.insert(
            QByteArray(reinterpret_cast<const char *>(image.constBits()), image.sizeInBytes()));
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                const int alpha = qAlpha(image.pixel(x, y));
                // Outside the clip nothing is painted, so a visible pixel there is lost.
                if (alpha > 0) {
                    EXPECT_TRUE(clip.contains(QPoint(x, y))) << name << " " << x << "," << y;
                }
                // A clickable pixel shows mostly the button (its rounded edge is blended),
                // not what lies behind it.
                if (mask.contains(QPoint(x, y))) {
                    EXPECT_GE(alpha, 112) << name << " " << x << "," << y;
                }
            }
        }
    }
    EXPECT_EQ(seen.size(), 3) << "two states share one picture";
}

TEST(MenuGlyphs, LeaveTheBottomLeftPixelClear)
{
    // The menu skin makes every pixel of the bottom-left pixel's colour transparent.
    for (const char *name : {"open-chat", "show-ip", "reload", "restore", "configuration", "exit",
                             "about", "more-products", "delete-channel", "user"}) {
        const QImage image = picture("main", name);
        ASSERT_EQ(image.size(), QSize(16, 16)) << name;
        EXPECT_EQ(qAlpha(image.pixel(0, 15)), 0) << name;
    }
}

TEST(ResourceFiles, ListEveryPictureOfTheirFolderAndNothingElse)
{
    for (const char *window : {"main", "about"}) {
        const QString folder = qEnvironmentVariable("TOLVEX_SOURCE_DIR") +
                               QStringLiteral("/src/ui/") + QLatin1String(window);
        QFile qrc(folder + QLatin1Char('/') + QLatin1String(window) + QStringLiteral(".qrc"));
        ASSERT_TRUE(qrc.open(QIODevice::ReadOnly)) << qrc.fileName().toStdString();
        const QString text = QString::fromUtf8(qrc.readAll());
        EXPECT_TRUE(text.contains(QStringLiteral("prefix=\"/%1\"").arg(QLatin1String(window))))
            << window;

        QSet<QString> listed;
        const QRegularExpression file(QStringLiteral("<file>([^<]+)</file>"));
        for (auto it = file.globalMatch(text); it.hasNext();)
            listed.insert(it.next().captured(1));
        QSet<QString> present;
        for (const QString &png : QDir(folder + QStringLiteral("/art"))
                                      .entryList({QStringLiteral("*.png")}, QDir::Files))
            present.insert(QStringLiteral("art/") + png);
        EXPECT_EQ(listed, present) << window;
    }
}

} // namespace
