#include "forms/drivelist.h"

#include "platform/drives.h"

#include <QDir>
#include <QStyle>

namespace forms {

DriveList::DriveList(QWidget *parent)
    : QComboBox(parent)
    , Placeable(this)
{
    initColors(palette().color(QPalette::Base), palette().color(QPalette::Text));
    connect(this, &QComboBox::currentIndexChanged, this, [this] {
        if (!m_filling)
            emit Change();
    });
    fill(platform::driveOf(QDir::currentPath()));
}

QString DriveList::Drive() const
{
    return currentData().toString();
}

bool DriveList::SetDrive(const QString &drive)
{
    const QString driveName = platform::driveOf(drive);
    if (driveName.isEmpty())
        return false;
    const int index = findData(driveName);
    if (index < 0 || !platform::driveReadable(driveName))
        return false;
    // An unchanged drive raises no Change (the index does not move).
    setCurrentIndex(index);
    return true;
}

void DriveList::RefreshDrives()
{
    const QString before = Drive();
    fill(before);
    if (Drive() != before)
        emit Change();
}

void DriveList::applyColors()
{
    applyPaletteColors(QPalette::Base, QPalette::Text);
    applyPaletteColors(QPalette::Window, QPalette::WindowText);
    applyPaletteColors(QPalette::Button, QPalette::ButtonText);
}

void DriveList::showPopup()
{
    // Media inserted since the last look show up when the list opens.
    RefreshDrives();
    QComboBox::showPopup();
}

void DriveList::fill(const QString &preferred)
{
    m_filling = true;
    clear();
    const QIcon icon = style()->standardIcon(QStyle::SP_DriveHDIcon);
    const QStringList drives = platform::drives();
    for (const QString &drive : drives)
        addItem(icon, QDir::toNativeSeparators(drive), drive);
    const int index = findData(preferred);
    setCurrentIndex(index >= 0 ? index : (count() > 0 ? 0 : -1));
    m_filling = false;
}

} // namespace forms
