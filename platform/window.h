#pragma once

#include <QMargins>
#include <QString>
#include <functional>
#include <optional>

class QWidget;

namespace platform {

// Moves the window into (on) or out of the always-on-top band. Only the
// stacking changes: no move, no resize, no lost focus or text.
void setWindowTopmost(QWidget *window, bool on);
bool isWindowTopmost(const QWidget *window);

// The frame the window manager draws around a shown window, in pixels
// (left, caption, right, bottom); empty while the window is hidden or where
// nothing is drawn around it.
QMargins windowFrameMargins(const QWidget *window);

// Tests give shown windows a frame, which the offscreen platform never
// draws; std::nullopt returns to the real one. Returns the override it
// replaces.
std::optional<QMargins> setWindowFrameOverride(std::optional<QMargins> pixels);

// Hands one file to the desktop's "open" operation as one argument, never
// through a shell command line. Returns at once; failures are silent.
void shellOpen(QWidget *owner, const QString &path);

// Tests observe shell opens instead of starting programs; an empty function
// returns to the real service. Returns the hook it replaces.
using ShellOpenHook = std::function<void(const QString &path)>;
ShellOpenHook setShellOpenHook(ShellOpenHook hook);

} // namespace platform
