#pragma once

class QProcess;
class QProcessEnvironment;
class QString;

// The real editor as a process of its own.
namespace testsupport {

// Generous: a sanitizer build on a busy machine takes seconds to come up.
inline constexpr int editorStartTimeoutMs = 60000;

// Waits until the editor can take a SIGTERM as the end of a session, or has
// ended on its own; true when it runs and can. The editor installs its
// handler once the main window is up: a SIGTERM sent earlier would end it
// without saving. The sign is read from /proc (Linux only).
bool waitUntilTerminable(QProcess &editor);

// The test's own environment with the editor on the offscreen platform,
// keeping its recovery journals in `stateHome`.
QProcessEnvironment offscreenEnvironment(const QString &stateHome);

} // namespace testsupport
