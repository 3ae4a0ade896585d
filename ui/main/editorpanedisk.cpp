// The pane and the file on disk: another program's change is noticed, an
// unchanged pane follows it, a pane with changes asks.
#include "ui/main/editorpane.h"

#include "document/contentdigest.h"
#include "forms/textbox.h"
#include "platform/regularfile.h"
#include "support/message.h"
#include "support/paths.h"

#include <QCoreApplication>
#include <QPointer>
#include <QThreadPool>

using document::DiskState;

void EditorPane::watchFile()
{
    if (m_document.path() == m_watchedPath)
        return;
    m_watchedPath = m_document.path();
    m_watch.watch(m_watchedPath);
    emit pathChanged(m_watchedPath);
}

void EditorPane::checkDisk()
{
    if (m_document.path().isEmpty() || m_checking)
        return;
    if (const std::optional<DiskState> state = m_document.quickCheck()) {
        decide(*state);
        return;
    }
    // Only the bytes can tell; they are read off the window's thread.
    m_checking = true;
    const quint64 check = ++m_check;
    QPointer<EditorPane> self(this);
    QThreadPool::globalInstance()->start([self, check, path = m_document.path()] {
        platform::FileStamp stamp;
        const qint64 takenNs = document::stampClockNs();
        const std::optional<QByteArray> bytes = platform::readRegularFile(path, nullptr, &stamp);
        const std::optional<quint64> digest = bytes ? std::optional(document::contentDigest(*bytes)) : std::nullopt;
        QMetaObject::invokeMethod(QCoreApplication::instance(), [self, check, stamp, digest, takenNs] {
            if (self)
                self->digestRead(check, stamp, digest, takenNs);
        });
    });
}

void EditorPane::digestRead(quint64 check, const platform::FileStamp &stamp, std::optional<quint64> digest,
                            qint64 takenNs)
{
    m_checking = false;
    // A save or a load since makes the answer stale.
    if (check != m_check)
        return;
    decide(m_document.compareBytes(stamp, digest, takenNs));
}

void EditorPane::decide(DiskState state)
{
    switch (state) {
    case DiskState::Same:
        m_questionWaiting = false;
        return;
    case DiskState::Missing:
        markChangedOnDisk();
        return;
    case DiskState::Changed:
        break;
    }
    const std::optional<platform::FileStamp> now = platform::fileStamp(m_document.path());
    if (now && now == m_kept)
        return;
    if (!changed()) {
        reload();
        return;
    }
    if (!m_questionWaiting) {
        m_questionWaiting = true;
        emit diskChangeToAsk();
    }
}

void EditorPane::markChangedOnDisk()
{
    // The text is all that is left of the file: it counts as unsaved, so
    // that "SPEICHERN" writes it again, and is journaled as it is.
    if (changed())
        return;
    onTextChange();
    m_savePointIsBase = false;
    m_journal.recordWholeText();
}

void EditorPane::reload()
{
    ++m_check;
    const int caretLine = m_textBox->content().lineOf(m_textBox->SelStart());
    const int topLine = m_textBox->firstVisibleLine();
    if (!fillFromFile(m_document.path())) {
        // Unreadable now: the text stays, and a save asks first.
        markChangedOnDisk();
        return;
    }
    NoChanges();
    const int line = std::min(caretLine, m_textBox->content().lineCount() - 1);
    m_textBox->SetSelStart(m_textBox->content().lineStart(line));
    m_textBox->scrollToLine(topLine);
}

void EditorPane::askAboutDiskChange()
{
    if (!m_questionWaiting)
        return;
    m_questionWaiting = false;
    if (m_document.checkDisk() != DiskState::Changed)
        return;
    const QString prompt = QStringLiteral("Die Datei „%1“ wurde von einem anderen Programm geändert. Neu laden? Ihre "
                                          "Änderungen gehen dabei verloren.")
                               .arg(support::FileNameOf(m_document.path()));
    if (support::AskQuestion(prompt, {QStringLiteral("Neu laden"), QStringLiteral("Behalten")}) == 0)
        reload();
    else
        m_kept = platform::fileStamp(m_document.path());
}
