// The states kept at line starts: after random edits, the colours of every
// line, as a view keeps them (kept until reported changed), equal those of
// the text read from scratch.
#include "syntax/linestates.h"
#include "syntax/stringtext.h"

#include <QRandomGenerator>
#include <QTest>
#include <map>

using namespace syntax;

Q_DECLARE_METATYPE(syntax::Language)

namespace {

// A piece of a line as a view lays it out, with its colours; offsets from
// the line's start.
struct Segment
{
    int from = 0;
    int to = 0;
    std::vector<RoleSpan> spans;
    bool operator==(const Segment &) const = default;
};

Segment segment(LineStates &states, const TextSource &text, int line, int from, int to)
{
    const int start = text.lineStart(line);
    Segment piece{from, to, {}};
    states.spans(start + from, start + to, piece.spans, QDeadlineTimer::Forever);
    for (RoleSpan &span : piece.spans) {
        span.start -= start;
        span.end -= start;
    }
    return piece;
}

// Lays out what is missing of the lines, as the view does: a line longer
// than 12,288 characters in pieces of at most 3,000 between the ones kept.
void layOut(std::map<int, std::vector<Segment>> &shown, LineStates &states, const TextSource &text, int firstLine,
            int lastLine)
{
    for (int line = firstLine; line <= lastLine; ++line) {
        const int length
            = (line + 1 < text.lineCount() ? text.lineStart(line + 1) : text.textSize()) - text.lineStart(line);
        std::vector<Segment> &pieces = shown[line];
        std::vector<Segment> complete;
        size_t next = 0;
        for (int at = 0; at < length || (length == 0 && complete.empty());) {
            if (next < pieces.size() && pieces[next].from == at) {
                at = pieces[next].to;
                complete.push_back(std::move(pieces[next++]));
                continue;
            }
            const int most = length > 12288 ? 3000 : length;
            const int end = std::min({length, at + most, next < pieces.size() ? pieces[next].from : length});
            complete.push_back(segment(states, text, line, at, end));
            at = end;
            if (length == 0)
                break;
        }
        pieces = std::move(complete);
    }
}

// An edit of a script: at `position` (-1: the end), `removed` characters
// become `inserted`.
struct ScriptEdit
{
    int position = 0;
    int removed = 0;
    QString inserted;
};

} // namespace

Q_DECLARE_METATYPE(QList<ScriptEdit>)

class LineStatesTest : public QObject
{
    Q_OBJECT
private slots:
    void editsKeepColoursRight_data();
    void editsKeepColoursRight();
};

void LineStatesTest::editsKeepColoursRight_data()
{
    QTest::addColumn<Language>("language");
    QTest::addColumn<QString>("line");
    QTest::addColumn<int>("repeat");
    // Random edits, unless a script gives them.
    QTest::addColumn<QList<ScriptEdit>>("script");
    QTest::newRow("html lines") << Language::Html
                                << QStringLiteral("<p class=\"a\" style='color:red'>x &amp; y</p> <!-- c -->\r\n") << 60
                                << QList<ScriptEdit>();
    QTest::newRow("html one long line") << Language::Html << QStringLiteral("<b id=x>t&lt;</b><style>a{b:c}</style>")
                                        << 900 << QList<ScriptEdit>();
    QTest::newRow("css lines") << Language::Css << QStringLiteral(".a{color:red;background:url(x.png)}\r\n") << 60
                               << QList<ScriptEdit>();
    QTest::newRow("css one long line") << Language::Css << QStringLiteral(".k{content:\"x\";margin:0 auto} ") << 1200
                                       << QList<ScriptEdit>();
    // Typed on below a comment left open: the end of the text before the
    // line typed in closes nothing.
    QTest::newRow("html comment open above the last line")
        << Language::Html << QString() << 1
        << QList<ScriptEdit>{{0, 0, QStringLiteral("<!-- note\r\n")}, {-1, 0, QStringLiteral("<b>x</b>")}};
    QTest::newRow("css comment open above the last line")
        << Language::Css << QString() << 1
        << QList<ScriptEdit>{{0, 0, QStringLiteral("/* note\r\n")}, {-1, 0, QStringLiteral("a{color:red}")}};
    // A long line cut down to a length read whole.
    QTest::newRow("long line shortened") << Language::Css
                                         << QStringLiteral("/*") + QString(6000, QLatin1Char('a')) + QStringLiteral(" ")
            + QStringLiteral(".k{}").repeated(2000)
                                         << 1 << QList<ScriptEdit>{{0, 6000, QString()}};
}

