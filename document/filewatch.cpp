#include "document/filewatch.h"

#include <QFileInfo>

namespace document {

namespace {

// A save touches a file and its folder several times in a row; they come
// as one change.
constexpr int settleMs = 50;

} // namespace

FileWatch::FileWatch(QObject *parent)
    : QObject(parent)
{
    m_settle.setSingleShot(true);
    m_settle.setInterval(settleMs);
    connect(&m_settle, &QTimer::timeout, this, &FileWatch::changed);
    connect(&m_watcher, &QFileSystemWatcher::fileChanged, this, &FileWatch::rewatch);
    connect(&m_watcher, &QFileSystemWatcher::directoryChanged, this, &FileWatch::rewatch);
}

void FileWatch::watch(const QString &path)
{
    if (path == m_path)
        return;
    m_path = path;
    if (!m_watcher.files().isEmpty())
        m_watcher.removePaths(m_watcher.files());
    if (!m_watcher.directories().isEmpty())
        m_watcher.removePaths(m_watcher.directories());
    if (path.isEmpty())
        return;
    m_watcher.addPath(QFileInfo(path).absolutePath());
    rewatch();
    m_settle.stop();
}

void FileWatch::rewatch()
{
    // A file replaced or deleted drops out of the watch; the new one is
    // watched again.
    if (!m_path.isEmpty() && !m_watcher.files().contains(m_path) && QFileInfo::exists(m_path))
        m_watcher.addPath(m_path);
    m_settle.start();
}

} // namespace document
