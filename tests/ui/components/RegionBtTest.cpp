#include "ui/components/RegionBt.h"

#include "ui/components/RegionMask.h"

#include <QCursor>
#include <QDir>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QTest>
#include <gtest/gtest.h>

namespace {

constexpr QRgb kBlue = 0xFF0000FF; // the default region colour, 0x00FF0000 as 0x00BBGGRR
constexpr QRgb kWhite = 0xFFFFFFFF;
constexpr QRgb kNormal = 0xFF20A020;
constexpr QRgb kOver = 0xFF2020E0;
constexpr QRgb kPush = 0xFFE02020;
constexpr QRgb kDisable = 0xFF808080;
constexpr QRgb kFormBack = 0xFFF0E0D0;

// A 25 x 18 mask: an ellipse of the region colour on white, so that the rectangle's corners
// lie outside the shape.
QImage ellipseMask()
{
    QImage mask(25, 18, QImage::Format_RGB32);
    for (int y = 0; y < mask.height(); ++y) {
        for (int x = 0; x < mask.width(); ++x) {
            const double dx = (x + 0.5 - 12.5) / 12.5, dy = (y + 0.5 - 9.0) / 9.0;
            mask.setPixel(x, y, dx * dx + dy * dy <= 1.0 ? kBlue : kWhite);
        }
    }
    return mask;
}

// All of the region colour except the three right-most columns.
QImage clipMask()
{
    QImage clip(25, 18, QImage::Format_RGB32);
    clip.fill(kBlue);
    for (int y = 0; y < clip.height(); ++y) {
        for (int x = 22; x < 25; ++x)
            clip.setPixel(x, y, kWhite);
    }
    return clip;
}

QImage solid(QRgb colour)
{
    QImage image(25, 18, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

// PNG output under the build folder (CTest runs the tests inside it when the variable is unset).
QString picturePath(const QString &name)
{
    QDir dir(qEnvironmentVariable("TOLVEX_BINARY_DIR", QDir::currentPath()));
    dir.mkpath(QStringLiteral("test-pictures"));
    return dir.filePath(QStringLiteral("test-pictures/") + name);
}

// The set of pixels a region covers must be exactly the set of region-colour pixels.
void expectRegionMatches(const QRegion &region, const QImage &mask, QRgb colour)
{
    for (int y = -1; y <= mask.height(); ++y) {
        for (int x = -1; x <= mask.width(); ++x) {
            const bool inside = mask.rect().contains(x, y) && mask.pixel(x, y) == colour;
            ASSERT_EQ(region.contains(QPoint(x, y)), inside) << x << "," << y;
        }
    }
}

TEST(RegionMask, CoversExactlyThePixelsOfTheRegionColour)
{
    const QImage mask = ellipseMask();
    expectRegionMatches(regionFromMask(mask, 0x00FF0000), mask, kBlue);

    // Several runs per row, rows repeating and holes: stripes and a ring.
    QImage stripes(40, 30, QImage::Format_RGB32);
    for (int y = 0; y < 30; ++y) {
        for (int x = 0; x < 40; ++x) {
            const bool ring = (x - 20) * (x - 20) + (y - 15) * (y - 15) < 100 &&
                              (x - 20) * (x - 20) + (y - 15) * (y - 15) > 30;
            stripes.setPixel(x, y, ((x / 3) % 2 == 0 && y < 10) || ring ? kBlue : 0xFF000000);
        }
    }
    expectRegionMatches(regionFromMask(stripes, 0x00FF0000), stripes, kBlue);
}

TEST(RegionMask, ComparesColoursExactly)
{
    QImage mask(4, 1, QImage::Format_RGB32);
    mask.setPixel(0, 0, 0xFF0000FF); // 0x00FF0000: the colour
    mask.setPixel(1, 0, 0xFF0000FE); // one step off in blue
    mask.setPixel(2, 0, 0xFF0100FF); // one step off in red
    mask.setPixel(3, 0, 0xFFFF0000); // the channels swapped
    const QRegion region = regionFromMask(mask, 0x00FF0000);
    EXPECT_EQ(region, QRegion(0, 0, 1, 1));
    EXPECT_EQ(regionFromMask(mask, 0x000000FF), QRegion(3, 0, 1, 1)); // pure red
    // A system colour never equals a 24-bit pixel.
    EXPECT_TRUE(regionFromMask(mask, 0xFF00000F).isEmpty());
}

TEST(RegionMask, PicturesWithAlphaAreLaidOnBlack)
{
    QImage mask(3, 1, QImage::Format_ARGB32);
    mask.setPixel(0, 0, qRgba(0, 0, 255, 255));
    mask.setPixel(1, 0, qRgba(0, 0, 255, 0)); // transparent: black once laid down
    mask.setPixel(2, 0, qRgba(0, 0, 0, 0));
    EXPECT_EQ(regionFromMask(mask, 0x00FF0000), QRegion(0, 0, 1, 1));
    EXPECT_EQ(regionFromMask(mask, 0x00000000), QRegion(1, 0, 2, 1));
}

TEST(Bitmaps, IndexPerKindSkipsEmptyAndUndefinedAndTakesTheLaterItem)
{
    TBitmaps images(nullptr);
    int updates = 0;
    images.OnCollectionUpdated = [&updates](TBitmaps *) { ++updates; };
    images.add(biOver, solid(kOver));           // 0
    images.add(biNormal, QImage());             // 1: empty, kind reset
    images.add(biNone, solid(kNormal));         // 2: no kind
    images.add(biOver, solid(kPush));           // 3: replaces 0
    TBitmapCollectionItem *mask = images.add(); // 4
    EXPECT_EQ(updates, 5);

    EXPECT_EQ(images.IndexOfKind(biOver), 3);
    EXPECT_EQ(images.IndexOfKind(biNormal), -1);
    EXPECT_EQ(images.items(1)->imageKind(), biNone);
    EXPECT_EQ(images.IndexOfKind(biNone), -1);
    EXPECT_EQ(images.IndexOfKind(biOver | 0x80), 3); // only the low seven bits count
    EXPECT_EQ(images.IndexOfKind(99), -1);

    mask->setImageKind(biMask);
    EXPECT_EQ(images.IndexOfKind(biMask), -1); // still without a picture
    mask->setBitmap(ellipseMask());
    EXPECT_EQ(images.IndexOfKind(biMask), 4);
    images.remove(3);
    EXPECT_EQ(images.IndexOfKind(biOver), 0);
    EXPECT_EQ(images.IndexOfKind(biMask), 3);

    QImage target(1, 1, QImage::Format_RGB32);
    EXPECT_TRUE(images.CopyImage(biOver, &target));
    EXPECT_EQ(target.size(), QSize(25, 18));
    EXPECT_EQ(target.pixel(3, 3), kOver);
    EXPECT_FALSE(images.CopyImage(biPush, &target));
    EXPECT_FALSE(images.CopyImage(biOver, nullptr));
}

TEST(Bitmaps, DisplayNamesAndAssign)
{
    TBitmaps images(nullptr);
    TBitmapCollectionItem *item = images.add();
    EXPECT_EQ(item->displayName(), "undefined");
    item->setImageKind(biMask);
    EXPECT_EQ(item->displayName(), "Mask");
    item->setImageKind(biNormal);
    item->setBitmap(solid(kNormal));
    EXPECT_EQ(item->displayName(), "Normal (25x18)");
    item->setImageKind(biClip);

    TBitmapCollectionItem *copy = images.add();
    copy->Assign(*item);
    EXPECT_EQ(copy->imageKind(), biClip);
    EXPECT_EQ(copy->bitmap(), item->bitmap());
    EXPECT_EQ(copy->index(), 1);
    item->setBitmap(QImage());
    EXPECT_EQ(item->imageKind(), biNone);
}

// A form with the button at (40, 30) holding the five pictures of the main window's button.
class RegionButton : public ::testing::Test
{
protected:
    void SetUp() override
    {
        form.resize(120, 80);
        form.setAutoFillBackground(true);
        QPalette pal = form.palette();
        pal.setColor(QPalette::Window, QColor::fromRgb(kFormBack));
        form.setPalette(pal);
        button = new TRegionBt(&form);
        button->move(40, 30);
        TBitmaps &images = button->images();
        images.beginUpdate();
        images.add(biNormal, solid(kNormal));
        images.add(biMask, ellipseMask());
        images.add(biClip, clipMask());
        images.add(biOver, solid(kOver));
        images.add(biPush, solid(kPush));
        images.endUpdate();
        button->OnClick = [this](TRegionBt *) { ++clicks; };
        button->OnMouseEnterHot = [this](TRegionBt *) { ++enters; };
        button->OnMouseLeaveHot = [this](TRegionBt *) { ++leaves; };
    }

    void show()
    {
        form.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    }

    // Moves the pointer the way a user does; the window system delivers the moves.
    void pointTo(QPoint local) { QTest::mouseMove(button, local); }

    // A move reported to the button while the pointer itself is elsewhere, as happens when
    // the pointer leaves faster than moves are reported.
    void reportMove(QPoint local, Qt::MouseButtons buttons = Qt::NoButton,
                    Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QMouseEvent move(QEvent::MouseMove, local, button->mapToGlobal(local), Qt::NoButton,
                         buttons, modifiers);
        QApplication::sendEvent(button, &move);
    }

    QImage grabForm() { return form.grab().toImage().convertToFormat(QImage::Format_RGB32); }

    QWidget form;
    TRegionBt *button = nullptr;
    int clicks = 0;
    int enters = 0;
    int leaves = 0;
    const QPoint centre{12, 9};
    // In the rectangle, outside the ellipse (not 0,0: Qt Test reads a null point as the centre).
    const QPoint corner{1, 1};
    const QPoint clippedOff{23, 9}; // in the ellipse, cut off by the clip picture
};

TEST_F(RegionButton, TakesTheMaskSizeAndItsShapeLimitedByTheClip)
{
    EXPECT_EQ(button->size(), QSize(25, 18));
    EXPECT_EQ(button->shownKind(), biNormal);
    ASSERT_TRUE(button->hasHotRegion());
    QImage expected = ellipseMask();
    for (int y = 0; y < 18; ++y) {
        for (int x = 22; x < 25; ++x)
            expected.setPixel(x, y, kWhite);
    }
    expectRegionMatches(button->hotRegion(), expected, kBlue);
    ASSERT_TRUE(button->clipRegion().has_value());
    EXPECT_EQ(*button->clipRegion(), QRegion(0, 0, 22, 18));
}

TEST_F(RegionButton, PicturesForADenserScreenKeepItsSizeAndShapeInPoints)
{
    const auto dense = [](const QImage &picture) {
        QImage twice = picture.scaled(picture.size() * 2);
        twice.setDevicePixelRatio(2);
        return twice;
    };
    TRegionBt denseButton(&form);
    TBitmaps &images = denseButton.images();
    images.beginUpdate();
    images.add(biNormal, dense(solid(kNormal)));
    images.add(biMask, dense(ellipseMask()));
    images.add(biClip, dense(clipMask()));
    images.endUpdate();
    EXPECT_EQ(denseButton.size(), QSize(25, 18));
    EXPECT_EQ(denseButton.hotRegion(), button->hotRegion());
    EXPECT_EQ(denseButton.clipRegion(), button->clipRegion());
}

TEST_F(RegionButton, WithoutMaskHasNoShapeNeverGetsHotAndPaintsNothing)
{
    button->images().remove(1);
    EXPECT_FALSE(button->hasHotRegion());
    EXPECT_TRUE(button->displayBitmap().isNull());
    show();
    pointTo(centre);
    EXPECT_FALSE(button->isHot());
    EXPECT_EQ(enters, 0);
    EXPECT_EQ(grabForm().pixel(40 + 12, 30 + 9), kFormBack);
}

TEST_F(RegionButton, HotFollowsTheShapeNotTheRectangle)
{
    button->setCursorHotHand(true);
    show();
    pointTo(corner);
    EXPECT_FALSE(button->isHot());
    EXPECT_EQ(button->shownKind(), biNormal);
    pointTo(clippedOff);
    EXPECT_FALSE(button->isHot());

    pointTo(centre);
    EXPECT_TRUE(button->isHot());
    EXPECT_EQ(button->shownKind(), biOver);
    EXPECT_EQ(button->cursor().shape(), Qt::PointingHandCursor);
    EXPECT_TRUE(button->leaveCheckRunning());
    pointTo(centre + QPoint(1, 0));
    EXPECT_EQ(enters, 1);

    pointTo(corner);
    EXPECT_FALSE(button->isHot());
    EXPECT_EQ(button->shownKind(), biNormal);
    EXPECT_EQ(button->cursor().shape(), Qt::ArrowCursor);
    EXPECT_EQ(leaves, 1);
}

TEST_F(RegionButton, LeftButtonAloneShowsPushWhileMoving)
{
    show();
    reportMove(centre, Qt::LeftButton);
    EXPECT_EQ(button->shownKind(), biPush);
    reportMove(centre, Qt::LeftButton, Qt::ShiftModifier);
    EXPECT_EQ(button->shownKind(), biOver);
    reportMove(centre, Qt::LeftButton | Qt::RightButton);
    EXPECT_EQ(button->shownKind(), biOver);
}

TEST_F(RegionButton, LeaveCheckRestoresTheRestingLookWithoutFurtherMoves)
{
    button->setCursorHotHand(true);
    show();
    QCursor::setPos(form.mapToGlobal(QPoint(5, 5)));
    QCoreApplication::processEvents();
    reportMove(centre); // the pointer is already far off when this arrives
    ASSERT_TRUE(button->isHot());
    ASSERT_EQ(button->cursor().shape(), Qt::PointingHandCursor);

    QTRY_VERIFY_WITH_TIMEOUT(!button->isHot(), 1000);
    EXPECT_EQ(button->shownKind(), biNormal);
    EXPECT_EQ(button->cursor().shape(), Qt::ArrowCursor);
    EXPECT_EQ(leaves, 1);
    EXPECT_FALSE(button->leaveCheckRunning());
}

TEST_F(RegionButton, ClickFiresOnlyForALeftReleaseInsideTheShape)
{
    show();
    QTest::mouseClick(button, Qt::LeftButton, Qt::NoModifier, corner);
    QTest::mouseClick(button, Qt::LeftButton, Qt::NoModifier, clippedOff);
    QTest::mouseClick(button, Qt::RightButton, Qt::NoModifier, centre);
    EXPECT_EQ(clicks, 0);
    // The pointer may rest over the shape now, so "over" is as right as "normal" here.
    EXPECT_NE(button->shownKind(), biPush);

    QTest::mousePress(button, Qt::LeftButton, Qt::NoModifier, centre);
    EXPECT_EQ(button->shownKind(), biPush);
    QTest::mouseRelease(button, Qt::LeftButton, Qt::NoModifier, corner);
    EXPECT_EQ(clicks, 0);

    QTest::mousePress(button, Qt::LeftButton, Qt::NoModifier, centre);
    QTest::mouseRelease(button, Qt::LeftButton, Qt::NoModifier, centre);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(button->shownKind(), biOver);
}

TEST_F(RegionButton, AnimateMouseNudgesThePointerDownAndBackUp)
{
    // The offscreen platform keeps the pointer position that QCursor::setPos gives it, so the
    // nudges show in QCursor::pos().
    button->setAnimateMouse(1);
    show();
    const QPoint start = button->mapToGlobal(centre);
    QCursor::setPos(start);
    QCoreApplication::processEvents();
    ASSERT_EQ(QCursor::pos(), start);

    QTest::mousePress(button, Qt::LeftButton, Qt::NoModifier, centre);
    EXPECT_EQ(QCursor::pos(), start + QPoint(0, 1));
    QTest::mouseRelease(button, Qt::LeftButton, Qt::NoModifier, centre + QPoint(0, 1));
    EXPECT_EQ(QCursor::pos(), start);
    EXPECT_EQ(clicks, 1);

    // Outside the shape nothing moves.
    QTest::mousePress(button, Qt::LeftButton, Qt::NoModifier, corner);
    QTest::mouseRelease(button, Qt::LeftButton, Qt::NoModifier, corner);
    EXPECT_EQ(QCursor::pos(), start);
}

TEST_F(RegionButton, LeavesHotEvenWithoutAnOverPicture)
{
    button->images().remove(3); // the over picture: the normal one stays while hot
    show();
    pointTo(centre);
    EXPECT_TRUE(button->isHot());
    EXPECT_EQ(button->shownKind(), biNormal);
    pointTo(corner);
    EXPECT_FALSE(button->isHot());
    EXPECT_EQ(leaves, 1);
}

TEST_F(RegionButton, DisabledShowsTheDisablePictureOrKeepsTheLastOne)
{
    show();
    pointTo(centre);
    ASSERT_EQ(button->shownKind(), biOver);
    button->setEnabled(false);
    EXPECT_EQ(button->displayBitmap().pixel(12, 9), kOver); // no disable picture yet
    button->setEnabled(true);
    EXPECT_EQ(button->shownKind(), biNormal);

    button->images().add(biDisable, solid(kDisable));
    button->setEnabled(false);
    EXPECT_EQ(button->shownKind(), biDisable);
    // Rebuilding while disabled keeps the disabled look.
    button->setRegionColor(0x00FFFFFF);
    EXPECT_EQ(button->shownKind(), biDisable);
    button->setEnabled(true);
    EXPECT_EQ(button->shownKind(), biNormal);
}

TEST_F(RegionButton, ShapeFollowsTheButtonWhenItMoves)
{
    show();
    button->move(70, 10); // a move without a resize, as anchoring to the right does
    pointTo(centre);
    EXPECT_TRUE(button->isHot());
    QTest::mouseClick(button, Qt::LeftButton, Qt::NoModifier, centre);
    EXPECT_EQ(clicks, 1);
    QTest::mouseClick(button, Qt::LeftButton, Qt::NoModifier, corner);
    EXPECT_EQ(clicks, 1);
}

TEST_F(RegionButton, HotHintShowsOnlyOverTheShape)
{
    button->setToolTip(QStringLiteral("Minimize"));
    button->setShowHotHint(true);
    show();
    auto tipAccepted = [this](QPoint local) {
        QHelpEvent help(QEvent::ToolTip, local, button->mapToGlobal(local));
        QApplication::sendEvent(button, &help);
        return help.isAccepted();
    };
    EXPECT_FALSE(tipAccepted(corner));
    EXPECT_TRUE(tipAccepted(centre));
    button->setShowHotHint(false); // switches the hint off altogether
    EXPECT_FALSE(tipAccepted(centre));
}

TEST_F(RegionButton, ClickHandlerMayDestroyTheButton)
{
    show();
    QPointer<TRegionBt> guard(button);
    button->OnClick = [](TRegionBt *sender) { delete sender; };
    QTest::mousePress(button, Qt::LeftButton, Qt::NoModifier, centre);
    QMouseEvent release(QEvent::MouseButtonRelease, centre, button->mapToGlobal(centre),
                        Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(button, &release);
    EXPECT_TRUE(guard.isNull());
}

TEST_F(RegionButton, PaintsEachStateInsideTheClipOnly)
{
    button->images().add(biDisable, solid(kDisable));
    show();
    struct State
    {
        const char *name;
        QRgb colour;
    };
    const State states[] = {
        {"normal", kNormal}, {"over", kOver}, {"push", kPush}, {"disable", kDisable}};
    for (const State &state : states) {
        const QString name = QString::fromLatin1(state.name);
        if (name == "over")
            pointTo(centre);
        else if (name == "push")
            QTest::mousePress(button, Qt::LeftButton, Qt::NoModifier, centre);
        else if (name == "disable") {
            QTest::mouseRelease(button, Qt::LeftButton, Qt::NoModifier, centre);
            button->setEnabled(false);
        }
        const QImage picture = grabForm();
        picture.save(picturePath(QStringLiteral("regionbt-%1.png").arg(name)));
        EXPECT_EQ(picture.pixel(40 + 12, 30 + 9), state.colour) << state.name;
        // The corner lies inside the clip: painted, though it does not react to the mouse.
        EXPECT_EQ(picture.pixel(40, 30), state.colour) << state.name;
        // Past the clip the form shows through.
        EXPECT_EQ(picture.pixel(40 + 23, 30 + 9), kFormBack) << state.name;
    }
}

} // namespace
