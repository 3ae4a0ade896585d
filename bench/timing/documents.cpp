#include "bench/timing/documents.h"

#include <QDir>
#include <QFile>

#include <fcntl.h>
#include <unistd.h>

namespace timing {

namespace {

constexpr qint64 KiB = 1024;
constexpr qint64 MiB = 1024 * 1024;

// 49 bytes in UTF-8 (50 from line 1,000,000 on), so 10 MiB hold some
// 214,000 lines.
QByteArray textLine(qint64 number)
{
    return QStringLiteral("Zeile %1: Grüße aus Köln, süße Äpfel!\r\n").arg(number, 6, 10, QLatin1Char('0')).toUtf8();
}

QByteArray cssRule(qint64 number)
{
    return QStringLiteral(".k%1{content:\"Grüße\";font-family:Köln,Arial;color:#%2}")
        .arg(number)
        .arg(number % 0xFFFFFF, 6, 16, QLatin1Char('0'))
        .toUtf8();
}

// Words of both right-to-left scripts, with a number now and then, as a
// long line of a web page's text might hold them.
QByteArray rightToLeftWords(qint64 number)
{
    static const char *const words[] = {
        "مرحبا", "بالعالم", "كتاب", "مدرسة", "سلام",   "يوم",   "الحروف", "متصلة",
        "שלום",  "עולם",    "ספר",  "בית",   "ספרייה", "מילים", "עברית",  "כתיבה",
    };
    QByteArray text = words[number % 16];
    if (number % 23 == 22)
        text += ' ' + QByteArray::number(number);
    return text + ' ';
}

// One line in each of three kinds of writing, in turn.
QByteArray mixedLine(qint64 number)
{
    switch (number % 3) {
    case 0:
        // Thumbs up with a skin tone, the German flag, a family: one
        // character each on screen, several code points in the file.
        return QStringLiteral("Zeile %1: Grüße aus Köln \U0001F44D\U0001F3FD \U0001F1E9\U0001F1EA "
                              "\U0001F468\u200D\U0001F469\u200D\U0001F467 und schöne Äpfel!\r\n")
            .arg(number)
            .toUtf8();
    case 1:
        return QStringLiteral("第%1行：你好，世界。日本語のテキストと漢字。\r\n").arg(number).toUtf8();
    default:
        return QStringLiteral("שורה %1: שלום עולם, זה טקסט בעברית עם מספרים 42.\r\n").arg(number).toUtf8();
    }
}

// About 90 bytes; "colour" and "color" are matches of \bcol(o|ou)r\b,
// "colours" is not.
QByteArray findLine(qint64 number)
{
    return QStringLiteral("Zeile %1: Der %2 an der Küste leuchtet in colour und color, nicht in colours.\r\n")
        .arg(number, 7, 10, QLatin1Char('0'))
        .arg(number < 1'000'000 ? QStringLiteral("Leuchtturm") : QStringLiteral("Seezeichen"))
        .toUtf8();
}

// A page's lines: attributes, references, a comment; every 40th line a
// style element, every 40th after the 20th a script.
QByteArray htmlLine(qint64 number)
{
    if (number % 40 == 0)
        return QStringLiteral("<style>.k%1 { color: #%2; margin: 0 auto; font-family: \"Köln\", Arial }</style>\r\n")
            .arg(number)
            .arg(number % 0xFFFFFF, 6, 16, QLatin1Char('0'))
            .toUtf8();
    if (number % 40 == 20)
        return QStringLiteral("<script>if (a < %1) { b = \"</\" + \"p>\"; }</script>\r\n").arg(number).toUtf8();
    return QStringLiteral("<p class=\"z%1\" id=p%1>Zeile %1: Grüße aus <a href=\"/k?a=1&amp;b=%1\">Köln</a> "
                          "&amp; <b>süße</b> Äpfel <!-- %1 --></p>\r\n")
        .arg(number)
        .toUtf8();
}

QByteArray piece(DocumentKind kind, qint64 number)
{
    switch (kind) {
    case DocumentKind::GermanLines:
        return textLine(number);
    case DocumentKind::MinifiedCss:
        return cssRule(number);
    case DocumentKind::RightToLeft:
        return rightToLeftWords(number);
    case DocumentKind::MixedScripts:
        return mixedLine(number);
    case DocumentKind::FindLines:
        return findLine(number);
    case DocumentKind::HtmlLines:
        return htmlLine(number);
    }
    return {};
}

bool writeChunked(QFile &file, const GeneratedDocument &document)
{
    QByteArray chunk;
    qint64 written = 0;
    qint64 number = 0;
    const qint64 body = document.oneLine() ? document.bytes - 2 : document.bytes;
    while (written + chunk.size() < body) {
        chunk += piece(document.kind, number);
        ++number;
        if (chunk.size() >= MiB) {
            if (file.write(chunk) != chunk.size())
                return false;
            written += chunk.size();
            chunk.clear();
        }
    }
    if (document.oneLine())
        chunk += "\r\n";
    return file.write(chunk) == chunk.size();
}

} // namespace

QList<GeneratedDocument> documentSpecs(bool quick)
{
    QList<GeneratedDocument> documents = {
        {QStringLiteral("10k"), QStringLiteral("10 KB lines"), 10 * KiB, DocumentKind::GermanLines},
        {QStringLiteral("1m"), QStringLiteral("1 MB lines"), MiB, DocumentKind::GermanLines},
        {QStringLiteral("10m"), QStringLiteral("10 MB lines"), 10 * MiB, DocumentKind::GermanLines},
        {QStringLiteral("100m"), QStringLiteral("100 MB lines"), 100 * MiB, DocumentKind::GermanLines},
        {QStringLiteral("css05m"), QStringLiteral("0.5 MB one line"), MiB / 2, DocumentKind::MinifiedCss},
        {QStringLiteral("css1m"), QStringLiteral("1 MB one line"), MiB, DocumentKind::MinifiedCss},
        {QStringLiteral("css5m"), QStringLiteral("5 MB one line"), 5 * MiB, DocumentKind::MinifiedCss},
        {QStringLiteral("rtl1m"), QStringLiteral("1 MB one line, Arabic and Hebrew"), MiB, DocumentKind::RightToLeft},
        {QStringLiteral("mixed10m"), QStringLiteral("10 MB mixed lines"), 10 * MiB, DocumentKind::MixedScripts},
        {QStringLiteral("html10m"), QStringLiteral("10 MB HTML lines"), 10 * MiB, DocumentKind::HtmlLines},
        {QStringLiteral("html100m"), QStringLiteral("100 MB HTML lines"), 100 * MiB, DocumentKind::HtmlLines},
    };
    if (quick)
        documents.removeIf([](const GeneratedDocument &document) { return document.bytes > 10 * MiB; });
    return documents;
}

GeneratedDocument findDocument(bool quick)
{
    if (quick)
        return {QStringLiteral("find10m"), QStringLiteral("10 MB lines"), 10 * MiB, DocumentKind::FindLines};
    return {QStringLiteral("find100m"), QStringLiteral("100 MB lines"), 100 * MiB, DocumentKind::FindLines};
}

QString writeDocument(const QString &root, const GeneratedDocument &document)
{
    const QString folder = root + QStringLiteral("/doc-") + document.key;
    if (!QDir().mkpath(folder))
        return {};
    const bool css = document.kind == DocumentKind::MinifiedCss;
    const bool html = document.kind == DocumentKind::HtmlLines;
    const QString path = folder + (css ? QStringLiteral("/minified-") : QStringLiteral("/text-")) + document.key
        + (css        ? QStringLiteral(".css")
               : html ? QStringLiteral(".html")
                      : QStringLiteral(".txt"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || !writeChunked(file, document))
        return {};
    return path;
}

qint64 lineCountOf(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return -1;
    qint64 lines = 0;
    while (!file.atEnd())
        lines += file.read(4 * MiB).count('\n');
    return lines;
}

QString writeFileFolder(const QString &root, int files)
{
    const QString folder = root + QStringLiteral("/list-%1").arg(files);
    if (!QDir().mkpath(folder))
        return {};
    for (int i = 0; i < files; ++i) {
        const QByteArray name = QStringLiteral("%1/eintrag-%2.%3")
                                    .arg(folder)
                                    .arg(i, 6, 10, QLatin1Char('0'))
                                    .arg(i % 2 ? QStringLiteral("dat") : QStringLiteral("txt"))
                                    .toLocal8Bit();
        // Plain open/close: a hundred thousand QFile objects cost seconds.
        const int fd = ::open(name.constData(), O_CREAT | O_WRONLY | O_CLOEXEC, 0644);
        if (fd < 0)
            return {};
        ::close(fd);
    }
    return folder;
}

} // namespace timing
