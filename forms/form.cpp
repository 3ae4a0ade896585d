#include "forms/form.h"

#include "forms/formsaccessible.h"

#include "forms/mouseargs.h"
#include "forms/twips.h"
#include "platform/window.h"

#include <QCloseEvent>
#include <QMouseEvent>
#include <QResizeEvent>

namespace forms {

Form::Form(QWidget *parent)
    : QWidget(parent, Qt::Window)
{
    installFormsAccessibleFactory();
    setMouseTracking(true);
}

void Form::Load()
{
    if (m_loaded)
        return;
    m_loaded = true;
    Form_Load();
}

QMargins Form::frameMargins() const
{
    const QMargins now = platform::windowFrameMargins(this);
    return now.isNull() ? m_knownFrame : now;
}

QRect Form::outerPixels() const
{
    const QMargins frame = frameMargins();
    const QRect client = geometry();
    const QPoint origin = isVisible() ? frameGeometry().topLeft() : pos();
    return QRect(origin,
                 QSize(client.width() + frame.left() + frame.right(), client.height() + frame.top() + frame.bottom()));
}

int Form::Left() const
{
    const int px = outerPixels().x();
    return (m_posAsked && twipsToPixels(m_twipsPos.x()) == px) ? m_twipsPos.x() : pixelsToTwips(px);
}

int Form::Top() const
{
    const int px = outerPixels().y();
    return (m_posAsked && twipsToPixels(m_twipsPos.y()) == px) ? m_twipsPos.y() : pixelsToTwips(px);
}

int Form::Width() const
{
    const int px = outerPixels().width();
    return (m_widthAsked && twipsToPixels(m_twipsSize.width()) == px) ? m_twipsSize.width() : pixelsToTwips(px);
}

int Form::Height() const
{
    const int px = outerPixels().height();
    return (m_heightAsked && twipsToPixels(m_twipsSize.height()) == px) ? m_twipsSize.height() : pixelsToTwips(px);
}

void Form::SetLeft(int twips)
{
    m_twipsPos = QPoint(twips, Top());
    m_posAsked = true;
    applyOuterPos();
}

void Form::SetTop(int twips)
{
    m_twipsPos = QPoint(Left(), twips);
    m_posAsked = true;
    applyOuterPos();
}

void Form::SetWidth(int twips)
{
    m_twipsSize.setWidth(twips);
    m_widthAsked = true;
    applyOuterSize();
}

void Form::SetHeight(int twips)
{
    m_twipsSize.setHeight(twips);
    m_heightAsked = true;
    applyOuterSize();
}

void Form::SetClientSize(int widthTwips, int heightTwips)
{
    m_widthAsked = false;
    m_heightAsked = false;
    resize(twipsToPixels(widthTwips), twipsToPixels(heightTwips));
}

void Form::applyOuterPos()
{
    // A window's position is that of its frame.
    move(twipsToPixels(m_twipsPos.x()), twipsToPixels(m_twipsPos.y()));
}

void Form::applyOuterSize()
{
    // An outer size never asked for leaves the client size as designed, and
    // the frame adds to it.
    const QMargins frame = frameMargins();
    const int width = m_widthAsked ? twipsToPixels(m_twipsSize.width()) - frame.left() - frame.right() : this->width();
    const int height
        = m_heightAsked ? twipsToPixels(m_twipsSize.height()) - frame.top() - frame.bottom() : this->height();
    // A size below the platform's smallest is raised to it.
    resize(QSize(width, height).expandedTo(QSize(1, 1)));
}

void Form::adoptFrame()
{
    // The frame is known only once a window manager has decorated the
    // shown window. Sizes set before were meant as outer sizes: apply them
    // once more with the real frame.
    if (m_frameAdopted)
        return;
    const QMargins now = frameMargins();
    if (now.isNull() || now == m_knownFrame)
        return;
    m_knownFrame = now;
    m_frameAdopted = true;
    if (m_widthAsked || m_heightAsked)
        applyOuterSize();
    if (m_posAsked)
        applyOuterPos();
}

void Form::Show()
{
    show();
}

void Form::Form_MouseMove(int button, int shift, double x, double y)
{
    Q_UNUSED(button);
    Q_UNUSED(shift);
    Q_UNUSED(x);
    Q_UNUSED(y);
}

void Form::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    Form_Resize();
}

void Form::closeEvent(QCloseEvent *event)
{
    int cancel = 0;
    Form_Unload(cancel);
    if (cancel)
        event->ignore();
    else
        event->accept();
}

void Form::mouseMoveEvent(QMouseEvent *event)
{
    const MouseArgs mouse = mouseMoveArgs(event);
    Form_MouseMove(mouse.button, mouse.shift, mouse.x, mouse.y);
    QWidget::mouseMoveEvent(event);
}

bool Form::event(QEvent *event)
{
    const bool handled = QWidget::event(event);
    switch (event->type()) {
    case QEvent::Move:
    case QEvent::Show:
    case QEvent::WindowStateChange:
    case QEvent::Expose:
        if (isVisible() && windowState() == Qt::WindowNoState)
            adoptFrame();
        break;
    default:
        break;
    }
    return handled;
}

} // namespace forms
