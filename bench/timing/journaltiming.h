#pragma once

#include <QString>

class frmTextEdit;

namespace timing {

class TimingApplication;

// The recovery journal's cost to the window: edits typed one by one, each
// followed until the journal on disk has grown, with the longest the event
// loop was kept from running meanwhile (journal_ui_*) and the time until
// the edit was on disk (journal_disk_*).
void measureJournal(TimingApplication &app, frmTextEdit *window, const QString &journalFolder);

// Another program rewrites the open, unchanged file (same size, other
// first byte): the time from the end of its write until the pane shows the
// new text (reload_ms).
void measureReload(TimingApplication &app, frmTextEdit *window, const QString &path);

} // namespace timing
