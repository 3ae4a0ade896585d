// Random edits, keystroke runs, undo and redo under a small history limit,
// and row queries, applied to the text model and to a plain QString with a
// stack of snapshots. Checked after every step: the text and its line
// starts, that undo and redo land on the snapshots, a line's direction
// against Qt's, and the caret stops against Qt's boundary finder on the
// whole line, held to the rules of a cluster; now and then the rows and
// segments of every line.
#include "fuzzcheck.h"

#include "textengine/model/caretstops.h"
#include "textengine/model/edithistory.h"
#include "textengine/model/rowmap.h"
#include "textengine/model/textcontent.h"

#include <QList>
#include <QStringList>
#include <QTextBoundaryFinder>

#include <fuzzer/FuzzedDataProvider.h>

namespace {

using namespace textengine;
using fuzz::check;

// What the rules of clusters, lines and direction care about.
const QString pieces[] = {QStringLiteral("a"),          QStringLiteral(" "),          QStringLiteral("\t"),
                          QStringLiteral("\r"),         QStringLiteral("\n"),         QStringLiteral("\u0301"),
                          QStringLiteral("\u0915"),     QStringLiteral("\u093F"),     QStringLiteral("\u094D"),
                          QStringLiteral("\u200D"),     QStringLiteral("\u200C"),     QStringLiteral("\uFE0F"),
                          QStringLiteral("\u0600"),     QStringLiteral("\u06DD"),     QStringLiteral("\uFF9E"),
                          QStringLiteral("\u05D0"),     QStringLiteral("\u0627"),     QStringLiteral("\u1100"),
                          QStringLiteral("\u1161"),     QStringLiteral("\uAC00"),     QStringLiteral("\u0E33"),
                          QStringLiteral("\u2067"),     QStringLiteral("\u2069"),     QStringLiteral("\u1039"),
                          QStringLiteral("\u1000"),     QStringLiteral("\u00A9"),     QStringLiteral("\U0001F600"),
                          QStringLiteral("\U0001F1E9"), QStringLiteral("\U0001F1EA"), QStringLiteral("\U0001F3FD"),
                          QString(QChar(0xD800)),       QString(QChar(0xDC4D))};

QString pieceFrom(FuzzedDataProvider &input)
{
    return pieces[input.ConsumeIntegralInRange<size_t>(0, std::size(pieces) - 1)];
}

// A few pieces, now and then repeated into a line long enough for windows,
// chunks and segments.
QString fragmentFrom(FuzzedDataProvider &input)
{
    QString text;
    for (int n = input.ConsumeIntegralInRange(0, 8); n > 0; --n)
        text += pieceFrom(input);
    return input.ConsumeIntegralInRange(0, 7) == 0 ? text.repeated(input.ConsumeIntegralInRange(1, 3000)) : text;
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
        : history(limit)
    {
    }
    TextContent content;
    TenColumns wrapper;
    RowMap rows{content, wrapper};
    EditHistory history;
    QString reference;
    QStringList states{QString()}; // the text after each recorded step
    qsizetype current = 0;
    std::vector<qsizetype> undone; // where each undo since the last edit started
    int caret = 0;
};

// The model clamps an edit outside the text; the reference and the rows are
// told what took place.
std::pair<int, int> clamped(const Session &s, int position, int removed)
{
    const int at = std::clamp(position, 0, int(s.reference.size()));
    return {at, std::clamp(removed, 0, int(s.reference.size()) - at)};
}

void apply(Session &s, int position, int removed, const QString &inserted)
{
    const auto [at, gone] = clamped(s, position, removed);
    const int firstLine = s.content.lineOf(at);
    const int lastLine = s.content.lineOf(at + gone);
    s.content.replace(position, removed, inserted);
    s.reference.replace(at, gone, inserted);
    s.rows.edited(at, gone, int(inserted.size()), firstLine, lastLine);
}

void edit(Session &s, int position, int removed, const QString &inserted, EditKind kind, qsizetype limit)
{
    const auto [at, gone] = clamped(s, position, removed);
    const int end = at + int(inserted.size());
    s.history.record({at, s.reference.mid(at, gone), inserted, {s.caret, s.caret}, {end, end}}, kind);
    apply(s, position, removed, inserted);
    check(s.history.canUndo() && (s.history.bytes() <= limit || s.history.steps() == 1), "the history keeps its limit");
    s.states.resize(s.current + 1);
    s.undone.clear();
    s.states << s.reference;
    ++s.current;
    s.caret = s.content.snap(end);
}

void step(Session &s, bool back)
{
    if (!(back ? s.history.canUndo() : s.history.canRedo()))
        return;
    const EditStep step = back ? s.history.undo() : s.history.redo();
    apply(s, step.position, int((back ? step.inserted : step.removed).size()), back ? step.removed : step.inserted);
    if (back) {
        // A run of keystrokes is one step: back to the text before it.
        s.undone.push_back(s.current);
        while (--s.current >= 0 && s.states[s.current] != s.reference) {}
        check(s.current >= 0, "undo brings back an earlier text", fuzz::shown(s.reference));
    } else {
        s.current = s.undone.back();
        s.undone.pop_back();
        FUZZ_CHECK_EQUAL(s.reference, s.states[s.current], "redo brings back the text undone");
    }
    s.caret = s.content.snap((back ? step.before : step.after).caret);
}

void checkLines(const Session &s)
{
    FUZZ_CHECK_EQUAL(s.content.text(), s.reference, "the text is the reference's");
    QList<int> starts{0};
    for (int i = 0; i < s.reference.size(); ++i) {
        const QChar c = s.reference[i];
        if (c == u'\n' || (c == u'\r' && (i + 1 == s.reference.size() || s.reference[i + 1] != u'\n')))
            starts << i + 1;
    }
    check(s.content.lineCount() == starts.size(), "as many lines as the reference");
    for (int line = 0; line < starts.size(); ++line)
        check(s.content.lineStart(line) == starts[line], "the line starts are the reference's");
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
        for (int j = i; j >= 2 && regional(codePointAt(text, j - 1)); j -= 2) {
            if (j < i && j % CaretStops::reach <= 1)
                return std::nullopt; // a forced stop may start the pairs afresh
            ++count;
        }
        return count % 2 == 0;
    }
    qt.setPosition(i);
    return qt.isAtBoundary();
}

