#pragma once

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

// A fresh temporary folder for one test, which is also the process's current
// folder while it lives (lists start in the current folder).
class TestFolder
{
public:
    TestFolder()
        : m_previous(QDir::currentPath())
    {
        QDir::setCurrent(m_dir.path());
    }
    ~TestFolder() { QDir::setCurrent(m_previous); }
    TestFolder(const TestFolder &) = delete;
    TestFolder &operator=(const TestFolder &) = delete;

    bool isValid() const { return m_dir.isValid(); }
    QString path() const { return m_dir.path(); }
    QString path(const QString &relative) const { return m_dir.filePath(relative); }
    QString nativePath(const QString &relative) const { return QDir::toNativeSeparators(path(relative)); }
    bool makeFolder(const QString &relative) const { return QDir(m_dir.path()).mkpath(relative); }
    bool makeFile(const QString &relative) const
    {
        QFile f(path(relative));
        return f.open(QIODevice::WriteOnly);
    }

private:
    QString m_previous;
    QTemporaryDir m_dir;
};
