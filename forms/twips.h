#pragma once

#include <QRect>

// Every design position and size is in twips; 15 twips make one
// device-independent pixel (96 dpi). Nothing else converts.
namespace forms {

inline constexpr int TwipsPerPixel = 15;

int twipsToPixels(int twips);
int pixelsToTwips(int pixels);
QRect twipsToPixels(const QRect &twips);

} // namespace forms
