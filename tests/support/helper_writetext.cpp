// Writes a text file the way the editor saves one, so a test can run the
// save as another user. Usage: helper_writetext <path> <text> <default title>
// Prints every message box as "prompt|style|title" and exits with 0 when
// the file was written, 3 when it was not, 2 on wrong usage.
#include "support/message.h"
#include "support/textfile.h"
#include "support/writefailure.h"
#include "tests/testsupport.h"

#include <QCoreApplication>
#include <QTextStream>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 4)
        return 2;
    support::SetDefaultMessageTitle(args.at(3));

    testsupport::MessageCapture messages;
    const bool written
        = support::ReportWriteFailure(support::replaceTextFile(args.at(1), args.at(2), support::TextEncoding::Utf8));

    QTextStream out(stdout);
    for (const testsupport::CapturedMessage &message : messages.messages())
        out << message.prompt << '|' << message.style << '|' << message.title << '\n';
    return written ? 0 : 3;
}
