#pragma once

#include "forms/placeable.h"

#include <QComboBox>

namespace forms {

// Drop-down of the platform's drives. Drive is the chosen drive (platform
// drive name, "c:" on Windows, a mount point elsewhere). Setting it, by
// code or by the user, raises Change; it fails for a drive that cannot be
// read, and then nothing changes.
class DriveList : public QComboBox, public Placeable
{
    Q_OBJECT
public:
    explicit DriveList(QWidget *parent = nullptr);

    QString Drive() const;
    // Accepts any path on the drive (its drive is taken with platform::driveOf).
    bool SetDrive(const QString &drive);
    // Re-reads the list of drives.
    void RefreshDrives();

signals:
    void Change();

protected:
    void applyColors() override;
    void showPopup() override;

private:
    // Reads the drives and chooses `preferred` again when it is still there.
    void fill(const QString &preferred);

    bool m_filling = false;
};

} // namespace forms
