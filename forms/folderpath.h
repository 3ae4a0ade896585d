#pragma once

#include <QString>
#include <optional>

namespace forms {

// The folder a folder or file list is asked to show: a drive name stands for
// that drive's current folder; the result is absolute and clean, in native
// separators, without a trailing separator except for a root. Nothing when
// it is not a folder that can be read.
std::optional<QString> readableFolder(const QString &path);

} // namespace forms
