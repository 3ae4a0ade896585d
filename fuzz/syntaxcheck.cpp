#include "syntaxcheck.h"

#include "fuzzcheck.h"

#include "syntax/highlighter.h"
#include "syntax/linestates.h"
#include "syntax/stringtext.h"

#include <algorithm>
#include <vector>

namespace fuzz {

namespace {

using syntax::RoleSpan;

const QString pieces[] = {
    QStringLiteral("\r\n"),       QStringLiteral("\n"),        QStringLiteral("\r"),
    QStringLiteral("<!--"),       QStringLiteral("-->"),       QStringLiteral("<style>"),
    QStringLiteral("</style>"),   QStringLiteral("<script>"),  QStringLiteral("</script>"),
    QStringLiteral("<title>"),    QStringLiteral("</title>"),  QStringLiteral("<svg>"),
    QStringLiteral("</svg>"),     QStringLiteral("<![CDATA["), QStringLiteral("]]>"),
    QStringLiteral("<!DOCTYPE "), QStringLiteral("&amp;"),     QStringLiteral("&notin"),
    QStringLiteral("&#x1F600;"),  QStringLiteral(" style=\""), QStringLiteral("/*"),
    QStringLiteral("*/"),         QStringLiteral("url("),      QStringLiteral("!important"),
    QStringLiteral("@media "),    QStringLiteral("\u00E9"),    QStringLiteral("\U0001F600"),
    QString(QChar(0xD800)),       QString(QChar(0xDC00)),      QString(QChar(0)),
    QStringLiteral("\\"),         QStringLiteral("\\\r\n"),
};

QString describe(const std::vector<RoleSpan> &spans)
{
    QString out;
    for (const RoleSpan &span : spans)
        out += QStringLiteral("[%1,%2)%3 ").arg(span.start).arg(span.end).arg(int(span.role));
    return out;
}

// Spans of consecutive runs, joined where one run's span goes on in the next.
void append(std::vector<RoleSpan> &all, const std::vector<RoleSpan> &more)
{
    for (const RoleSpan &span : more) {
        if (!all.empty() && all.back().end == span.start && all.back().role == span.role)
            all.back().end = span.end;
        else
            all.push_back(span);
    }
}

std::vector<RoleSpan> colourWhole(syntax::Language language, const QString &text)
{
    syntax::SyntaxState state = syntax::SyntaxState::start(language);
    std::vector<RoleSpan> spans;
    const int stopped = syntax::highlight(language, {text, 0, true}, INT_MAX, state, &spans);
    check(stopped == text.size(), "the whole text is read");
    return spans;
}

std::vector<RoleSpan> allLines(syntax::LineStates &states, const syntax::StringText &source)
{
    std::vector<RoleSpan> spans;
    for (int line = 0; line < source.lineCount(); ++line) {
        const int end = line + 1 < source.lineCount() ? source.lineStart(line + 1) : source.textSize();
        std::vector<RoleSpan> piece;
        check(states.spans(source.lineStart(line), end, piece, QDeadlineTimer::Forever), "a line's state is known");
        append(spans, piece);
    }
    return spans;
}

} // namespace

QString syntaxText(FuzzedDataProvider &input)
{
    QString text;
    while (input.remaining_bytes() > 0) {
        const uint8_t byte = input.ConsumeIntegral<uint8_t>();
        if (byte < 128)
            text += QChar(byte);
        else
            text += pieces[byte % std::size(pieces)];
    }
    return text;
}

void checkColouring(syntax::Language language, const QString &text, FuzzedDataProvider &input)
{
    const std::vector<RoleSpan> whole = colourWhole(language, text);
    for (size_t i = 0; i < whole.size(); ++i) {
        check(whole[i].start < whole[i].end && whole[i].start >= 0 && whole[i].end <= text.size(),
              "every span is inside the text and not empty", describe(whole));
        check(i == 0 || whole[i - 1].end <= whole[i].start, "spans are ordered and apart", describe(whole));
    }

    // Line by line, as the states kept at line starts read it.
    const syntax::StringText lines(text);
    std::vector<RoleSpan> byLines;
    syntax::SyntaxState state = syntax::SyntaxState::start(language);
    for (int line = 0; line < lines.lineCount(); ++line) {
        const int start = lines.lineStart(line);
        const int end = line + 1 < lines.lineCount() ? lines.lineStart(line + 1) : lines.textSize();
        std::vector<RoleSpan> spans;
        const int read
            = syntax::highlight(language, {QStringView(text).sliced(start, end - start), start, end == text.size()},
                                INT_MAX, state, &spans);
        check(read == end - start, "a line is read to its end", shown(text));
        append(byLines, spans);
    }
    check(byLines == whole, "line by line colours as the whole text does",
          shown(text) + QStringLiteral("\nwhole: ") + describe(whole) + QStringLiteral("\nlines: ")
              + describe(byLines));

    // With pauses where the input says.
    std::vector<RoleSpan> paused;
    state = syntax::SyntaxState::start(language);
    for (int at = 0; at < text.size();) {
        const int stopAt = at + 1 + input.ConsumeIntegralInRange<int>(0, 40);
        std::vector<RoleSpan> spans;
        const int read = syntax::highlight(language, {QStringView(text).sliced(at), at, true}, stopAt, state, &spans);
        check(at + read >= std::min<int>(stopAt, static_cast<int>(text.size())),
              "no pause before where it is asked for");
        append(paused, spans);
        at += read;
    }
    check(paused == whole, "pausing and going on colours as the whole text does",
          shown(text) + QStringLiteral("\nwhole:  ") + describe(whole) + QStringLiteral("\npaused: ")
              + describe(paused));

    // An edit: the states kept across it colour as a fresh read does.
    syntax::StringText source(text);
    syntax::LineStates kept(source);
    kept.setLanguage(language);
    allLines(kept, source);
    const int position = input.ConsumeIntegralInRange<int>(0, static_cast<int>(text.size()));
    const int removed = input.ConsumeIntegralInRange<int>(0, static_cast<int>(text.size()) - position);
    const QString inserted = syntaxText(input);
    const int firstLine = source.lineOf(position);
    const int lastLine = source.lineOf(position + removed);
    source.setText(QString(text).replace(position, removed, inserted));
    kept.edited(position, removed, static_cast<int>(inserted.size()), firstLine, lastLine);
    check(allLines(kept, source) == colourWhole(language, source.text()), "the states kept across an edit stand",
          shown(source.text()));
}

} // namespace fuzz
