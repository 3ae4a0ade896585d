#include "ui/main/editorpane.h"

#include "forms/commandbutton.h"
#include "forms/textbox.h"
#include "support/writefailure.h"

EditorPane::EditorPane(forms::TextBox *textBox, forms::CommandButton *saveButton, forms::CommandButton *cancelButton,
                       BrowserLock lockBrowser, QObject *parent)
    : QObject(parent)
    , m_textBox(textBox)
    , m_saveButton(saveButton)
    , m_cancelButton(cancelButton)
    , m_lockBrowser(std::move(lockBrowser))
{
}

void EditorPane::NoChanges()
{
    m_document.setModified(false);
    NoButtons();
}

void EditorPane::MakeButtons()
{
    m_cancelButton->SetBackColor(forms::rgb(0xFF8080));
    m_saveButton->SetBackColor(forms::rgb(0x00C000));
    m_cancelButton->SetEnabled(true);
    m_saveButton->SetEnabled(true);
    if (m_lockBrowser)
        m_lockBrowser(true);
}

void EditorPane::NoButtons()
{
    m_cancelButton->SetBackColor(forms::buttonFaceColor());
    m_saveButton->SetBackColor(forms::buttonFaceColor());
    m_cancelButton->SetEnabled(false);
    m_saveButton->SetEnabled(false);
    if (m_lockBrowser)
        m_lockBrowser(false);
}

void EditorPane::onTextChange()
{
    m_document.setModified(true);
    MakeButtons();
}

bool EditorPane::fillFromFile(const QString &path)
{
    const std::optional<QString> text = m_document.load(path);
    if (!text)
        return false;
    const QString tabbed = support::TabsToSpaces(*text);
    m_textBox->SetText(tabbed);
    // The box holds exactly `tabbed` now; normalising that, rather than a
    // copy read back from the box, spares copying a big document. Nothing
    // to normalise means the same text, which the box would not take anyway.
    const QString normalized = support::NormalizeLineEnds(tabbed);
    if (!normalized.isSharedWith(tabbed))
        m_textBox->SetText(normalized);
    return true;
}

bool EditorPane::Save()
{
    // Written straight from the text box's buffer: a copy of a big document
    // would cost more than the encoding and the write together.
    std::array<QStringView, 2> pieces = m_textBox->textPieces();
    support::TrimTrailingLineEnds(pieces);
    if (!support::ReportWriteFailure(m_document.save(pieces)))
        return false;
    NoChanges();
    return true;
}
