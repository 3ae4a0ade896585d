#include "platform/screen.h"

#include <QGuiApplication>
#include <QScreen>

namespace platform {

namespace {
std::optional<QList<ScreenArea>> &screensOverride()
{
    static std::optional<QList<ScreenArea>> value;
    return value;
}

constexpr int twipsPerPixel = 15;

QRect inTwips(const QRect &pixels)
{
    return QRect(pixels.x() * twipsPerPixel, pixels.y() * twipsPerPixel, pixels.width() * twipsPerPixel,
                 pixels.height() * twipsPerPixel);
}
} // namespace

QSize screenSizeTwips()
{
    const QList<ScreenArea> screens = screensTwips();
    return screens.isEmpty() ? QSize(0, 0) : screens.first().geometry.size();
}

QList<ScreenArea> screensTwips()
{
    if (screensOverride())
        return *screensOverride();
    QList<ScreenArea> areas;
    const QScreen *primary = QGuiApplication::primaryScreen();
    if (primary)
        areas.append({inTwips(primary->geometry()), inTwips(primary->availableGeometry())});
    const QList<QScreen *> screens = QGuiApplication::screens();
    for (const QScreen *screen : screens) {
        if (screen != primary)
            areas.append({inTwips(screen->geometry()), inTwips(screen->availableGeometry())});
    }
    return areas;
}

void setScreensOverride(std::optional<QList<ScreenArea>> screens)
{
    screensOverride() = std::move(screens);
}

void setScreenSizeOverride(std::optional<QSize> twips)
{
    if (!twips) {
        screensOverride().reset();
        return;
    }
    const QRect whole(QPoint(0, 0), *twips);
    screensOverride() = QList<ScreenArea>{{whole, whole}};
}

} // namespace platform
