// Mouse input goes through the window system interface, so Qt routes it as it would real input:
// enter and leave, the implicit grab while a button is held, double clicks.
#define QTEST_QPA_MOUSE_HANDLING

#include "ui/components/ImageBt.h"

#include <QDir>
#include <QImage>
#include <QPainter>
#include <QTest>
#include <gtest/gtest.h>

namespace {

using Pict = TImageBt::Picture;

const QColor Background(200, 200, 200);
const QColor NormColor(0, 0, 255);
const QColor OverColor(255, 0, 0);
const QColor PresColor(0, 160, 0);
const QColor DisaColor(90, 90, 90);

QPixmap solid(int size, const QColor &color)
{
    QPixmap picture(size, size);
    picture.fill(color);
    return picture;
}

QString outputDir()
{
    QString base = qEnvironmentVariable("TOLVEX_BINARY_DIR");
    if (base.isEmpty())
        base = QDir::currentPath();
    const QString dir = base + QStringLiteral("/test-output/imagebt");
    QDir().mkpath(dir);
    return dir;
}

struct ChoiceCase
{
    const char *name;
    bool enabled, over, pressed;
    bool hasOver, hasPres, hasDisa;
    Pict expected;
};

void PrintTo(const ChoiceCase &c, std::ostream *os)
{
    *os << c.name;
}

class ChoosePictureTest : public ::testing::TestWithParam<ChoiceCase>
{};

TEST_P(ChoosePictureTest, PicksTheStatePictureOrItsFallBack)
{
    const ChoiceCase &c = GetParam();
    EXPECT_EQ(
        TImageBt::ChoosePicture(c.enabled, c.over, c.pressed, c.hasOver, c.hasPres, c.hasDisa),
        c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    States, ChoosePictureTest,
    ::testing::Values(
        ChoiceCase{"Normal", true, false, false, true, true, true, Pict::Norm},
        ChoiceCase{"Over", true, true, false, true, true, true, Pict::Over},
        ChoiceCase{"OverWithoutPicture", true, true, false, false, true, true, Pict::Norm},
        ChoiceCase{"Pressed", true, true, true, true, true, true, Pict::Pres},
        ChoiceCase{"PressedFallsBackToOver", true, true, true, true, false, true, Pict::Over},
        ChoiceCase{"PressedFallsBackToNormal", true, true, true, false, false, true, Pict::Norm},
        ChoiceCase{"PressedDraggedOut", true, false, true, true, true, true, Pict::Norm},
        ChoiceCase{"Disabled", false, true, true, true, true, true, Pict::Disa},
        ChoiceCase{"DisabledWithoutPicture", false, true, true, true, true, false, Pict::Norm}),
    [](const ::testing::TestParamInfo<ChoiceCase> &info) { return std::string(info.param.name); });

TEST(ImageBtGeometry, DefaultsAndCentring)
{
    TImageBt button;
    EXPECT_EQ(button.size(), QSize(23, 23));
    EXPECT_EQ(button.focusPolicy(), Qt::NoFocus);
    EXPECT_FALSE(button.MouseOver());
    EXPECT_FALSE(button.Pressed());
    EXPECT_TRUE(button.DrawRect().isEmpty()) << "no normal picture, nothing to draw";

    button.SetPictNorm(solid(16, NormColor));
    EXPECT_EQ(button.DrawRect(), QRect(3, 3, 16, 16));
    button.resize(10, 10);
    button.SetPictNorm(solid(15, NormColor));
    EXPECT_EQ(button.DrawRect(), QRect(-2, -2, 15, 15)) << "truncated towards zero";
}

class ImageBtTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        QPalette palette;
        palette.setColor(QPalette::Window, Background);
        window.setPalette(palette);
        window.setAutoFillBackground(true);
        window.resize(60, 40);
        button = new TImageBt(&window);
        button->SetPictNorm(solid(16, NormColor));
        button->SetPictOver(solid(8, OverColor)); // another size: drawn scaled
        button->SetPictPres(solid(16, PresColor));
        button->OnClick = [this](TImageBt *sender) {
            EXPECT_EQ(sender, button);
            ++clicks;
        };
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    }

    QPoint centre() const { return button->rect().center(); }
    static QPoint outside() { return {45, 30}; }
    // The pointer is left where the previous test put it, and a window shown under it may
    // already have made the button's acquaintance: pass over the button and leave it.
    void pointerAway()
    {
        QTest::mouseMove(&window, button->geometry().center());
        QTest::mouseMove(&window, outside());
        ASSERT_FALSE(button->MouseOver());
    }

