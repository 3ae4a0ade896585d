#pragma once

#include <QIcon>

// Icons for the buttons whose captions were symbol-font glyphs.
namespace glyphs {

// A circular arrow: read the folder again.
QIcon refresh();
// A pin: keep the window above all others.
QIcon pin();

} // namespace glyphs
