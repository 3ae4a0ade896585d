#pragma once

namespace platform {

// Whether a file that was never read is written in the system's 8-bit ANSI
// code page (Windows) rather than UTF-8 (elsewhere).
bool newFilesUseAnsiCodePage();

} // namespace platform
