#pragma once

#include <QString>

// What the program's command line asks for. The whole text is one path,
// the folder the browser starts in, unless it begins with an option:
//   --help, --version      print and end, without a window
//   --open PATH            start as with PATH, and open the file as well
//   -- PATH                PATH even when it begins with "-"
// Any other text that begins with "-" is a mistake.
struct CommandLine
{
    enum class Action { Start, Help, Version, Wrong };
    Action action = Action::Start;
    QString path;
    bool open = false;
};

CommandLine ParseCommandLine(const QString &text);

// What --help and --version print, in German.
QString UsageText();
QString VersionText();
