#pragma once

class QDropEvent;

namespace forms {

// Whether a drag may end on a folder or file list: it must carry URLs.
bool acceptsFileDrag(QDropEvent *event);
// Settles the action reported back to the source of an accepted drop. The
// lists only read what was dropped, so they report a copy (or a link):
// reporting a move could make the source delete the originals.
void settleDropAction(QDropEvent *event);

} // namespace forms
