#pragma once

#include <QWidget>

namespace timing {

// A plain Qt window with the same kinds and number of controls as the
// editor's main window (drive combo box, folder and file lists, two text
// boxes, ten buttons, four check boxes, a line edit, two frames, two
// labels), filled from the same folder, with the same fonts, folder and
// drive icons and window icon: the yardstick for start-up.
class BareWindow : public QWidget
{
public:
    BareWindow(const QSize &size, const QString &folder);
};

} // namespace timing
