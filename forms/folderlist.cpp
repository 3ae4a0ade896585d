#include "forms/folderlist.h"

#include "forms/folderentries.h"
#include "forms/folderindentdelegate.h"
#include "forms/folderpath.h"
#include "platform/drives.h"

#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QStyle>

namespace forms {

namespace {

constexpr int PathRole = Qt::UserRole;

// The folder and its ancestors, from the root down, in '/' separators.
QStringList folderChain(const QString &folder)
{
    QStringList chain;
    QString current = QDir::fromNativeSeparators(folder);
    // Bounded: a path cannot be deeper than it is long.
    for (qsizetype guard = current.size() + 1; guard > 0; --guard) {
        chain.prepend(current);
        if (QDir(current).isRoot())
            break;
        const QString parent = QFileInfo(current).path();
        if (parent == current || parent.isEmpty() || parent == QLatin1String("."))
            break;
        current = parent;
    }
    return chain;
}

QString entryText(const QString &folder, bool isRoot)
{
    if (isRoot)
        return QDir::toNativeSeparators(folder);
    return QFileInfo(folder).fileName();
}

} // namespace

FolderList::FolderList(QWidget *parent)
    : BrowserList(parent)
{
    setItemDelegate(new FolderIndentDelegate(this));
    SetPath(QDir::currentPath());
}

bool FolderList::SetPath(const QString &path)
{
    const std::optional<QString> folder = readableFolder(path);
    if (!folder)
        return false;
    platform::rememberFolder(*folder);
    if (*folder == m_path)
        return true;
    m_path = *folder;
    fill();
    emit Change();
    return true;
}

void FolderList::mouseDoubleClickEvent(QMouseEvent *event)
{
    QListWidget::mouseDoubleClickEvent(event);
    if (event->button() == Qt::LeftButton)
        open(itemAt(event->position().toPoint()));
}

void FolderList::keyPressEvent(QKeyEvent *event)
{
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && currentItem()) {
        open(currentItem());
        event->accept();
        return;
    }
    QListWidget::keyPressEvent(event);
}

void FolderList::open(QListWidgetItem *item)
{
    if (!item)
        return;
    // Opening refills the list and deletes the item: take its path first.
    const QString folder = item->data(PathRole).toString();
    SetPath(folder);
}

void FolderList::fill()
{
    clear();
    const QIcon openIcon = style()->standardIcon(QStyle::SP_DirOpenIcon);
    const QIcon closedIcon = style()->standardIcon(QStyle::SP_DirClosedIcon);
    const QStringList chain = folderChain(m_path);
    int depth = 0;
    for (const QString &folder : chain) {
        auto *item = new QListWidgetItem(openIcon, entryText(folder, depth == 0), this);
        item->setData(PathRole, QDir::toNativeSeparators(folder));
        item->setData(FolderIndentDelegate::DepthRole, depth);
        ++depth;
    }
    const int currentRow = count() - 1;
    const QString base = QDir::fromNativeSeparators(m_path);
    const QString prefix = base.endsWith(u'/') ? base : base + u'/';
    const QStringList names = subfolderNames(m_path, showsHidden());
    for (const QString &name : names) {
        auto *item = new QListWidgetItem(closedIcon, name, this);
        item->setData(PathRole, QDir::toNativeSeparators(prefix + name));
        item->setData(FolderIndentDelegate::DepthRole, depth);
    }
    setCurrentRow(currentRow);
}

} // namespace forms
