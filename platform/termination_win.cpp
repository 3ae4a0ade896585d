#include "platform/termination.h"

namespace platform {

void onTerminationRequest(QObject *context, std::function<void()> handler)
{
    // The end of a session arrives as window messages that close the
    // windows; there is nothing to install.
    (void)context;
    (void)handler;
}

} // namespace platform
