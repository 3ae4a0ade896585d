#include "platform/window.h"

#include "platform/window_native.h"

#include <QWidget>

#include <utility>

namespace platform {

namespace {
ShellOpenHook &shellOpenHook()
{
    static ShellOpenHook hook;
    return hook;
}

std::optional<QMargins> &frameOverride()
{
    static std::optional<QMargins> margins;
    return margins;
}
} // namespace

QMargins windowFrameMargins(const QWidget *window)
{
    if (!window || !window->isVisible())
        return QMargins();
    if (frameOverride())
        return *frameOverride();
    const QRect outer = window->frameGeometry();
    const QRect inner = window->geometry();
    return QMargins(inner.left() - outer.left(), inner.top() - outer.top(), outer.right() - inner.right(),
                    outer.bottom() - inner.bottom());
}

std::optional<QMargins> setWindowFrameOverride(std::optional<QMargins> pixels)
{
    return std::exchange(frameOverride(), pixels);
}

ShellOpenHook setShellOpenHook(ShellOpenHook hook)
{
    return std::exchange(shellOpenHook(), std::move(hook));
}

void shellOpen(QWidget *owner, const QString &path)
{
    if (shellOpenHook()) {
        shellOpenHook()(path);
        return;
    }
    nativeShellOpen(owner, path);
}

} // namespace platform
