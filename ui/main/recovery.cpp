// What the panes held when a run ended without saving them, offered back at
// the next start; and the window's part in noticing other programs' changes.
#include "ui/main/frmtextedit.h"

#include "app/programsettings.h"
#include "document/journalfolder.h"
#include "support/message.h"
#include "support/paths.h"
#include "ui/main/editorpane.h"

#include <QEvent>

namespace {

QString recoveryQuestion(const document::JournalFolder::Orphan &orphan)
{
    const document::journal::Header &header = orphan.contents.header;
    const QString when = orphan.lastChange.toLocalTime().toString(QStringLiteral("dd.MM.yyyy HH:mm"));
    if (header.path.isEmpty())
        return QStringLiteral("Für den Text ohne Datei gibt es nicht gespeicherte Änderungen vom %1. Wiederherstellen?")
            .arg(when);
    // What the file was when the journal began, against what it is now.
    document::TextDocument file;
    file.restore(header.path, header.encoding, header.identity);
    const QString since = file.checkDisk() == document::DiskState::Same
        ? QString()
        : QStringLiteral(" Die Datei wurde seitdem von einem anderen Programm geändert.");
    return QStringLiteral("Für „%1“ gibt es nicht gespeicherte Änderungen vom %2.%3 Wiederherstellen?")
        .arg(support::FileNameOf(header.path), when, since);
}

} // namespace

void frmTextEdit::offerRecovery()
{
    const QList<document::JournalFolder::Orphan> orphans = m_journals->takeOrphans();
    QList<document::JournalFolder::Orphan> answered;
    for (const QString &pane : {QStringLiteral("document"), QStringLiteral("stylesheet")}) {
        for (const document::JournalFolder::Orphan &orphan : orphans) {
            if (orphan.contents.header.pane != pane)
                continue;
            const std::optional<QString> text = orphan.text();
            if (!text)
                continue;
            if (support::AskQuestion(recoveryQuestion(orphan), {QStringLiteral("Ja"), QStringLiteral("Nein")}) != 0) {
                answered.append(orphan);
                continue;
            }
            const document::journal::Header &header = orphan.contents.header;
            EditorPane *recovering = m_stylesheetPane;
            if (pane == u"document") {
                // As a click on the file in the list opens it.
                if (!header.path.isEmpty())
                    openDocument(header.path);
                recovering = m_documentPane;
            } else {
                // As the chosen stylesheet.
                WriteSetting(settingkeys::LastCSS, header.path);
            }
            recovering->recover(header.path, header.encoding, header.identity, *text);
            if (recovering == m_stylesheetPane)
                showView(1);
            // The old journal goes only once the pane's own keeps the text.
            if (recovering->keepJournal())
                answered.append(orphan);
        }
    }
    m_journals->release(answered);
}

void frmTextEdit::askAboutDiskChanges()
{
    if (!isActiveWindow())
        return;
    m_documentPane->askAboutDiskChange();
    m_stylesheetPane->askAboutDiskChange();
}

void frmTextEdit::changeEvent(QEvent *event)
{
    forms::Form::changeEvent(event);
    if (event->type() != QEvent::ActivationChange || !isActiveWindow())
        return;
    m_documentPane->checkDisk();
    m_stylesheetPane->checkDisk();
    askAboutDiskChanges();
}
