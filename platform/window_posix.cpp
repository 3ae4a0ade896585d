#include "platform/window.h"
#include "platform/window_native.h"

#include <QDesktopServices>
#include <QUrl>
#include <QWidget>
#include <QWindow>

namespace platform {

void setWindowTopmost(QWidget *window, bool on)
{
    if (!window)
        return;
    // Changing a widget's window flags re-creates its native window (it is
    // hidden and loses its place); the native window's own flags change the
    // stacking in place.
    if (QWindow *handle = window->windowHandle(); handle && window->isVisible()) {
        handle->setFlag(Qt::WindowStaysOnTopHint, on);
        if (on)
            handle->raise();
        return;
    }
    window->setWindowFlag(Qt::WindowStaysOnTopHint, on);
}

bool isWindowTopmost(const QWidget *window)
{
    if (!window)
        return false;
    if (const QWindow *handle = window->windowHandle())
        return handle->flags().testFlag(Qt::WindowStaysOnTopHint);
    return window->windowFlags().testFlag(Qt::WindowStaysOnTopHint);
}

void nativeShellOpen(QWidget *owner, const QString &path)
{
    Q_UNUSED(owner);
    // A file URL reaches the desktop's opener as one argument; no shell ever
    // sees the name.
    QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

} // namespace platform
