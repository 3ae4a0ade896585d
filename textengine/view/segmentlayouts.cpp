#include "textengine/view/segmentlayouts.h"

#include "textengine/model/textcontent.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPalette>
#include <cmath>

namespace textengine {

namespace {

// Layouts kept, counted in characters: the screen and what lies around it.
constexpr qsizetype keptWeight = 256 * 1024;

// Characters that a layout would turn into line breaks or draw as nothing
// are shown as a middle dot, one for one, so that every character of the
// file can be seen and stepped over.
bool isPlaceholder(char16_t c)
{
    return c < 0x20 ? c != u'\t' : (c >= 0x7f && c < 0xa0) || c == 0x2028 || c == 0x2029 || c == 0xfffe || c == 0xffff;
}

QString displayText(const TextContent &text, int from, int to)
{
    QString display = text.mid(from, to - from);
    QChar *chars = display.data();
    const qsizetype size = display.size();
    for (qsizetype i = 0; i < size; ++i) {
        const QChar c = chars[i];
        if (isPlaceholder(c.unicode())) {
            chars[i] = QChar(0x00b7);
        } else if (c.isHighSurrogate()) {
            if (i + 1 < size && chars[i + 1].isLowSurrogate())
                ++i;
            else
                chars[i] = QChar::ReplacementCharacter;
        } else if (c.isLowSurrogate()) {
            chars[i] = QChar::ReplacementCharacter;
        }
    }
    return display;
}

} // namespace

SegmentLayout::SegmentLayout(const QString &text, Qt::LayoutDirection direction, const LayoutStyle &style,
                             const Preedit &preedit, int preeditAt, const QList<QTextLayout::FormatRange> &formats)
    : m_layout(text, style.font, style.device)
    , m_length(static_cast<int>(text.size()))
    , m_rowHeight(style.rowHeight)
{
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    option.setTextDirection(direction);
    // A line starts at the edge its direction starts from.
    option.setAlignment(direction == Qt::RightToLeft ? Qt::AlignRight : Qt::AlignLeft);
    option.setTabStopDistance(style.tabStop);
    m_layout.setTextOption(option);
    m_layout.setCacheEnabled(true);

    QList<QTextLayout::FormatRange> all;
    if (preeditAt >= 0) {
        m_preeditAt = preeditAt;
        m_preeditLength = static_cast<int>(preedit.text.size());
        m_preeditCursor = preedit.cursor;
        m_preeditCursorVisible = preedit.cursorVisible;
        m_layout.setPreeditArea(m_preeditAt, preedit.text);
        // The characters' formats go round the composition, which comes in
        // with its own ones.
        for (const QTextLayout::FormatRange &format : formats) {
            const int end = format.start + format.length;
            if (format.start < m_preeditAt)
                all.append({format.start, std::min(end, m_preeditAt) - format.start, format.format});
            if (end > m_preeditAt) {
                const int start = std::max(format.start, m_preeditAt);
                all.append({start + m_preeditLength, end - start, format.format});
            }
        }
        for (QTextLayout::FormatRange format : preedit.formats) {
            format.start += m_preeditAt;
            all.append(format);
        }
    } else {
        all = formats;
    }
    if (!all.isEmpty())
        m_layout.setFormats(all);

    m_layout.beginLayout();
    for (int row = 0;; ++row) {
        QTextLine line = m_layout.createLine();
        if (!line.isValid())
            break;
        line.setLineWidth(style.width);
        // Every row has the same height and baseline, whatever fallback
        // fonts it needs.
        line.setPosition(QPointF(0, row * m_rowHeight + style.ascent - line.ascent()));
    }
    m_layout.endLayout();
}

int SegmentLayout::toLayout(int offset) const
{
    return m_preeditAt >= 0 && offset > m_preeditAt ? offset + m_preeditLength : offset;
}

int SegmentLayout::fromLayout(int position) const
{
    if (m_preeditAt >= 0 && position > m_preeditAt)
        return position < m_preeditAt + m_preeditLength ? m_preeditAt : position - m_preeditLength;
    return position;
}

std::vector<int> SegmentLayout::rowStarts() const
{
    std::vector<int> starts;
    starts.reserve(static_cast<size_t>(rowCount()));
    for (int row = 0; row < rowCount(); ++row)
        starts.push_back(rowStart(row));
    return starts;
}

qreal SegmentLayout::caretX(int row, int position) const
{
    return m_layout.lineAt(row).cursorToX(toLayout(position));
}

std::optional<qreal> SegmentLayout::preeditCaretX(int row) const
{
    if (m_preeditAt < 0 || !m_preeditCursorVisible)
        return std::nullopt;
    const int at = m_preeditAt + m_preeditCursor;
    const QTextLine line = m_layout.lineAt(row);
    if (at < line.textStart() || at > line.textStart() + line.textLength())
        return std::nullopt;
    return line.cursorToX(at);
}

int SegmentLayout::positionAt(int row, qreal x, bool onCharacter) const
{
    const QTextLine line = m_layout.lineAt(row);
    if (onCharacter)
        return fromLayout(line.xToCursor(x, QTextLine::CursorOnCharacter));
    int at = line.xToCursor(x, QTextLine::CursorBetweenCharacters);
    // Past the end of a wrapped row the caret stays on that row, before its
    // last character, rather than at the start of the next row.
    const int end = line.textStart() + line.textLength();
    if (row + 1 < rowCount() && at >= end && end > line.textStart())
        at = m_layout.previousCursorPosition(end);
    return fromLayout(at);
}

qreal SegmentLayout::rowRight(int row) const
{
    const QTextLine line = m_layout.lineAt(row);
    return line.x() + line.width();
}

qreal SegmentLayout::lineEndX(int row) const
{
    const QTextLine line = m_layout.lineAt(row);
    return line.cursorToX(line.textStart() + line.textLength());
}

std::optional<int> SegmentLayout::visualStep(int position, bool right) const
{
    const int from = toLayout(position);
    const int to = right ? m_layout.rightCursorPosition(from) : m_layout.leftCursorPosition(from);
    if (to == from)
        return std::nullopt;
    return fromLayout(to);
}

void SegmentLayout::draw(QPainter &painter, QPointF topLeft, int first, int last, int selectionStart, int selectionEnd,
                         const QPalette &palette, const QList<QTextLayout::FormatRange> &marks) const
{
    QList<QTextLayout::FormatRange> selections;
    for (const QTextLayout::FormatRange &mark : marks) {
        const int from = std::max(mark.start, 0);
        const int to = std::min(mark.start + mark.length, m_length);
        if (from >= to)
            continue;
        QTextLayout::FormatRange range = mark;
        range.start = toLayout(from);
        range.length = toLayout(to) - range.start;
        // A mark of a background alone is a rectangle behind the text: as a
        // format of its own it would cost a pass over the whole segment.
        if (mark.format.properties().size() == 1 && mark.format.hasProperty(QTextFormat::BackgroundBrush)) {
            for (int row = first; row <= last; ++row) {
                const QTextLine line = m_layout.lineAt(row);
                const int rowFrom = std::max(range.start, line.textStart());
                const int rowTo = std::min(range.start + range.length, line.textStart() + line.textLength());
                if (rowFrom >= rowTo)
                    continue;
                const qreal x1 = line.cursorToX(rowFrom);
                const qreal x2 = line.cursorToX(rowTo);
                painter.fillRect(QRectF(topLeft.x() + std::min(x1, x2), topLeft.y() + row * m_rowHeight,
                                        std::abs(x2 - x1), m_rowHeight),
                                 mark.format.background());
            }
            continue;
        }
        selections << range;
    }
    const int start = std::max(selectionStart, 0);
    const int end = std::min(selectionEnd, m_length);
    if (start < end) {
        QTextLayout::FormatRange selection;
        selection.start = toLayout(start);
        selection.length = toLayout(end) - selection.start;
        selection.format.setBackground(palette.color(QPalette::Highlight));
        selection.format.setForeground(palette.color(QPalette::HighlightedText));
        selections << selection;
    }
    const QRectF rows(topLeft.x(), topLeft.y() + first * m_rowHeight, m_layout.lineAt(first).width(),
                      (last - first + 1) * m_rowHeight);
    painter.setPen(palette.color(QPalette::Text));
    m_layout.draw(&painter, topLeft, selections, rows);
}

SegmentLayouts::SegmentLayouts(const TextContent &text)
    : m_text(text)
{
}

void SegmentLayouts::setFont(const QFont &font, QPaintDevice *device)
{
    m_style.font = font;
    m_style.device = device;
    const QFontMetricsF metrics(font, device);
    m_style.rowHeight = std::max(1, static_cast<int>(std::ceil(metrics.lineSpacing())));
    m_style.ascent = metrics.ascent();
    m_spaceWidth = std::max<qreal>(1, metrics.horizontalAdvance(QLatin1Char(' ')));
    m_style.tabStop = 8 * m_spaceWidth;
    m_averageWidth = std::max<qreal>(1, metrics.horizontalAdvance(QLatin1Char('x')));
    clear();
}

void SegmentLayouts::setWidth(qreal width)
{
    m_style.width = std::max<qreal>(width, 1);
    clear();
}

std::unique_ptr<SegmentLayout> SegmentLayouts::build(int from, int to, Qt::LayoutDirection direction) const
{
    // The composition belongs to the segment that holds its position, or to
    // the line's last one when it stands at the line's end.
    int preeditAt = -1;
    const int at = m_preedit.position;
    if (m_preedit.isActive() && at >= from && (at < to || to == m_text.lineEnd(m_text.lineOf(from))))
        preeditAt = at - from;
    const QList<QTextLayout::FormatRange> formats
        = m_formats ? m_formats->formats(from, to) : QList<QTextLayout::FormatRange>();
    return std::make_unique<SegmentLayout>(displayText(m_text, from, to), direction, m_style, m_preedit, preeditAt,
                                           formats);
}

std::vector<int> SegmentLayouts::wrap(int from, int to, Qt::LayoutDirection direction, quint64 key)
{
    return keep(key, build(from, to, direction)).rowStarts();
}

int SegmentLayouts::estimate(int length) const
{
    return std::max(1, static_cast<int>(std::ceil(length * m_averageWidth / m_style.width)));
}

const SegmentLayout &SegmentLayouts::layout(const Segment &segment)
{
    const auto it = m_byKey.find(segment.key);
    if (it != m_byKey.end()) {
        m_recent.splice(m_recent.begin(), m_recent, it->second);
        return *it->second->second;
    }
    return keep(segment.key, build(segment.from, segment.to, segment.direction));
}

const SegmentLayout &SegmentLayouts::keep(quint64 key, std::unique_ptr<SegmentLayout> layout)
{
    m_weight += layout->weight();
    m_recent.emplace_front(key, std::move(layout));
    m_byKey[key] = m_recent.begin();
    // The newest layout stays, however heavy.
    while (m_weight > keptWeight && m_recent.size() > 1) {
        m_weight -= m_recent.back().second->weight();
        m_byKey.erase(m_recent.back().first);
        m_recent.pop_back();
    }
    return *m_recent.front().second;
}

void SegmentLayouts::clear()
{
    m_recent.clear();
    m_byKey.clear();
    m_weight = 0;
}

} // namespace textengine