void LineStatesTest::editsKeepColoursRight()
{
    QFETCH(Language, language);
    QFETCH(QString, line);
    QFETCH(int, repeat);
    QFETCH(QList<ScriptEdit>, script);
    const QStringList pieces
        = {QStringLiteral("<!--"),     QStringLiteral("-->"),  QStringLiteral("<style>"), QStringLiteral("</style>"),
           QStringLiteral("<script>"), QStringLiteral("\""),   QStringLiteral("'"),       QStringLiteral("/*"),
           QStringLiteral("*/"),       QStringLiteral("\r\n"), QStringLiteral("url("),    QStringLiteral("&amp"),
           QStringLiteral("{"),        QStringLiteral("}"),    QStringLiteral("x"),       QStringLiteral("<![CDATA["),
           QStringLiteral("<svg>"),    QStringLiteral("\\")};
    StringText source(line.repeated(repeat));
    LineStates states(source);
    states.setLanguage(language);
    // What a view shows: every line's colours, kept until reported changed.
    std::map<int, std::vector<Segment>> shown;
    layOut(shown, states, source, 0, source.lineCount() - 1);
    QRandomGenerator random(23);
    for (int edit = 0; edit < (script.isEmpty() ? 300 : script.size()); ++edit) {
        const int size = source.textSize();
        int position = random.bounded(size + 1);
        int removed = random.bounded(3) == 0 ? std::min(random.bounded(40), size - position) : 0;
        QString inserted = removed > 0 && random.bounded(2) ? QString() : pieces[random.bounded(pieces.size())];
        if (!script.isEmpty()) {
            const ScriptEdit &step = script[edit];
            position = step.position < 0 ? size : step.position;
            removed = step.removed;
            inserted = step.inserted;
        }
        const int firstLine = source.lineOf(position);
        const int lastLine = source.lineOf(position + removed);
        const int lines = source.lineCount();
        source.setText(QString(source.text()).replace(position, removed, inserted));
        states.edited(position, removed, static_cast<int>(inserted.size()), firstLine, lastLine);
        // The view lays out anew what the edit touched and moves the rest:
        // in a line edited in itself, the pieces around the edit stay.
        const int shift = source.lineCount() - lines;
        std::map<int, std::vector<Segment>> moved;
        for (auto &[index, pieces] : shown) {
            if (index < firstLine || index > lastLine) {
                moved.emplace(index < firstLine ? index : index + shift, std::move(pieces));
            } else if (firstLine == lastLine && shift == 0 && pieces.size() > 1) {
                const int offset = position - source.lineStart(index);
                const int delta = static_cast<int>(inserted.size()) - removed;
                for (Segment &piece : pieces) {
                    if (piece.to < offset) {
                        moved[index].push_back(std::move(piece));
                    } else if (piece.from > offset + removed) {
                        piece.from += delta;
                        piece.to += delta;
                        for (RoleSpan &span : piece.spans) {
                            span.start += delta;
                            span.end += delta;
                        }
                        moved[index].push_back(std::move(piece));
                    }
                }
            }
        }
        shown.swap(moved);
        // What the view shows now: some lines, read up to their end.
        const int top = script.isEmpty() ? random.bounded(source.lineCount()) : 0;
        const int bottom = std::min(source.lineCount() - 1, script.isEmpty() ? top + random.bounded(8) : INT_MAX);
        const int target = bottom + 1 < source.lineCount() ? source.lineStart(bottom + 1) : source.textSize();
        QVERIFY(states.advance(target, QDeadlineTimer::Forever));
        const auto [from, to] = states.takeChanged();
        for (auto &[index, pieces] : shown) {
            const int start = source.lineStart(index);
            std::erase_if(pieces, [&](const Segment &piece) {
                return from < to && start + piece.from < to && start + piece.to > from;
            });
        }
        layOut(shown, states, source, top, bottom);
        LineStates scratch(source);
        scratch.setLanguage(language);
        for (const auto &[index, pieces] : shown) {
            for (const Segment &piece : pieces)
                QVERIFY2(piece == segment(scratch, source, index, piece.from, piece.to),
                         qPrintable(QStringLiteral("edit %1, line %2 at %3").arg(edit).arg(index).arg(piece.from)));
        }
    }
}

QTEST_APPLESS_MAIN(LineStatesTest)
#include "tst_linestates.moc"