void checkStops(const TextContent &content, int line, int from, int count)
{
    const int first = content.lineStart(line);
    const QString text = content.mid(first, content.lineEnd(line) - first);
    check(content.lineDirection(line) == (QStringView(text).isRightToLeft() ? Qt::RightToLeft : Qt::LeftToRight),
          "a line's direction is Qt's", fuzz::shown(text));
    QTextBoundaryFinder qt(QTextBoundaryFinder::Grapheme, text);
    int previous = -1;
    for (int i = std::min(from, int(text.size())); i <= std::min(int(text.size()), from + count); ++i) {
        const int p = first + i;
        const int snapped = content.snap(p);
        const int forward = content.snapForward(p);
        const bool stop = snapped == p;
        check(snapped <= p && forward >= p && content.snap(forward) == forward && content.snap(snapped) == snapped,
              "snap and snapForward go to stops around the position");
        check(previous < 0 || snapped == (stop ? p : previous), "snap goes to the last stop");
        const std::optional<bool> expected = stopExpected(text, qt, i);
        // A chunk without an anchor starts at a forced stop.
        check(!expected || stop == *expected || (stop && i % CaretStops::reach <= 1), "a stop where Qt has one",
              QStringLiteral("at %1 of %2").arg(i).arg(fuzz::shown(text)));
        if (stop && previous >= 0) {
            check(content.nextPosition(previous) == p && content.previousPosition(p) == previous
                      && content.snapForward(previous + 1) == p,
                  "steps forward and back visit the same stops", QStringLiteral("%1 and %2").arg(previous).arg(p));
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
                      && segment.to - segment.from <= RowMap::longLine,
                  "segments follow each other from caret stop to caret stop");
            check(*segment.rows == s.wrapper.wrap(segment.from, segment.to, segment.direction, 0),
                  "a segment's rows are its wrapper's");
            rows += int(segment.rows->size());
            end = segment.to;
        }
        check(end == s.content.lineEnd(line), "the segments cover the line");
    }
    check(rows == s.rows.totalRows(), "the map counts the rows laid out");
}

void queryRows(Session &s, FuzzedDataProvider &input)
{
    const int p = input.ConsumeIntegralInRange(0, s.content.size());
    const Row row = s.rows.rowOf(p);
    check(s.rows.rowNumber(row) < s.rows.totalRows() && s.rows.rowAt(s.rows.rowNumber(row)) == row,
          "a row's number leads back to it");
    check(s.rows.rowStart(row) <= p && (p <= s.rows.rowEnd(row) || p > s.content.lineEnd(row.line)),
          "a position lies in its row");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzedDataProvider input(data, size);
    const qsizetype limit = input.ConsumeIntegralInRange<qsizetype>(0, 4000);
    Session s(limit);
    s.reference = fragmentFrom(input);
    s.states = {s.reference};
    s.content.setText(s.reference);
    s.rows.reset();
    while (input.remaining_bytes() > 0) {
        const int size = s.content.size();
        switch (input.ConsumeIntegralInRange(0, 9)) {
        case 0:
            edit(s, input.ConsumeIntegralInRange(-4, size + 4), input.ConsumeIntegralInRange(-2, size / 2 + 4),
                 size < 40000 ? fragmentFrom(input) : QString(), EditKind::Other, limit);
            break;
        case 1:
            for (int n = input.ConsumeIntegralInRange(1, 8); n > 0; --n)
                edit(s, s.caret, 0, pieceFrom(input), EditKind::Typing, limit);
            break;
        case 2:
            for (int n = input.ConsumeIntegralInRange(1, 8); n > 0 && s.caret > 0; --n) {
                const int from = s.content.previousPosition(s.caret);
                edit(s, from, s.caret - from, QString(), EditKind::DeletingBack, limit);
            }
            break;
        case 3:
            for (int n = input.ConsumeIntegralInRange(1, 8); n > 0 && s.caret < s.content.size(); --n)
                edit(s, s.caret, s.content.nextPosition(s.caret) - s.caret, QString(), EditKind::DeletingForward,
                     limit);
            break;
        case 4:
        case 5:
            for (int n = input.ConsumeIntegralInRange(1, 3); n > 0; --n)
                step(s, input.ConsumeBool());
            break;
        case 6:
            s.caret = s.content.snap(input.ConsumeIntegralInRange(0, size));
            s.history.endRun();
            break;
        case 7:
            queryRows(s, input);
            break;
        case 8:
            checkRows(s);
            break;
        case 9: // as a view does before its first edit of such a text
            s.content.normalizeLineBreaks();
            s.reference.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(u'\r', u'\n');
            s.reference.replace(QStringLiteral("\n"), QStringLiteral("\r\n"));
            s.history.clear();
            s.states = {s.reference};
            s.current = 0;
            s.undone.clear();
            s.caret = 0;
            checkRows(s);
            break;
        }
        checkLines(s);
        const int line = s.content.lineOf(input.ConsumeIntegralInRange(0, s.content.size()));
        checkStops(s.content, line, input.ConsumeIntegralInRange(0, s.content.lineLength(line)), 300);
    }
    checkRows(s);
    return 0;
}
