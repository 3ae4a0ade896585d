#pragma once

class frmTextEdit;

// The start-up routine: fills the application state, creates the main
// window hidden, restores the working state and shows the window. Returns
// the window, which lives until it is closed.
frmTextEdit *Main();
