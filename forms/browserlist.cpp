#include "forms/browserlist.h"

#include "forms/mouseargs.h"

#include <QDropEvent>
#include <QMimeData>
#include <QMouseEvent>

namespace forms {

namespace {

// A drag may end on a list only when it carries URLs.
bool acceptsFileDrag(const QDropEvent *event)
{
    if (!event->mimeData() || !event->mimeData()->hasUrls())
        return false;
    const Qt::DropActions possible = event->possibleActions();
    return possible.testFlag(Qt::CopyAction) || possible.testFlag(Qt::LinkAction);
}

// The lists only read what was dropped, so they report a copy (or a link)
// to the source: reporting a move could make it delete the originals.
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

void answerDrag(QDragMoveEvent *event)
{
    if (acceptsFileDrag(event))
        settleDropAction(event);
    else
        event->ignore();
}

} // namespace

BrowserList::BrowserList(QWidget *parent)
    : QListWidget(parent)
    , Placeable(this)
{
    initColors(palette().color(QPalette::Base), palette().color(QPalette::Text));
    setSelectionMode(QAbstractItemView::SingleSelection);
    // Uniform sizes let the view lay out a hundred thousand names at once.
    setUniformItemSizes(true);
    viewport()->setMouseTracking(true);
    viewport()->setAttribute(Qt::WA_NoMousePropagation);
}

void BrowserList::SetAcceptFileDrops(bool accept)
{
    setAcceptDrops(accept);
    viewport()->setAcceptDrops(accept);
    setDropIndicatorShown(false);
    setDragDropMode(accept ? QAbstractItemView::DropOnly : QAbstractItemView::NoDragDrop);
}

void BrowserList::SetShowHidden(bool show)
{
    if (show == m_showHidden)
        return;
    m_showHidden = show;
    fill();
}

void BrowserList::applyColors()
{
    applyPaletteColors(QPalette::Base, QPalette::Text);
}

void BrowserList::mouseMoveEvent(QMouseEvent *event)
{
    const MouseArgs mouse = mouseMoveArgs(event, viewport()->pos());
    emit MouseMove(mouse.button, mouse.shift, mouse.x, mouse.y);
    QListWidget::mouseMoveEvent(event);
    event->accept();
}

void BrowserList::dragEnterEvent(QDragEnterEvent *event)
{
    answerDrag(event);
}

void BrowserList::dragMoveEvent(QDragMoveEvent *event)
{
    answerDrag(event);
}

void BrowserList::dropEvent(QDropEvent *event)
{
    settleDropAction(event);
    emit OLEDragDrop(event->mimeData());
}

} // namespace forms
