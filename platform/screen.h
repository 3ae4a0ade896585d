#pragma once

#include <QList>
#include <QRect>
#include <QSize>
#include <optional>

namespace platform {

// One screen's place on the desktop, in twips: the whole screen, and the
// part of it not taken by task bars and panels.
struct ScreenArea
{
    QRect geometry;
    QRect available;
};

// Full size of the primary screen in twips.
QSize screenSizeTwips();

// Every screen, the primary first.
QList<ScreenArea> screensTwips();

// One screen of this size at the origin, without panels.
QList<ScreenArea> singleScreen(QSize twips);

// Tests place the screens exactly; std::nullopt returns to the real ones.
// Each returns the override it replaces.
std::optional<QList<ScreenArea>> setScreensOverride(std::optional<QList<ScreenArea>> screens);
// A single screen of this size.
std::optional<QList<ScreenArea>> setScreenSizeOverride(std::optional<QSize> twips);

} // namespace platform
