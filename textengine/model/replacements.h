#pragma once

#include <QString>
#include <QStringView>
#include <vector>

namespace textengine {

// Many replacements in one text, made and taken back as one step: ranges of
// the text before, in ascending order and not overlapping, each with the
// text that takes its place. They are kept compact, three numbers a range
// and the texts end to end, so that a million of them cost some megabytes
// and no allocation each (a string per range would cost more than the
// replacing itself).
class Replacements
{
public:
    // Adds the range [position, position + length) with its new text; it
    // starts at or after the end of the range added before. A range that
    // changes nothing (empty, nothing inserted) is left out.
    void add(int position, int length, QStringView inserted);

    bool isEmpty() const { return m_ranges.empty(); }
    qsizetype count() const { return qsizetype(m_ranges.size()); }
    // The range's start in the text before, and its length there.
    int position(qsizetype index) const { return m_ranges[size_t(index)].position; }
    int removedLength(qsizetype index) const { return m_ranges[size_t(index)].removed; }
    int insertedLength(qsizetype index) const { return m_ranges[size_t(index)].inserted; }
    // How much longer the text gets (negative: shorter).
    qsizetype growth() const { return m_growth; }
    // The memory the replacements take, for the edit history's limit.
    qsizetype bytes() const;

    // Where a position of the text before lies in the text after; one
    // inside a replaced range goes to the end of its new text, one at a
    // range's start stays before it.
    int mapForward(int position) const;
    // The other way: where a position of the text after lay before; one
    // inside a new text goes to the end of the range it replaced.
    int mapBackward(int position) const;

    // The texts end to end, in the order of the ranges. The removed ones are
    // known once the replacements were made (TextContent::replace).
    QStringView insertedTexts() const { return m_inserted; }
    QStringView removedTexts() const { return m_removed; }
    bool knowsRemoved() const { return m_knowsRemoved; }
    // Lone CR and LF in the new texts become CR LF, as everything the user
    // edits; the view calls it before the replacements are made.
    void insertCrLf();
    // Moves every range's ends (a rewrite of line breaks around them).
    template<typename Map>
    void moveRanges(Map map)
    {
        for (Range &range : m_ranges) {
            const int start = map(range.position);
            range.removed = map(range.position + range.removed) - start;
            range.position = start;
        }
        recountGrowth();
    }

private:
    friend class TextContent;
    void recountGrowth();

    struct Range
    {
        int position;
        int removed;
        int inserted;
    };

    std::vector<Range> m_ranges;
    QString m_inserted;
    QString m_removed;
    qsizetype m_growth = 0;
    bool m_knowsRemoved = false;
};

} // namespace textengine
