#pragma once

#include "document/filewatch.h"
#include "document/recoveryjournal.h"
#include "document/textdocument.h"

#include <QObject>
#include <QTimer>
#include <functional>

namespace document {
class JournalFolder;
}
namespace forms {
class CommandButton;
class TextBox;
} // namespace forms

// The save/cancel mechanism of one editor: its text box, the document it
// holds (the file, its encoding and the unsaved-change flag) and its Save
// and Cancel buttons. The document and the stylesheet are two instances;
// the document's also locks the file browser while it holds changes.
//
// It keeps what the box holds safe: unsaved changes go to a recovery
// journal, a change of the file on disk by another program is noticed, and
// a save never overwrites unasked what the box never showed.
class EditorPane : public QObject
{
    Q_OBJECT
public:
    using BrowserLock = std::function<void(bool locked)>;

    EditorPane(forms::TextBox *textBox, forms::CommandButton *saveButton, forms::CommandButton *cancelButton,
               document::JournalFolder &journals, const QString &name, BrowserLock lockBrowser = {},
               QObject *parent = nullptr);

    const document::TextDocument &document() const { return m_document; }
    bool changed() const { return m_document.isModified(); }
    // Aims the pane at a file without reading it.
    void setPath(const QString &path);

    // Clears the flag and greys the buttons: the text as it is now counts
    // as unchanged, and its journal goes.
    void NoChanges();
    // Changes-pending look: Cancel light red, Save green, both enabled.
    void MakeButtons();
    // No-changes look: both in the button-face colour and disabled.
    void NoButtons();

    // The text box's Change: the flag is set and the buttons light up.
    void onTextChange();

    // Aims the pane at the file and fills the box from it: tabs as spaces,
    // then line ends made CR LF. False when the file cannot be read; the box
    // then keeps what it had.
    bool fillFromFile(const QString &path);

    // Writes the text without its trailing line ends, in the encoding the
    // file was read in; the box's text stays as it is. When the file on disk
    // is not the one read or written (another program changed it, or it
    // could not be read) the user is asked first. Only a successful write
    // clears the changes: after a failure, which has shown its message, or
    // a refusal they stay pending (and the browser locked).
    bool Save();

    // Looks whether the file on disk changed: an unchanged pane reloads it,
    // keeping the caret's line and the scroll position; a deleted file's
    // text counts as changed; a pane with changes raises diskChangeToAsk.
    void checkDisk();
    // The question about another program's change, if one waits.
    void askAboutDiskChange();

    // A text recovered from a journal another run left: the pane holds it,
    // changed, aimed at the file as that run knew it.
    void recover(const QString &path, support::TextEncoding encoding, const document::DiskIdentity &identity,
                 const QString &text);
    // What the journal holds reaches the disk now (at the close). False when
    // unsaved changes could not be kept there.
    bool keepJournal();

signals:
    // Another program changed the file while the pane holds changes: the
    // window asks once it is active.
    void diskChangeToAsk();
    // The pane holds another file now.
    void pathChanged(const QString &path);

private:
    void onReplaced(int position, int removed, const QString &inserted);
    void onTextReset();
    void markChangedOnDisk();
    void reload();
    void watchFile();
    void digestRead(quint64 check, const platform::FileStamp &stamp, std::optional<quint64> digest, qint64 takenNs);
    void decide(document::DiskState state);
    bool mayOverwrite();
    document::journal::Header journalHeader() const;

    forms::TextBox *m_textBox;
    forms::CommandButton *m_saveButton;
    forms::CommandButton *m_cancelButton;
    BrowserLock m_lockBrowser;
    document::TextDocument m_document;
    document::RecoveryJournal m_journal;
    document::FileWatch m_watch;
    QTimer m_poll;

    // Where the base of the journal comes from at the next NoChanges: the
    // file just read or saved, or else the text as it is.
    document::RecoveryJournal::Base m_nextBase;
    support::TextEncoding m_savedEncoding = support::TextEncoding::Default;
    QString m_savedTail;
    // Undoing back to the save point brings the text as read or saved back,
    // unless the text was replaced whole since.
    bool m_savePointIsBase = true;

    // A look at the disk that needs the file's bytes runs elsewhere; only
    // the newest counts.
    quint64 m_check = 0;
    bool m_checking = false;
    bool m_questionWaiting = false;
    // The file's stamp when the user last chose to keep the pane's text.
    std::optional<platform::FileStamp> m_kept;
    QString m_watchedPath;
};
