#pragma once

#include "textengine/model/rowmap.h"
#include "textengine/view/textformats.h"

#include <QFont>
#include <QList>
#include <QTextLayout>
#include <list>
#include <memory>
#include <optional>
#include <unordered_map>

class QPainter;
class QPaintDevice;

namespace textengine {

class TextContent;

// What an input method is composing at the caret, drawn inline with its
// own underlines and highlights until it is committed.
struct Preedit
{
    int position = -1; // in the document; -1 while nothing is composed
    QString text;
    QList<QTextLayout::FormatRange> formats; // relative to `text`
    int cursor = 0;                          // within `text`
    bool cursorVisible = true;
    bool isActive() const { return position >= 0 && !text.isEmpty(); }
};

// How the segments are laid out: font and paint device (so that a high
// resolution screen is measured as it is drawn), width and row grid.
struct LayoutStyle
{
    QFont font;
    QPaintDevice *device = nullptr;
    qreal width = 100;
    int rowHeight = 16;
    qreal ascent = 12;
    qreal tabStop = 64;
};

// One segment of a line laid out by Qt (shaping, bidirectional order, font
// fallback, colour emoji); each of its lines is one visual row of the view.
// Offsets count from the segment's start, which moves with edits before it
// while its layout stays valid.
class SegmentLayout
{
public:
    // `preeditAt`: where the composition stands in the segment, or -1;
    // `formats`: the characters' own formats, relative to the segment.
    SegmentLayout(const QString &text, Qt::LayoutDirection direction, const LayoutStyle &style, const Preedit &preedit,
                  int preeditAt, const QList<QTextLayout::FormatRange> &formats = {});

    int rowCount() const { return m_layout.lineCount(); }
    int rowStart(int row) const { return fromLayout(m_layout.lineAt(row).textStart()); }
    std::vector<int> rowStarts() const;
    bool isRightToLeft() const { return m_layout.textOption().textDirection() == Qt::RightToLeft; }

    // Where a caret at `position` stands in the row, from its left edge.
    qreal caretX(int row, int position) const;
    // Where the caret of the composition stands, when it lies in this row.
    std::optional<qreal> preeditCaretX(int row) const;
    // The caret position in the row nearest to x, or with `onCharacter`
    // the character under x.
    int positionAt(int row, qreal x, bool onCharacter = false) const;
    // The row's left and right edges, and where its text ends.
    qreal rowLeft(int row) const { return m_layout.lineAt(row).x(); }
    qreal rowRight(int row) const;
    qreal lineEndX(int row) const;
    // One step left or right on screen; nothing when the step leaves the
    // segment.
    std::optional<int> visualStep(int position, bool right) const;

    // Draws the rows [first, last], the segment's top left corner at
    // `topLeft`, the characters [selectionStart, selectionEnd) highlighted
    // over the `marks` (ranges of the segment in formats of their own).
    void draw(QPainter &painter, QPointF topLeft, int first, int last, int selectionStart, int selectionEnd,
              const QPalette &palette, const QList<QTextLayout::FormatRange> &marks = {}) const;

    qsizetype weight() const { return m_length + 64; }

private:
    int toLayout(int position) const;
    int fromLayout(int position) const;

    QTextLayout m_layout;
    int m_length;
    int m_rowHeight;
    int m_preeditAt = -1; // in the layout; -1 without a composition
    int m_preeditLength = 0;
    int m_preeditCursor = 0;
    bool m_preeditCursorVisible = true;
};

// The layouts of the segments near the view, kept by key; it lays out
// segments for the row map and again when one was dropped. A layout it
// hands out stays valid until it hands out the next.
class SegmentLayouts : public RowWrapper
{
public:
    explicit SegmentLayouts(const TextContent &text);

    void setFont(const QFont &font, QPaintDevice *device);
    void setWidth(qreal width);
    qreal width() const { return m_style.width; }
    const QFont &font() const { return m_style.font; }
    int rowHeight() const { return m_style.rowHeight; }
    qreal spaceWidth() const { return m_spaceWidth; }

    void setPreedit(Preedit preedit) { m_preedit = std::move(preedit); }
    // Where the characters' formats come from; none without a source.
    void setFormatSource(TextFormatSource *source) { m_formats = source; }
    const Preedit &preedit() const { return m_preedit; }

    std::vector<int> wrap(int from, int to, Qt::LayoutDirection direction, quint64 key) override;
    int estimate(int length) const override;

    const SegmentLayout &layout(const Segment &segment);
    void clear();

private:
    using Entry = std::pair<quint64, std::unique_ptr<SegmentLayout>>;
    const SegmentLayout &keep(quint64 key, std::unique_ptr<SegmentLayout> layout);
    std::unique_ptr<SegmentLayout> build(int from, int to, Qt::LayoutDirection direction) const;

    const TextContent &m_text;
    LayoutStyle m_style;
    qreal m_averageWidth = 8;
    qreal m_spaceWidth = 8;
    Preedit m_preedit;
    TextFormatSource *m_formats = nullptr;
    // Most recently used first.
    std::list<Entry> m_recent;
    std::unordered_map<quint64, std::list<Entry>::iterator> m_byKey;
    qsizetype m_weight = 0;
};

} // namespace textengine
