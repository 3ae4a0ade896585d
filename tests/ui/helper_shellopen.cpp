// Hands one path to the desktop's open operation, as the browser does, and
// exits. Run with a platform whose services launch the desktop's opener: the
// offscreen platform has none and opens nothing.
//
// helper_shellopen <path>

#include "platform/window.h"

#include <QFile>
#include <QGuiApplication>

int main(int argc, char *argv[])
{
    QGuiApplication app(argc, argv);
    if (argc != 2)
        return 2;
    platform::shellOpen(nullptr, QFile::decodeName(argv[1]));
    return 0;
}
