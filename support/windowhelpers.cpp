#include "support/windowhelpers.h"

#include "forms/events.h"
#include "forms/form.h"
#include "platform/screen.h"
#include "platform/window.h"

#include <cmath>

namespace support {

namespace {
// Nearest whole number, a half to the even neighbour (the default rounding
// mode of the floating-point unit).
long long roundHalfEven(double value)
{
    return static_cast<long long>(std::nearbyint(value));
}
} // namespace

void CenterForm(forms::Form &form)
{
    const QSize screen = platform::screenSizeTwips();
    const long long top = roundHalfEven(screen.height() * 0.85) / 2 - roundHalfEven(form.Height()) / 2;
    form.SetTop(static_cast<int>(top));
    const long long left = roundHalfEven(screen.width()) / 2 - roundHalfEven(form.Width()) / 2;
    form.SetLeft(static_cast<int>(left));
    if (form.Top() < 0)
        form.SetTop(0);
    if (form.Left() < 0)
        form.SetLeft(0);
}

void SetTopmost(QWidget *window, bool on)
{
    platform::setWindowTopmost(window, on);
    forms::DoEvents();
}

void ShellOpen(QWidget *owner, const QString &path)
{
    platform::shellOpen(owner, path);
}

} // namespace support
