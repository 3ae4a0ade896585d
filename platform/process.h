#pragma once

#include <QString>
#include <optional>

namespace platform {

// Full path of the running executable, native separators.
QString executablePath();

// The command-line text after the program's own name, taken as one text.
// On Windows this is the raw rest of the command line; elsewhere the
// arguments as the system handed them over, joined by single blanks.
QString commandLineText();

// Tests run start-up as if the program lay elsewhere or had been given
// another command line; std::nullopt returns to the real ones. Each returns
// the override it replaces.
std::optional<QString> setExecutablePathOverride(std::optional<QString> path);
std::optional<QString> setCommandLineOverride(std::optional<QString> text);

} // namespace platform
