#pragma once

#include <QStyledItemDelegate>

namespace forms {

// Draws a folder list entry indented by its depth, so that the list reads
// as a tree from the root down to the subfolders.
class FolderIndentDelegate : public QStyledItemDelegate
{
    Q_OBJECT
public:
    static constexpr int DepthRole = Qt::UserRole + 1;
    static constexpr int IndentPixels = 12;

    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override;
    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override;
};

} // namespace forms
