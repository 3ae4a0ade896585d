// Keys of the whole window, wherever the focus is (the browser lists too):
// Ctrl+S saves the pane shown, Ctrl+plus, Ctrl+minus and Ctrl+0 zoom both
// panes' font; so does Ctrl with the mouse wheel over a pane.
#include "ui/main/frmtextedit.h"

#include "forms/commandbutton.h"
#include "forms/textbox.h"

#include <QShortcut>

namespace {

void onKeys(QWidget *window, std::initializer_list<QKeySequence> keys, std::function<void()> action)
{
    for (const QKeySequence &key : keys)
        QObject::connect(new QShortcut(key, window), &QShortcut::activated, window, action);
}

} // namespace

void frmTextEdit::createShortcuts()
{
    onKeys(this, {QKeySequence::Save}, [this] {
        // As the pane's "SPEICHERN", and nothing while it is disabled.
        forms::CommandButton *save = m_viewCSS == 1 ? cmdSaveCSS : cmdSave;
        if (save->Enabled())
            save->Click();
    });
    // Ctrl+= is Ctrl+plus where plus needs Shift.
    onKeys(this, {QKeySequence::ZoomIn, QKeySequence(Qt::CTRL | Qt::Key_Equal)}, [this] { setZoom(m_zoom + 1); });
    onKeys(this, {QKeySequence::ZoomOut}, [this] { setZoom(m_zoom - 1); });
    onKeys(this, {QKeySequence(Qt::CTRL | Qt::Key_0)}, [this] { setZoom(0); });
    for (forms::TextBox *box : {txtTXT, txtCSS})
        connect(box, &forms::TextBox::zoomRequested, this, [this](int steps) { setZoom(m_zoom + steps); });
}
