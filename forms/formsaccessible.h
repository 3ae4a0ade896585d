#pragma once

class QWidget;

// How screen readers see the forms runtime's windows and controls, where
// Qt's own view of the widgets says too little: windows are frames or
// dialogs, button frames are groupings, the drive list is named by its
// name rather than its value, and a control can be left out of the tree.
namespace forms {

void installFormsAccessibleFactory();

// Leaves the control out of what screen readers see (a focus sink off the
// window, a splitter bar that only the mouse moves).
void hideFromScreenReaders(QWidget *control);

} // namespace forms