    QWidget window;
    TImageBt *button = nullptr;
    int clicks = 0;
};

TEST_F(ImageBtTest, PressDragOutAndReleaseOutsideIsNoClick)
{
    QTest::mouseMove(button, centre());
    EXPECT_EQ(button->CurrentPicture(), Pict::Over);
    QTest::mousePress(button, Qt::LeftButton, {}, centre());
    EXPECT_EQ(button->CurrentPicture(), Pict::Pres);

    QTest::mouseMove(button, outside());
    EXPECT_TRUE(button->Pressed());
    EXPECT_EQ(button->CurrentPicture(), Pict::Norm) << "out while pressed shows normal";
    QTest::mouseMove(button, centre());
    EXPECT_EQ(button->CurrentPicture(), Pict::Pres) << "back before release shows pressed";
    QTest::mouseMove(button, outside());
    QTest::mouseRelease(button, Qt::LeftButton, {}, outside());

    EXPECT_EQ(clicks, 0);
    EXPECT_FALSE(button->Pressed());
    EXPECT_EQ(button->CurrentPicture(), Pict::Norm);

    QTest::mouseClick(button, Qt::LeftButton, {}, centre());
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(button->CurrentPicture(), Pict::Over);
}

TEST_F(ImageBtTest, DoubleClickFiresOnceAndItsReleaseIsNoSecondClick)
{
    int doubles = 0;
    int downs = 0;
    button->OnDblClick = [&](TImageBt *) { ++doubles; };
    button->OnMouseDown = [&](TImageBt *, Qt::MouseButton, Qt::KeyboardModifiers, int, int) {
        ++downs;
    };
    QTest::mouseDClick(button, Qt::LeftButton, {}, centre());
    EXPECT_EQ(doubles, 1);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(downs, 2);
    EXPECT_FALSE(button->Pressed());
}

TEST_F(ImageBtTest, DisabledButtonIgnoresTheMouse)
{
    pointerAway();
    button->setEnabled(false);
    QTest::mouseMove(button, centre());
    EXPECT_FALSE(button->MouseOver());
    EXPECT_EQ(button->CurrentPicture(), Pict::Norm);
    button->SetPictDisa(solid(16, DisaColor));
    EXPECT_EQ(button->CurrentPicture(), Pict::Disa);
}

// Renders the button in every state to PNG files and checks the picture's edges exactly.
TEST_F(ImageBtTest, RendersEachStateCentredAtTheNormalPictureSize)
{
    button->SetPictDisa(solid(16, DisaColor));
    const QString dir = outputDir();
    const auto check = [&](const char *state, const QColor &color) {
        const QImage shot = window.grab(QRect(0, 0, 23, 23)).toImage();
        EXPECT_TRUE(shot.save(dir + QStringLiteral("/%1.png").arg(QLatin1String(state))));
        EXPECT_EQ(shot.pixel(2, 2), Background.rgb()) << state;
        EXPECT_EQ(shot.pixel(3, 3), color.rgb()) << state;
        EXPECT_EQ(shot.pixel(18, 18), color.rgb()) << state;
        EXPECT_EQ(shot.pixel(19, 19), Background.rgb()) << state;
        EXPECT_EQ(shot.pixel(11, 19), Background.rgb()) << state;
    };

    pointerAway();
    check("normal", NormColor);
    QTest::mouseMove(button, centre());
    check("over", OverColor);
    QTest::mousePress(button, Qt::LeftButton, {}, centre());
    check("pressed", PresColor);
    QTest::mouseRelease(button, Qt::LeftButton, {}, centre());
    button->setEnabled(false);
    check("disabled", DisaColor);
}

TEST_F(ImageBtTest, TransparentDropsTheBottomLeftColourOfOpaquePictures)
{
    const QColor key(255, 0, 255);
    QPixmap keyed = solid(16, NormColor);
    {
        QPainter painter(&keyed);
        painter.fillRect(0, 0, 4, 16, key); // left band, bottom-left pixel included
    }
    button->SetPictNorm(keyed);
    pointerAway();

    EXPECT_EQ(window.grab().toImage().pixel(4, 10), key.rgb());
    button->SetTransparent(true);
    QImage shot = window.grab().toImage();
    shot.save(outputDir() + QStringLiteral("/transparent.png"));
    EXPECT_EQ(shot.pixel(4, 10), Background.rgb());
    EXPECT_EQ(shot.pixel(8, 10), NormColor.rgb());
    button->SetTransparent(false);
    EXPECT_EQ(window.grab().toImage().pixel(4, 10), key.rgb()) << "switching back restores it";
}

} // namespace
