#include "platform/screen.h"


#include <QGuiApplication>
#include <QScreen>

namespace platform {

namespace {
std::optional<QSize> &screenOverride()
{
    static std::optional<QSize> value;
    return value;
}

constexpr int twipsPerPixel = 15;
} // namespace

QSize screenSizeTwips()
{
    if (screenOverride())
        return *screenOverride();
    const QScreen *screen = QGuiApplication::primaryScreen();
    if (!screen)
        return QSize(0, 0);
    return screen->size() * twipsPerPixel;
}

QRect availableAreaTwips()
{
    if (screenOverride())
        return QRect(QPoint(0, 0), *screenOverride());
    const QScreen *screen = QGuiApplication::primaryScreen();
    if (!screen)
        return QRect();
    const QRect area = screen->availableGeometry();
    return QRect(area.x() * twipsPerPixel, area.y() * twipsPerPixel, area.width() * twipsPerPixel,
                 area.height() * twipsPerPixel);
}

void setScreenSizeOverride(std::optional<QSize> twips)
{
    screenOverride() = twips;
}

} // namespace platform
