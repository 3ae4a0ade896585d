#pragma once

#include <QFileSystemWatcher>
#include <QObject>
#include <QTimer>

namespace document {

// Tells, soon after it happened, that the file at a path or the folder it
// lies in changed: editors and version control replace a file by renaming
// another over it, which a watch of the file alone would lose.
class FileWatch : public QObject
{
    Q_OBJECT
public:
    explicit FileWatch(QObject *parent = nullptr);

    // Watches this path from now on; an empty path watches nothing.
    void watch(const QString &path);

signals:
    void changed();

private:
    void rewatch();

    QFileSystemWatcher m_watcher;
    QTimer m_settle;
    QString m_path;
};

} // namespace document
