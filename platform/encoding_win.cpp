#include "platform/encoding.h"

namespace platform {

bool newFilesUseAnsiCodePage()
{
    return true;
}

} // namespace platform
