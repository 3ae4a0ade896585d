#pragma once

class frmTextEdit;

// The main window's close: the browser folder, the window geometry, the
// colour options and the splitter positions go to the settings file for the
// next start, as one group. Unsaved edits are not looked at.
void SaveWindowState(const frmTextEdit &window);
