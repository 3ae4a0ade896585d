// Syntax colouring and line numbers of both panes, switched in their
// context menus, and going to a line by number (Ctrl+G).
#include "ui/main/frmtextedit.h"

#include "document/textdocument.h"
#include "forms/syntaxcolouring.h"
#include "forms/textbox.h"
#include "syntax/filetype.h"
#include "ui/main/editorpane.h"

#include <QInputDialog>
#include <QLocale>
#include <QMenu>
#include <QShortcut>

void frmTextEdit::setupSyntax()
{
    m_documentColouring = new forms::SyntaxColouring(txtTXT);
    m_stylesheetColouring = new forms::SyntaxColouring(txtCSS);
    m_stylesheetColouring->setLanguage(syntax::Language::Css);
    for (forms::TextBox *box : {txtTXT, txtCSS})
        connect(box, &forms::TextBox::contextMenuShowing, this, &frmTextEdit::addPaneEntries);
    auto *goToLine = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_G), this);
    connect(goToLine, &QShortcut::activated, this, &frmTextEdit::GoToLine);
    connect(m_documentPane, &EditorPane::pathChanged, this, &frmTextEdit::applyDocumentLanguage);
}

void frmTextEdit::applyDocumentLanguage()
{
    m_documentColouring->setLanguage(syntax::languageForFile(document().path()));
}

void frmTextEdit::addPaneEntries(QMenu *menu)
{
    menu->addSeparator();
    QAction *colours = menu->addAction(QStringLiteral("Syntax hervorheben"));
    colours->setCheckable(true);
    colours->setChecked(m_syntaxHighlight);
    connect(colours, &QAction::toggled, this, &frmTextEdit::SetSyntaxHighlight);
    QAction *numbers = menu->addAction(QStringLiteral("Zeilennummern anzeigen"));
    numbers->setCheckable(true);
    numbers->setChecked(m_lineNumbers);
    connect(numbers, &QAction::toggled, this, &frmTextEdit::SetLineNumbers);
}

void frmTextEdit::SetSyntaxHighlight(bool on)
{
    m_syntaxHighlight = on;
    m_documentColouring->setEnabled(on);
    m_stylesheetColouring->setEnabled(on);
}

void frmTextEdit::SetLineNumbers(bool on)
{
    m_lineNumbers = on;
    txtTXT->setLineNumbersShown(on);
    txtCSS->setLineNumbersShown(on);
}

void frmTextEdit::GoToLine()
{
    forms::TextBox *pane = m_viewCSS == 1 ? txtCSS : txtTXT;
    const int lines = pane->lineCount();
    QInputDialog dialog(this);
    dialog.setWindowTitle(QStringLiteral("Gehe zu Zeile"));
    dialog.setLabelText(QStringLiteral("Zeile (1–%1):").arg(QLocale(QLocale::German).toString(lines)));
    dialog.setInputMode(QInputDialog::IntInput);
    dialog.setIntRange(1, lines);
    dialog.setIntValue(pane->content().lineOf(pane->caretPosition()) + 1);
    if (dialog.exec() != QDialog::Accepted)
        return;
    pane->goToLine(dialog.intValue() - 1);
    pane->SetFocus();
}
