#pragma once

#include <QRect>
#include <QSize>
#include <optional>

namespace platform {

// Full size of the primary screen in twips.
QSize screenSizeTwips();

// Area of the primary screen not taken by task bars and panels, in twips.
QRect availableAreaTwips();

// Tests give the screen an exact size; std::nullopt returns to the real one.
void setScreenSizeOverride(std::optional<QSize> twips);

} // namespace platform
