#include "forms/listdrop.h"

#include <QDropEvent>
#include <QMimeData>

namespace forms {

bool acceptsFileDrag(QDropEvent *event)
{
    if (!event->mimeData() || !event->mimeData()->hasUrls())
        return false;
    const Qt::DropActions possible = event->possibleActions();
    return possible.testFlag(Qt::CopyAction) || possible.testFlag(Qt::LinkAction);
}

void settleDropAction(QDropEvent *event)
{
    const Qt::DropActions possible = event->possibleActions();
    if (possible.testFlag(Qt::CopyAction)) {
        event->setDropAction(Qt::CopyAction);
        event->accept();
    } else if (possible.testFlag(Qt::LinkAction)) {
        event->setDropAction(Qt::LinkAction);
        event->accept();
    } else {
        event->ignore();
    }
}

} // namespace forms
