#include "forms/filelist.h"

#include "forms/filemask.h"
#include "forms/folderentries.h"
#include "forms/folderpath.h"

#include <QDir>
#include <QMouseEvent>

namespace forms {

FileList::FileList(QWidget *parent)
    : BrowserList(parent)
{
    connect(this, &QListWidget::itemSelectionChanged, this, &FileList::selectionMoved);
    SetPath(QDir::currentPath());
}

bool FileList::SetPath(const QString &path)
{
    const std::optional<QString> folder = readableFolder(path);
    if (!folder)
        return false;
    m_path = *folder;
    fill();
    return true;
}

void FileList::SetPattern(const QString &pattern)
{
    m_pattern = pattern;
    fill();
}

QString FileList::FileName() const
{
    return m_selectedRow >= 0 && m_selectedRow < count() ? item(m_selectedRow)->text() : QString();
}

QString FileList::List(int index) const
{
    const QListWidgetItem *entry = item(index);
    return entry ? entry->text() : QString();
}

bool FileList::Selected(int index) const
{
    return index >= 0 && index == m_selectedRow;
}

void FileList::SetSelected(int index, bool selected)
{
    if (index < 0 || index >= count())
        return;
    if (selected)
        setCurrentRow(index, QItemSelectionModel::ClearAndSelect);
    else if (index == m_selectedRow)
        clearSelection();
}

void FileList::Refresh()
{
    fill();
}

bool FileList::SetFocus()
{
    return takeFocus(this);
}

QItemSelectionModel::SelectionFlags FileList::selectionCommand(const QModelIndex &index, const QEvent *event) const
{
    // Ctrl+click or Space never empty the selection: the chosen file stays
    // chosen until another one is.
    QItemSelectionModel::SelectionFlags flags = QListWidget::selectionCommand(index, event);
    if (index.isValid() && flags.testFlag(QItemSelectionModel::Toggle))
        flags = QItemSelectionModel::ClearAndSelect;
    if (index.isValid() && flags.testFlag(QItemSelectionModel::Deselect))
        flags = QItemSelectionModel::NoUpdate;
    return flags;
}

void FileList::focusInEvent(QFocusEvent *event)
{
    QListWidget::focusInEvent(event);
    // Taking the focus chooses nothing, and the first arrow key then
    // chooses the first entry rather than the second.
    if (m_selectedRow < 0 && currentIndex().isValid())
        selectionModel()->setCurrentIndex(QModelIndex(), QItemSelectionModel::NoUpdate);
}

void FileList::mousePressEvent(QMouseEvent *event)
{
    const int before = m_selectedRow;
    QListWidget::mousePressEvent(event);
    // A click on the entry that is already chosen is a Click too.
    const QListWidgetItem *hit = itemAt(event->position().toPoint());
    if (event->button() == Qt::LeftButton && hit && row(hit) == before && m_selectedRow == before)
        emit Click();
}

void FileList::mouseDoubleClickEvent(QMouseEvent *event)
{
    QListWidget::mouseDoubleClickEvent(event);
    if (event->button() == Qt::LeftButton && itemAt(event->position().toPoint()))
        emit DblClick();
}

void FileList::selectionMoved()
{
    if (m_filling)
        return;
    const QList<QListWidgetItem *> chosen = selectedItems();
    const int selectedRow = chosen.isEmpty() ? -1 : row(chosen.first());
    if (selectedRow == m_selectedRow)
        return;
    m_selectedRow = selectedRow;
    if (selectedRow >= 0)
        emit Click();
}

void FileList::fill()
{
    // Re-reading the same folder keeps the chosen file chosen, quietly.
    const QString keep = m_filledPath == m_path ? FileName() : QString();
    m_filling = true;
    clear();
    m_selectedRow = -1;
    addItems(fileNames(m_path, FileMask(m_pattern), showsHidden()));
    if (!keep.isEmpty()) {
        const QList<QListWidgetItem *> found = findItems(keep, Qt::MatchExactly | Qt::MatchCaseSensitive);
        if (!found.isEmpty()) {
            m_selectedRow = row(found.first());
            setCurrentRow(m_selectedRow, QItemSelectionModel::ClearAndSelect);
        }
    }
    m_filledPath = m_path;
    m_filling = false;
}

} // namespace forms
