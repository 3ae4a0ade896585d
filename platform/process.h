#pragma once

#include <QString>

namespace platform {

// Full path of the running executable, native separators.
QString executablePath();

// The command-line text after the program's own name, taken as one text.
// On Windows this is the raw rest of the command line; elsewhere the
// arguments as the system handed them over, joined by single blanks.
QString commandLineText();

// Extension that executables carry on this system (".exe" on Windows).
QString executableSuffix();

} // namespace platform
