#include "app/settingslocation.h"

#include "app/desktopidentity.h"
#include "platform/folderaccess.h"
#include "platform/longpath.h"
#include "support/paths.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace {

QString perUserFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
}

bool sameFolder(const QString &a, const QString &b)
{
    const Qt::CaseSensitivity cs = platform::fileNamesCaseInsensitive() ? Qt::CaseInsensitive : Qt::CaseSensitive;
    return QDir::cleanPath(QFileInfo(a).absoluteFilePath())
               .compare(QDir::cleanPath(QFileInfo(b).absoluteFilePath()), cs)
        == 0;
}

} // namespace

QString SettingsFileLocation(const QString &besideExecutable)
{
    const QFileInfo beside(besideExecutable);
    const QString executableFolder = beside.absolutePath();
    // An installed copy keeps out of the system's folders even where it may
    // write there (run as root), so that removing it leaves nothing behind.
    if (!IsInstalledCopy(executableFolder) && platform::canCreateFilesIn(executableFolder))
        return besideExecutable;
    const QString folder = perUserFolder();
    if (folder.isEmpty())
        return besideExecutable;
    return QDir::toNativeSeparators(QDir(folder).filePath(beside.fileName()));
}

void CreateSettingsFolderFor(const QString &file)
{
    const QString folder = perUserFolder();
    if (folder.isEmpty() || !sameFolder(QFileInfo(file).absolutePath(), folder))
        return;
    // Missing levels, outermost first; each made for the user alone, as the
    // configuration folders of the desktop are.
    QStringList missing;
    for (QString level = QDir::cleanPath(folder); !QFileInfo::exists(level);) {
        missing.prepend(level);
        const QString parent = QFileInfo(level).absolutePath();
        if (parent == level)
            break;
        level = parent;
    }
    for (const QString &level : std::as_const(missing)) {
        if (!QDir().mkdir(level, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner) && !QFileInfo(level).isDir())
            return;
    }
}

QString FirstRunFolder(const QString &executableFolder, const QString &settingsFile)
{
    if (sameFolder(QFileInfo(settingsFile).absolutePath(), executableFolder))
        return executableFolder;
    QString home = QDir::toNativeSeparators(QDir::homePath());
    return support::AddBackslash(home);
}
