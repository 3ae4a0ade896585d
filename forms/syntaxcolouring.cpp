#include "forms/syntaxcolouring.h"

#include "syntax/matching.h"
#include "syntax/palette.h"
#include "textengine/view/textview.h"

#include <QEvent>
#include <QTimer>
#include <algorithm>

namespace forms {

namespace {

// A slice of reading on: the window answers keys and paints between two.
constexpr int sliceMs = 8;
// What laying out the text shown may spend reading on in one pass.
constexpr int layoutBudgetMs = 8;

QColor colour(quint32 rgb)
{
    return QColor(QRgb(rgb));
}

} // namespace

SyntaxColouring::SyntaxColouring(textengine::TextView *view)
    : QObject(view)
    , m_view(view)
    , m_states(*this)
{
    view->installEventFilter(this);
    connect(view, &textengine::TextView::caretPositionChanged, this, &SyntaxColouring::updateMatch);
    applyPalette();
}

SyntaxColouring::~SyntaxColouring() = default;

void SyntaxColouring::setLanguage(syntax::Language language)
{
    if (language == m_states.language())
        return;
    m_states.setLanguage(language);
    if (m_enabled) {
        m_view->formatsChanged(0, m_view->length());
        updateMatch();
    }
}

void SyntaxColouring::setEnabled(bool enabled)
{
    if (enabled == m_enabled)
        return;
    m_enabled = enabled;
    m_view->setFormatSource(enabled ? this : nullptr);
    updateMatch();
}

QList<QTextLayout::FormatRange> SyntaxColouring::formats(int from, int to)
{
    QList<QTextLayout::FormatRange> ranges;
    if (!m_enabled || m_states.language() == syntax::Language::Plain)
        return ranges;
    // Every layout of this pass shares one budget, so that a jump far into
    // a huge text paints at once and its colours follow.
    if (!m_budgetOpen) {
        m_budget = QDeadlineTimer(layoutBudgetMs);
        m_budgetOpen = true;
        QTimer::singleShot(0, this, [this] { m_budgetOpen = false; });
    }
    m_spans.clear();
    if (!m_states.spans(from, to, m_spans, m_budget)) {
        schedule();
        return ranges;
    }
    m_fresh.emplace_back(from, to);
    // Every change of format splits the text that Qt shapes and draws: a
    // span takes the blanks after it, which show no colour, and spans of
    // one colour that meet become one.
    QString scratch;
    const QStringView text = characters(from, to, scratch);
    auto blank = [&text, from](int at) {
        const QChar c = text[at - from];
        return c == u' ' || c == u'\t';
    };
    ranges.reserve(static_cast<qsizetype>(m_spans.size()));
    for (size_t i = 0; i < m_spans.size(); ++i) {
        const syntax::RoleSpan &span = m_spans[i];
        const int next = i + 1 < m_spans.size() ? m_spans[i + 1].start : to;
        int end = span.end;
        while (end < next && blank(end))
            ++end;
        const QTextCharFormat &format = m_formats[static_cast<size_t>(span.role)];
        if (!ranges.isEmpty() && ranges.last().start + ranges.last().length == span.start - from
            && ranges.last().format == format)
            ranges.last().length = end - from - ranges.last().start;
        else
            ranges.append({span.start - from, end - span.start, format});
    }
    return ranges;
}

void SyntaxColouring::textReplaced(int position, int removed, int inserted, int firstLine, int lastLine)
{
    m_fresh.clear();
    m_states.edited(position, removed, inserted, firstLine, lastLine);
    if (m_enabled)
        schedule();
}

void SyntaxColouring::textReset()
{
    m_fresh.clear();
    m_states.reset();
    if (m_enabled)
        schedule();
}

void SyntaxColouring::schedule()
{
    if (!m_work.isActive())
        m_work.start(0, this);
}

void SyntaxColouring::timerEvent(QTimerEvent *event)
{
    if (event->timerId() != m_work.timerId()) {
        QObject::timerEvent(event);
        return;
    }
    // Reads on to the end of what is shown, then lays out anew what
    // changed colour on the way.
    const bool done = !m_enabled || m_states.advance(m_view->visibleRange().second, QDeadlineTimer(sliceMs));
    const auto [from, to] = m_states.takeChanged();
    if (from < to && m_enabled)
        changed(from, to);
    if (done) {
        m_work.stop();
        updateMatch();
        emit settled();
    }
}

// Lays out anew what changed colour, but not the pieces coloured since the
// last edit (the edited piece itself, mostly): they were coloured from the
// text as it is.
void SyntaxColouring::changed(int from, int to)
{
    std::sort(m_fresh.begin(), m_fresh.end());
    int at = from;
    for (const auto &[start, end] : m_fresh) {
        if (end <= at || start >= to)
            continue;
        if (start > at)
            m_view->formatsChanged(at, start);
        at = std::max(at, end);
    }
    if (at < to)
        m_view->formatsChanged(at, to);
}

bool SyntaxColouring::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_view && event->type() == QEvent::PaletteChange) {
        applyPalette();
        if (m_enabled)
            m_view->formatsChanged(0, m_view->length());
    }
    return QObject::eventFilter(watched, event);
}

// The scheme follows the view's colours: a dark background is "Dark", a
// green text "Green".
void SyntaxColouring::applyPalette()
{
    const QColor base = m_view->palette().color(QPalette::Base);
    const QColor text = m_view->palette().color(QPalette::Text);
    const bool dark = base.lightness() < 128;
    const bool green = text.green() > 2 * std::max(text.red(), text.blue()) && text.green() >= 0x30;
    const syntax::SyntaxPalette &palette = syntax::syntaxPalette(dark, green);
    for (int role = 0; role < syntax::roleCount; ++role) {
        QTextCharFormat format;
        // Plain text keeps the view's own colour.
        if (role != static_cast<int>(syntax::Role::Plain))
            format.setForeground(colour(palette.roles[static_cast<size_t>(role)]));
        m_formats[static_cast<size_t>(role)] = format;
    }
    m_markFormat = QTextCharFormat();
    m_markFormat.setBackground(colour(palette.mark));
    m_view->setLineNumberColors(colour(palette.lineNumber), text);
    updateMatch();
}

void SyntaxColouring::updateMatch()
{
    QList<textengine::ExtraFormat> marks;
    const int caret = m_view->caretPosition();
    if (m_enabled && caret == m_view->anchorPosition()) {
        if (const std::optional<syntax::MatchPair> match = syntax::findMatch(m_states, *this, caret)) {
            marks.append({match->first.start, match->first.end, m_markFormat});
            marks.append({match->second.start, match->second.end, m_markFormat});
        }
    }
    m_view->setExtraFormats(marks);
}

int SyntaxColouring::textSize() const
{
    return m_view->length();
}

int SyntaxColouring::lineCount() const
{
    return m_view->content().lineCount();
}

int SyntaxColouring::lineStart(int line) const
{
    return m_view->content().lineStart(line);
}

int SyntaxColouring::lineOf(int position) const
{
    return m_view->content().lineOf(position);
}

QStringView SyntaxColouring::characters(int from, int to, QString &scratch) const
{
    const std::array<QStringView, 2> pieces = m_view->textPieces();
    const int front = static_cast<int>(pieces[0].size());
    if (to <= front)
        return pieces[0].sliced(from, to - from);
    if (from >= front)
        return pieces[1].sliced(from - front, to - from);
    scratch = pieces[0].sliced(from).toString();
    scratch += pieces[1].first(to - front);
    return scratch;
}

} // namespace forms
