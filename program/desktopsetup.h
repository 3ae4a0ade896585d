#pragma once

class QApplication;

// Before the first window: the names under which the desktop knows the
// program (its configuration folder, its desktop entry) and Qt's own
// texts in German.
void SetUpForDesktop(QApplication &app);
