#pragma once

#include <QString>

namespace platform {

// The per-user folder for what a program keeps between runs that is neither
// settings nor documents (the recovery journal): $XDG_STATE_HOME/<name>,
// ~/.local/state/<name> when that is not set, and %LOCALAPPDATA%\<name> on
// Windows. It is not created here.
QString stateFolder(const QString &name);

} // namespace platform
