#include "platform/window.h"

#include "platform/window_native.h"

namespace platform {

namespace {
std::function<void(const QString &)> &shellOpenHook()
{
    static std::function<void(const QString &)> hook;
    return hook;
}
} // namespace

void setShellOpenHook(std::function<void(const QString &path)> hook)
{
    shellOpenHook() = std::move(hook);
}

void shellOpen(QWidget *owner, const QString &path)
{
    if (shellOpenHook()) {
        shellOpenHook()(path);
        return;
    }
    nativeShellOpen(owner, path);
}

} // namespace platform
