#pragma once

#include "support/textfile.h"

namespace support {

// The save of the windows: replaceTextFile, and after a failure the message
// "Fehler beim Schreiben der Datei. " with the program's title. Returns
// whether the text was written.
bool WriteTextFile(const QString &path, const QString &text, TextEncoding encoding = TextEncoding::Default);
bool WriteTextFile(const QString &path, std::span<const QStringView> pieces, TextEncoding encoding);

} // namespace support
