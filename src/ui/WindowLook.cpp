#include "ui/WindowLook.h"

#include "engine/Cp1252.h"
#include "ui/components/XPMenu.h"

#include <QDesktopServices>
#include <QFile>
#include <QGuiApplication>
#include <QPalette>
#include <QWidget>

namespace WindowLook {

QColor color(quint32 bbggrr)
{
    return QColor(int(bbggrr & 0xFF), int((bbggrr >> 8) & 0xFF), int((bbggrr >> 16) & 0xFF));
}

QFont windowFont()
{
    QFont font;
    // Tahoma is rarely installed on Linux desktops; the condensed fallback keeps the narrow
    // metrics the 130-pixel window was laid out for.
    font.setFamilies({QStringLiteral("Tahoma"), QStringLiteral("DejaVu Sans Condensed"),
                      QStringLiteral("Liberation Sans Narrow"), QStringLiteral("DejaVu Sans")});
    font.setPixelSize(11);
    return font;
}

void paintBackground(QWidget &widget, quint32 bbggrr)
{
    QPalette palette = widget.palette();
    palette.setColor(QPalette::Window, color(bbggrr));
    widget.setPalette(palette);
    widget.setAutoFillBackground(true);
    widget.setFont(windowFont());
}

void paintField(QWidget &field)
{
    QPalette palette = field.palette();
    palette.setColor(QPalette::Base, color(kFieldColor));
    palette.setColor(QPalette::Button, color(kFieldColor));
    field.setPalette(palette);
}

QString text(const QByteArray &bytes)
{
    return Cp1252::toDisplay(bytes);
}

QByteArray bytes(const QString &text)
{
    return Cp1252::fromUnicode(text);
}

std::function<void(const QUrl &)> &linkOpener()
{
    static std::function<void(const QUrl &)> opener = [](const QUrl &target) {
        QDesktopServices::openUrl(target);
    };
    return opener;
}

void applyMenuSkin(TXPMenu &skin)
{
    using namespace MenuColors;
    skin.setFont(windowFont());
    skin.setFontColor(clMenuText);
    skin.setColor(rgb(212, 212, 212));
    skin.setIconBackColor(rgb(193, 193, 191));
    skin.setMenuBarColor(clHighlight);
    skin.setSelectColor(rgb(170, 199, 251));
    skin.setSelectBorderColor(rgb(128, 128, 255));
    skin.setSelectFontColor(clMenuText);
    skin.setDisabledColor(rgb(200, 196, 196));
    skin.setSeparatorColor(clBtnFace);
    skin.setCheckedColor(clHighlight);
    skin.setIconWidth(24);
    skin.setDrawSelect(true);
    skin.setUseSystemColors(false);
    skin.setOverrideOwnerDraw(false);
    skin.setGradient(true);
    skin.setFlatMenu(false);
    skin.setAutoDetect(true);
    skin.setActive(true);
}

QPixmap picture(const QString &path)
{
    // Read as name@2x.png, the picture carries a pixel ratio of 2 and is drawn at its size
    // in points; at 1.5 it is scaled down, which stays sharper than scaling 1x up.
    if (qGuiApp && qGuiApp->devicePixelRatio() > 1.0 && path.endsWith(QLatin1String(".png"))) {
        const QString dense = path.chopped(4) + QLatin1String("@2x.png");
        if (QFile::exists(dense))
            return QPixmap(dense);
    }
    return QPixmap(path);
}

} // namespace WindowLook
