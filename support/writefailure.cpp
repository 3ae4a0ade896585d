#include "support/writefailure.h"

#include "support/message.h"

namespace support {

bool ReportWriteFailure(bool written)
{
    if (!written)
        ShowMessage(QStringLiteral("Fehler beim Schreiben der Datei. "), MessageExclamation, QString());
    return written;
}

} // namespace support
