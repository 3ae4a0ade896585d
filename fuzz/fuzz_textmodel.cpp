// Random edits (outside the text too), runs of typing, Backspace and Delete,
// undo and redo under a small history limit, and row queries, applied to the
// text model and to a plain QString with a stack of snapshots. Checked after
// every step: the text and its line starts, that undo and redo land on the
// snapshots, a line's direction against Qt's, and the caret stops around a
// position against Qt's boundary finder on the whole line, held to the rules
// of a cluster; now and then every segment and the row count.
#include "fuzzcheck.h"

#include "textengine/model/caretstops.h"
#include "textengine/model/edithistory.h"
#include "textengine/model/rowmap.h"
#include "textengine/model/textcontent.h"

#include <QStringList>
#include <QTextBoundaryFinder>

#include <fuzzer/FuzzedDataProvider.h>

namespace {

using namespace textengine;
using fuzz::check;

// What the rules of clusters, lines and direction care about, lone
// surrogates among them.
constexpr char32_t alphabet[]
    = {U'a',   U' ',   U'\t',  U'\r',  U'\n',  0x301,  0x915,   0x93F,   0x94D,   0x200D, 0x200C,
       0xFE0F, 0x600,  0x6DD,  0xFF9E, 0x5D0,  0x627,  0x1100,  0x1161,  0xAC00,  0xE33,  0x2067,
       0x2069, 0x1039, 0x1000, 0xA9,   0xD800, 0xDC4D, 0x1F600, 0x1F1E9, 0x1F1EA, 0x1F3FD};

QString pieceFrom(FuzzedDataProvider &input)
{
    const char32_t c = alphabet[input.ConsumeIntegralInRange<size_t>(0, std::size(alphabet) - 1)];
    return c < 0x10000 ? QString(QChar(char16_t(c))) : QString::fromUcs4(&c, 1);
}

// A few pieces, now and then repeated into a line long enough for windows,
// chunks and segments.
QString fragmentFrom(FuzzedDataProvider &input)
{
    QString text;
    for (int n = input.ConsumeIntegralInRange(0, 8); n > 0; --n)
        text += pieceFrom(input);
    return input.ConsumeIntegralInRange(0, 7) == 0 ? text.repeated(input.ConsumeIntegralInRange(1, 1500)) : text;
}

class TenColumns : public RowWrapper
{
public:
    std::vector<int> wrap(int from, int to, Qt::LayoutDirection, quint64) override
    {
        std::vector<int> rows{0};
        for (int start = 10; start < to - from; start += 10)
            rows.push_back(start);
        return rows;
    }
    int estimate(int length) const override { return std::max(1, (length + 7) / 8); }
};

struct Session
{
    explicit Session(qsizetype limit)
        : limit(limit)
    {
    }
    qsizetype limit;
    TextContent content;
    TenColumns wrapper;
    RowMap rows{content, wrapper};
    EditHistory history{limit};
    QString reference;
    QStringList states; // the text after each recorded step
    qsizetype current = 0;
    int caret = 0;
};

// The model clamps an edit outside the text; the reference, the history
// and the rows are told what took place.
void apply(Session &s, int position, int removed, const QString &inserted, std::optional<EditKind> kind = {})
{
    const int at = std::clamp(position, 0, int(s.reference.size()));
    const int gone = std::clamp(removed, 0, int(s.reference.size()) - at);
    const int end = at + int(inserted.size());
    if (kind)
        s.history.record({at, s.reference.mid(at, gone), inserted, {s.caret, s.caret}, {end, end}}, *kind);
    const int firstLine = s.content.lineOf(at);
    const int lastLine = s.content.lineOf(at + gone);
    s.content.replace(position, removed, inserted);
    s.reference.replace(at, gone, inserted);
    s.rows.edited(at, gone, int(inserted.size()), firstLine, lastLine);
    s.caret = s.content.snap(end);
    if (kind) {
        check(s.history.canUndo() && (s.history.bytes() <= s.limit || s.history.steps() == 1),
              "the history keeps its limit and the newest step");
        s.states.resize(++s.current);
        s.states << s.reference;
    }
}

// A run of keystrokes is one step: undo goes back to the snapshot before
// it, redo to the one after.
void step(Session &s, bool back)
{
    if (!(back ? s.history.canUndo() : s.history.canRedo()))
        return;
    const EditStep step = back ? s.history.undo() : s.history.redo();
    apply(s, step.position, int((back ? step.inserted : step.removed).size()), back ? step.removed : step.inserted);
    s.caret = s.content.snap((back ? step.before : step.after).caret);
    do
        s.current += back ? -1 : 1;
    while (s.current >= 0 && s.current < s.states.size() && s.states[s.current] != s.reference);
    check(s.current >= 0 && s.current < s.states.size(), "undo and redo land on a snapshot", fuzz::shown(s.reference));
}

void checkLines(const Session &s)
{
    FUZZ_CHECK_EQUAL(s.content.text(), s.reference, "the text is the reference's");
    int line = 1;
    for (int i = 0; i < s.reference.size(); ++i) {
        const QChar c = s.reference[i];
        if (c == u'\n' || (c == u'\r' && (i + 1 == s.reference.size() || s.reference[i + 1] != u'\n')))
            check(line < s.content.lineCount() && s.content.lineStart(line++) == i + 1, "a line starts after a break");
    }
    check(line == s.content.lineCount(), "as many lines as breaks and one");
}

char32_t codePointAt(const QString &text, int i)
{
    if (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate())
        return QChar::surrogateToUcs4(text[i], text[i + 1]);
    if (text[i].isLowSurrogate() && i > 0 && text[i - 1].isHighSurrogate())
        return QChar::surrogateToUcs4(text[i - 1], text[i]);
    return text[i].unicode();
}

// Whether a stop belongs at `i`: where Qt's finder on the whole line has a
// boundary, but not inside a surrogate pair nor where CaretStops::joined()
// says so; regional indicators pair from the start of their run.
std::optional<bool> stopExpected(const QString &text, QTextBoundaryFinder &qt, int i)
{
    if (i == 0 || i == text.size())
        return true;
    if (text[i - 1].isHighSurrogate() && text[i].isLowSurrogate())
        return false;
    const char32_t before = codePointAt(text, i - 1);
    const char32_t after = codePointAt(text, i);
    const QChar::Category category = QChar::category(after);
    const bool mark = category == QChar::Mark_NonSpacing || category == QChar::Mark_SpacingCombining
        || category == QChar::Mark_Enclosing; // variation selectors too
    check(CaretStops::joined(before, after) || !(mark || after == 0x200D || before == 0x200D),
          "marks and joiners are joined in any context");
    if (CaretStops::joined(before, after))
        return false;
    auto regional = [](char32_t c) { return c >= 0x1F1E6 && c <= 0x1F1FF; };
    if (regional(before) && regional(after)) {
        int count = 0;
        for (int j = i; j >= 2 && regional(codePointAt(text, j - 1)); j -= 2, ++count) {
            if (j < i && j % CaretStops::reach <= 1)
                return std::nullopt; // a forced stop may start the pairs afresh
        }
        return count % 2 == 0;
    }
    qt.setPosition(i);
    return qt.isAtBoundary();
}

// The stops of a stretch of the line against Qt's; between two of them
// snap, snapForward, nextPosition and previousPosition agree.
void checkStops(const TextContent &content, int line, int from, int count)
{
    const int first = content.lineStart(line);
    const QString text = content.mid(first, content.lineEnd(line) - first);
    check(content.lineDirection(line) == (QStringView(text).isRightToLeft() ? Qt::RightToLeft : Qt::LeftToRight),
          "a line's direction is Qt's", fuzz::shown(text));
    QTextBoundaryFinder qt(QTextBoundaryFinder::Grapheme, text);
    CaretStops stops(content, line);
    int previous = -1;
    for (int i = from; i <= std::min(int(text.size()), from + count); ++i) {
        const int p = first + i;
        const bool stop = stops.isStop(p);
        const std::optional<bool> expected = stopExpected(text, qt, i);
        // A chunk without an anchor starts at a forced stop.
        check(!expected || stop == *expected || (stop && i % CaretStops::reach <= 1), "a stop where Qt has one",
              QStringLiteral("at %1 of %2").arg(i).arg(fuzz::shown(text)));
        if (stop && previous >= 0) {
            check(content.nextPosition(previous) == p && content.previousPosition(p) == previous
                      && content.snapForward(previous + 1) == p && content.snap(p - 1) == previous,
                  "steps and snaps visit the same stops", QStringLiteral("%1 and %2").arg(previous).arg(p));
        }
        previous = stop ? p : previous;
    }
}

// Every segment runs from caret stop to caret stop and has the rows its
// wrapper gives it, and the map counts the rows there are.
void checkRows(Session &s)
{
    int rows = 0;
    for (int line = 0; line < s.content.lineCount(); ++line) {
        int end = s.content.lineStart(line);
        for (int i = 0; i < s.rows.segmentCount(line); ++i) {
            const Segment segment = s.rows.segment(line, i);
            check(segment.from == end && s.content.snap(segment.from) == segment.from
                      && segment.to - segment.from <= RowMap::longLine
                      && *segment.rows == s.wrapper.wrap(segment.from, segment.to, segment.direction, 0),
                  "segments go from caret stop to caret stop, with their wrapper's rows");
            rows += int(segment.rows->size());
            end = segment.to;
        }
        check(end == s.content.lineEnd(line), "the segments cover the line");
    }
    check(rows == s.rows.totalRows(), "the map counts the rows laid out");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzedDataProvider input(data, size);
    Session s(input.ConsumeIntegralInRange<qsizetype>(0, 4000));
    s.reference = fragmentFrom(input);
    s.states = {s.reference};
    s.content.setText(s.reference);
    s.rows.reset();
    while (input.remaining_bytes() > 0) {
        const int size = s.content.size();
        const int op = input.ConsumeIntegralInRange(0, 7);
        for (int n = op >= 1 && op <= 4 ? input.ConsumeIntegralInRange(1, 8) : 1; n > 0; --n) {
            const int caret = s.caret;
            if (op == 0 && size < 40000) {
                apply(s, input.ConsumeIntegralInRange(-4, size + 4), input.ConsumeIntegralInRange(-2, size / 2 + 4),
                      fragmentFrom(input), EditKind::Other);
            } else if (op == 1) {
                apply(s, caret, 0, pieceFrom(input), EditKind::Typing);
            } else if (op == 2 && caret > 0) {
                apply(s, s.content.previousPosition(caret), caret - s.content.previousPosition(caret), QString(),
                      EditKind::DeletingBack);
            } else if (op == 3 && caret < s.content.size()) {
                apply(s, caret, s.content.nextPosition(caret) - caret, QString(), EditKind::DeletingForward);
            } else if (op == 4) {
                step(s, input.ConsumeBool());
            }
        }
        if (op == 5) {
            s.caret = s.content.snap(input.ConsumeIntegralInRange(0, size));
            s.history.endRun();
            const Row row = s.rows.rowOf(s.caret);
            check(s.rows.rowAt(s.rows.rowNumber(row)) == row && s.rows.rowStart(row) <= s.caret
                      && s.caret <= s.rows.rowEnd(row),
                  "a position lies in its row, whose number leads back to it");
        } else if (op == 6) {
            checkRows(s);
        } else if (op == 7) { // as a view does before its first edit of such a text
            s.content.normalizeLineBreaks();
            s.reference.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(u'\r', u'\n');
            s.reference.replace(QStringLiteral("\n"), QStringLiteral("\r\n"));
            s.history.clear();
            s.states = {s.reference};
            s.current = 0;
            checkRows(s);
        }
        checkLines(s);
        const int line = s.content.lineOf(input.ConsumeIntegralInRange(0, s.content.size()));
        checkStops(s.content, line, input.ConsumeIntegralInRange(0, s.content.lineLength(line)), 100);
    }
    checkRows(s);
    return 0;
}
