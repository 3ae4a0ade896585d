#include "program/commandline.h"

namespace {

// The rest after an option and the blanks that follow it, without one pair
// of quotes around it (a Windows command line quotes a path with blanks).
QString pathAfter(const QString &text, qsizetype optionLength)
{
    QString path = text.mid(optionLength).trimmed();
    if (path.size() >= 2 && path.startsWith(QLatin1Char('"')) && path.endsWith(QLatin1Char('"')))
        path = path.mid(1, path.size() - 2);
    return path;
}

bool isOption(const QString &text, QLatin1StringView option)
{
    return text.startsWith(option) && (text.size() == option.size() || text.at(option.size()).isSpace());
}

} // namespace

CommandLine ParseCommandLine(const QString &text)
{
    CommandLine command;
    if (text == QLatin1String("--help")) {
        command.action = CommandLine::Action::Help;
    } else if (text == QLatin1String("--version")) {
        command.action = CommandLine::Action::Version;
    } else if (isOption(text, QLatin1StringView("--open"))) {
        command.path = pathAfter(text, 6);
        command.open = true;
        if (command.path.isEmpty())
            command.action = CommandLine::Action::Wrong;
    } else if (isOption(text, QLatin1StringView("--"))) {
        command.path = pathAfter(text, 2);
    } else if (text.startsWith(QLatin1Char('-'))) {
        command.action = CommandLine::Action::Wrong;
    } else {
        command.path = text;
    }
    return command;
}

QString UsageText()
{
    return QStringLiteral("Aufruf: brenwick-editor [PFAD]\n"
                          "        brenwick-editor --open DATEI\n"
                          "        brenwick-editor --help | --version\n"
                          "\n"
                          "Startet den Brenwick TXT-HTML-CSS-Editor. Die Dateiliste beginnt im Ordner,\n"
                          "der PFAD enthält (die ganze Befehlszeile ist ein Pfad); ohne PFAD dort, wo sie\n"
                          "zuletzt stand.\n"
                          "\n"
                          "  --open DATEI   beginnt im Ordner der DATEI und öffnet sie im Dokument\n"
                          "  --help         zeigt diese Hilfe\n"
                          "  --version      zeigt die Version\n"
                          "\n"
                          "Einen Pfad, der mit „-“ beginnt, geben Sie als ./-name oder nach -- an.\n");
}

QString VersionText()
{
    return QStringLiteral("Brenwick TXT-HTML-CSS-Editor " BRENWICK_VERSION "\n");
}
