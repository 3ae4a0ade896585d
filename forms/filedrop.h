#pragma once

#include <QStringList>
#include <optional>

class QMimeData;

namespace forms {

// The list-of-files format of dropped data: the local files and folders the
// desktop offers, in order, native separators. Nothing when the data holds no
// local file (text, remote URLs).
std::optional<QStringList> droppedFiles(const QMimeData *data);

} // namespace forms
