#pragma once

namespace support {

// After a save that did not reach its file: the message "Fehler beim
// Schreiben der Datei. " with the program's title. Returns `written`.
bool ReportWriteFailure(bool written);

} // namespace support
