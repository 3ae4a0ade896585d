#pragma once

struct WindowState;

// The main window's close: the browser folder, the window geometry, the
// colour options and the splitter positions go to the settings file for the
// next start, in one write. Unsaved edits are not looked at.
void SaveWindowState(const WindowState &state);
