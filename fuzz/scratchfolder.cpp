#include "scratchfolder.h"

#include "fuzzcheck.h"

#include <QTemporaryDir>

namespace fuzz {

QString scratchPath(const QString &name)
{
    static QTemporaryDir folder;
    check(folder.isValid(), "temporary folder", folder.errorString());
    return folder.filePath(name);
}

} // namespace fuzz
