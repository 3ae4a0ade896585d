#pragma once

#include <QSize>
#include <QString>
#include <QtGlobal>

namespace timing {

class TimingApplication;

// The measurements that each run in a fresh process (the children of the
// timing program). Each prints its figures as key=value lines on stdout
// and returns the process's exit code.

// Start-up of the editor: before Main() to the end of the first paint.
int editorStartup(TimingApplication &app, qint64 entryNs, qint64 appReadyNs, const QString &startFolder);

// The same for the plain Qt window with the same controls.
int bareStartup(TimingApplication &app, qint64 entryNs, qint64 appReadyNs, const QSize &size, const QString &folder);

// Open by a click in the file list, typed characters at the start, middle
// and end, Save, and the plain read and write of the same bytes; with
// `colouring` on, also how long the colours take to settle after Ctrl+End
// and after a keystroke in the middle.
int documentScenario(TimingApplication &app, const QString &path, bool typing, bool colouring);

// Listing a folder in the file list with a pattern.
int listingScenario(TimingApplication &app, const QString &folder, const QString &pattern, int expected);

} // namespace timing
