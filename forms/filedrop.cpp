#include "forms/filedrop.h"

#include <QDir>
#include <QMimeData>
#include <QUrl>

namespace forms {

std::optional<QStringList> droppedFiles(const QMimeData *data)
{
    if (!data || !data->hasUrls())
        return std::nullopt;
    QStringList paths;
    const QList<QUrl> urls = data->urls();
    for (const QUrl &url : urls) {
        if (!url.isLocalFile())
            continue;
        const QString path = url.toLocalFile();
        if (!path.isEmpty())
            paths.append(QDir::toNativeSeparators(path));
    }
    if (paths.isEmpty())
        return std::nullopt;
    return paths;
}

} // namespace forms
