#pragma once

#include <functional>

class QObject;

namespace platform {

// Calls `handler` on the event loop when the desktop asks the process to end
// (SIGTERM at logout, SIGHUP, SIGINT on POSIX), so the program can close its
// windows as if the user had closed them. Windows delivers the end of a session as window
// messages, which Qt turns into closes of its own.
void onTerminationRequest(QObject *context, std::function<void()> handler);

} // namespace platform
