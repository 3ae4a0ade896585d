#include "platform/durable.h"

#include <QFileDevice>

#include <io.h>
#include <windows.h>

namespace platform {

bool syncFile(const QFileDevice &file)
{
    return file.handle() >= 0 && FlushFileBuffers(reinterpret_cast<HANDLE>(_get_osfhandle(file.handle())));
}

bool syncFolder(const QString &folder)
{
    // Windows makes a folder's entries durable with the files in it.
    Q_UNUSED(folder);
    return true;
}

} // namespace platform
