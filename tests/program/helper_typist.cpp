// Starts the editor's window in this process, opens a file and types into
// it, then waits to be ended, as the user's session would end it.
// Usage: helper_typist <program folder> <state home> <file in that folder>
// Prints "typed" once the text is in the pane and "journaled" once its
// recovery journal is on disk.
#include "platform/termination.h"
#include "tests/mainwindowcontrols.h"
#include "tests/uitestsupport.h"

#include <QApplication>
#include <QDir>
#include <QTest>
#include <QTimer>

#include <cstdio>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 4)
        return 2;
    testsupport::ProgramRun run(args.at(1), QStringLiteral("Editor"), args.at(2));
    run.writeSettings({QStringLiteral("LastDir=") + args.at(1) + QDir::separator()});
    frmTextEdit *window = run.start();
    platform::onTerminationRequest(&app, [window] { window->close(); });
    File2(window)->SetSelected(testsupport::rowOf(File2(window), args.at(3)), true);
    QTest::keyClicks(txtTXT(window), QStringLiteral("getippt "));
    std::puts("typed");
    std::fflush(stdout);

    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&poll, &run] {
        if (!QDir(run.stateFolder()).entryList({QStringLiteral("*.journal")}).isEmpty()) {
            poll.stop();
            std::puts("journaled");
            std::fflush(stdout);
        }
    });
    poll.start(10);
    return app.exec();
}
