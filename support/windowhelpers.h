#pragma once

#include <QString>

class QWidget;
namespace forms {
class Form;
}

namespace support {

// Centres the window horizontally on the screen and vertically within the
// upper 85 % of it, without resizing it; Top, then Left, clamped at 0.
void CenterForm(forms::Form &form);

// Moves the window into or out of the always-on-top band, then processes
// the pending window events once.
void SetTopmost(QWidget *window, bool on);

// The desktop's "open" operation for one file; returns at once.
void ShellOpen(QWidget *owner, const QString &path);

} // namespace support
