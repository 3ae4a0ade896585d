#include "forms/folderindentdelegate.h"

namespace forms {

void FolderIndentDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    QStyleOptionViewItem indented = option;
    indented.rect.adjust(index.data(DepthRole).toInt() * IndentPixels, 0, 0, 0);
    QStyledItemDelegate::paint(painter, indented, index);
}

QSize FolderIndentDelegate::sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    QSize size = QStyledItemDelegate::sizeHint(option, index);
    size.rwidth() += index.data(DepthRole).toInt() * IndentPixels;
    return size;
}

} // namespace forms
