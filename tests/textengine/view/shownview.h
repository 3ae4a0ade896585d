#pragma once

#include "textengine/view/textview.h"

#include <QFont>
#include <QSize>
#include <QTest>

// A text view in a shown, active window with the keyboard focus, as the
// user meets it; `ok` says whether the window came up.
struct ShownView
{
    explicit ShownView(QSize size = QSize(300, 200), const QFont &font = QFont())
    {
        view.setFont(font);
        view.resize(size);
        view.show();
        ok = QTest::qWaitForWindowExposed(&view);
        view.activateWindow();
        view.setFocus();
    }
    textengine::TextView view;
    bool ok = false;
};
