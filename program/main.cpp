#include "platform/termination.h"
#include "program/commandline.h"
#include "program/desktopsetup.h"
#include "program/startup.h"
#include "ui/main/frmtextedit.h"

#include <QApplication>
#include <QPointer>
#include <QStyleFactory>
#include <cstdio>
#include <memory>

int main(int argc, char *argv[])
{
    // Help and version need no window, and no display to put one on.
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    switch (ParseCommandLine(arguments.join(QLatin1Char(' '))).action) {
    case CommandLine::Action::Help:
        std::fputs(UsageText().toLocal8Bit().constData(), stdout);
        return 0;
    case CommandLine::Action::Version:
        std::fputs(VersionText().toLocal8Bit().constData(), stdout);
        return 0;
    case CommandLine::Action::Wrong:
        std::fputs(UsageText().toLocal8Bit().constData(), stderr);
        return 2;
    case CommandLine::Action::Start:
        break;
    }

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
