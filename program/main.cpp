#include "platform/termination.h"
#include "program/desktopsetup.h"
#include "program/startup.h"
#include "ui/main/frmtextedit.h"

#include <QApplication>
#include <QPointer>
#include <QStyleFactory>
#include <memory>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    SetUpForDesktop(app);
    // Fusion paints the graphical buttons in their colours on every system.
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));

    std::unique_ptr<frmTextEdit> window(Main());
    QPointer<frmTextEdit> guard(window.get());
    platform::onTerminationRequest(&app, [guard] {
        if (guard)
            guard->close();
    });
    return app.exec();
}
