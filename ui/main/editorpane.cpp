#include "ui/main/editorpane.h"

#include "forms/commandbutton.h"
#include "forms/textbox.h"
#include "support/message.h"
#include "support/paths.h"
#include "support/writefailure.h"

#include <QFileInfo>

using document::DiskState;
using document::RecoveryJournal;
using document::journal::BaseKind;

namespace {

// Only the journal's base is taken from the text as it is; the rest of a
// base is named where it is made.
const RecoveryJournal::Base textAsItIs{BaseKind::Text, QString(), 0, QString(), true};

} // namespace

EditorPane::EditorPane(forms::TextBox *textBox, forms::CommandButton *saveButton, forms::CommandButton *cancelButton,
                       document::JournalFolder &journals, const QString &name, BrowserLock lockBrowser, QObject *parent)
    : QObject(parent)
    , m_textBox(textBox)
    , m_saveButton(saveButton)
    , m_cancelButton(cancelButton)
    , m_lockBrowser(std::move(lockBrowser))
    , m_journal(journals, name, [textBox] { return textBox->Text(); })
    , m_nextBase(textAsItIs)
{
    connect(m_textBox, &forms::TextBox::replaced, this, &EditorPane::onReplaced);
    connect(m_textBox, &forms::TextBox::textReset, this, &EditorPane::onTextReset);
    connect(&m_journal, &RecoveryJournal::baseLost, this, [this] { m_journal.recordWholeText(); });
    connect(&m_watch, &document::FileWatch::changed, this, &EditorPane::checkDisk);
    // Changes the folder watch cannot see (a network share) show within a
    // second as well.
    m_poll.setInterval(1000);
    connect(&m_poll, &QTimer::timeout, this, &EditorPane::checkDisk);
    m_poll.start();
    // A text typed before any file was opened starts from nothing.
    m_nextBase = {BaseKind::Empty, QString(), 0, QString(), false};
    NoChanges();
}

void EditorPane::setPath(const QString &path)
{
    m_document.setPath(path);
    watchFile();
}

void EditorPane::NoChanges()
{
    m_document.setModified(false);
    NoButtons();
    m_textBox->setSavePoint();
    m_savePointIsBase = true;
    const document::journal::Header header = journalHeader();
    m_journal.setBase(std::exchange(m_nextBase, textAsItIs), header);
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
    // A look at the disk begun before reads what is gone now.
    ++m_check;
    const std::optional<QString> text = m_document.load(path);
    watchFile();
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
    m_nextBase = {BaseKind::FileAsRead, path, m_document.identity().digest, QString(), false};
    return true;
}

bool EditorPane::Save()
{
    if (!mayOverwrite())
        return false;
    // Written straight from the text box's buffer: a copy of a big document
    // would cost more than the encoding and the write together.
    std::array<QStringView, 2> pieces = m_textBox->textPieces();
    const int length = m_textBox->Length();
    support::TrimTrailingLineEnds(pieces);
    const int kept = int(pieces[0].size() + pieces[1].size());
    const std::optional<document::TextDocument::Written> written = m_document.save(pieces);
    if (!support::ReportWriteFailure(written.has_value()))
        return false;
    ++m_check;
    watchFile();
    // The journal goes only now, with the text on disk.
    m_nextBase = {BaseKind::FileAsSaved, m_document.path(), written->digest, QString(), false};
    m_savedEncoding = written->encoding;
    m_savedTail = m_textBox->content().mid(kept, length - kept);
    NoChanges();
    return true;
}

bool EditorPane::mayOverwrite()
{
    // A file that could not be read is asked about whatever it is now.
    const bool unread = m_document.identity().readFailed && QFileInfo::exists(m_document.path());
    if (!unread && m_document.checkDisk() != DiskState::Changed)
        return true;
    const QString name = support::FileNameOf(m_document.path());
    const QString prompt = unread
        ? QStringLiteral("Die Datei „%1“ konnte nicht gelesen werden. Trotzdem speichern und ihren Inhalt ersetzen?")
              .arg(name)
        : QStringLiteral("Die Datei „%1“ wurde inzwischen von einem anderen Programm geändert. Trotzdem speichern und "
                         "diese Änderungen überschreiben?")
              .arg(name);
    return support::AskQuestion(prompt, {QStringLiteral("Überschreiben"), QStringLiteral("Abbrechen")}) == 0;
}

document::journal::Header EditorPane::journalHeader() const
{
    document::journal::Header header;
    header.path = m_document.path();
    header.encoding = m_document.encoding();
    header.identity = m_document.identity();
    header.savedEncoding = m_savedEncoding;
    header.savedTail = m_savedTail;
    return header;
}

void EditorPane::onReplaced(int position, int removed, const QString &inserted)
{
    m_journal.record(position, removed, inserted);
    // Undone back to the text as read or saved: nothing is left to keep.
    if (m_savePointIsBase && m_textBox->isAtSavePoint())
        m_journal.discard();
}

void EditorPane::onTextReset()
{
    m_savePointIsBase = false;
    m_journal.recordWholeText();
}

void EditorPane::recover(const QString &path, support::TextEncoding encoding, const document::DiskIdentity &identity,
                         const QString &text)
{
    m_textBox->SetText(text);
    m_document.restore(path, encoding, identity);
    watchFile();
    onTextChange();
    m_savePointIsBase = false;
    m_journal.setBase({BaseKind::Text, text, 0, QString(), false}, journalHeader(), true);
}

bool EditorPane::keepJournal()
{
    const bool kept = m_journal.flushNow();
    return kept || !changed();
}
