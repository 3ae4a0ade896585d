#pragma once

#include <QString>
#include <QStringList>

// Faults of the file system brought about for a test and undone after it:
// a small tmpfs mounted over a folder (full or read-only), an immutable
// file. Each returns false when this machine or user cannot do it, so the
// test can skip with a reason.
namespace testsupport {

class FileSystemFaults
{
public:
    FileSystemFaults() = default;
    ~FileSystemFaults();
    FileSystemFaults(const FileSystemFaults &) = delete;
    FileSystemFaults &operator=(const FileSystemFaults &) = delete;

    // Mounts a tmpfs of `bytes` over the (empty) folder; needs root.
    bool mountSmallFileSystem(const QString &folder, int bytes);
    bool remountReadOnly(const QString &folder);
    // chattr +i; needs root and a file system with attributes.
    bool makeImmutable(const QString &file);
    // Fills what is left of the file system that holds the folder.
    void fillUp(const QString &folder);

private:
    QStringList m_mounts;
    QStringList m_immutable;
};

// Runs a program to its end; true when it exited with 0.
bool runProgram(const QString &program, const QStringList &arguments);

} // namespace testsupport
