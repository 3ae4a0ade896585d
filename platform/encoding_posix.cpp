#include "platform/encoding.h"

namespace platform {

bool newFilesUseAnsiCodePage()
{
    return false;
}

} // namespace platform
