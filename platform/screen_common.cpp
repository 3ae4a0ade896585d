#include "platform/screen.h"

#include <QGuiApplication>
#include <QScreen>

#include <utility>

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

QList<ScreenArea> singleScreen(QSize twips)
{
    const QRect whole(QPoint(0, 0), twips);
    return {{whole, whole}};
}

std::optional<QList<ScreenArea>> setScreensOverride(std::optional<QList<ScreenArea>> screens)
{
    return std::exchange(screensOverride(), std::move(screens));
}

std::optional<QList<ScreenArea>> setScreenSizeOverride(std::optional<QSize> twips)
{
    return setScreensOverride(twips ? std::optional(singleScreen(*twips)) : std::nullopt);
}

} // namespace platform
