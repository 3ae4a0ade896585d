#include "forms/twips.h"

#include <cmath>

namespace forms {

int twipsToPixels(int twips)
{
    // Half a pixel rounds away from zero, so negative positions mirror
    // positive ones.
    return static_cast<int>(std::lround(static_cast<double>(twips) / TwipsPerPixel));
}

int pixelsToTwips(int pixels)
{
    return pixels * TwipsPerPixel;
}

QRect twipsToPixels(const QRect &twips)
{
    return QRect(twipsToPixels(twips.x()), twipsToPixels(twips.y()), twipsToPixels(twips.width()),
                 twipsToPixels(twips.height()));
}

} // namespace forms
