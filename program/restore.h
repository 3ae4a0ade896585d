#pragma once

#include <QString>

class frmTextEdit;

// Restoring the working state at start-up, in two groups that Main runs at
// its own fixed points: before the window is sized (browser folder,
// stylesheet path, colour options) and after (splitters and panel layout,
// stylesheet text, file pattern, unchanged state of both editors).
void RestoreBrowserStylesheetOptions(frmTextEdit &window, const QString &commandLine);
void RestoreLayoutAndPanes(frmTextEdit &window);
