#include "platform/window.h"
#include "platform/window_native.h"

#include <QWidget>

#include <windows.h>
// shellapi.h needs the types windows.h declares.
#include <shellapi.h>

namespace platform {

void setWindowTopmost(QWidget *window, bool on)
{
    if (!window)
        return;
    SetWindowPos(reinterpret_cast<HWND>(window->winId()), on ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                 SWP_NOSIZE | SWP_NOMOVE);
}

bool isWindowTopmost(const QWidget *window)
{
    if (!window)
        return false;
    const LONG_PTR style = GetWindowLongPtrW(reinterpret_cast<HWND>(window->winId()), GWL_EXSTYLE);
    return (style & WS_EX_TOPMOST) != 0;
}

void nativeShellOpen(QWidget *owner, const QString &path)
{
    const std::wstring file = path.toStdWString();
    ShellExecuteW(owner ? reinterpret_cast<HWND>(owner->winId()) : nullptr, L"open", file.c_str(), L"", L"",
                  SW_SHOWNORMAL);
}

} // namespace platform
