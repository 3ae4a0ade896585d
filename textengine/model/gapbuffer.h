#pragma once

#include <QString>
#include <QStringView>

namespace textengine {

// Text held in one array with a movable hole at the last edit point, so that
// an edit costs the distance from the previous one rather than the length of
// the text. A freshly assigned text shares the caller's string until the
// first edit; as long as no hole exists, text() hands that string back
// without a copy.
class GapBuffer
{
public:
    void assign(const QString &text);
    qsizetype size() const { return m_data.size() - gapLength(); }
    QChar at(qsizetype i) const { return m_data.constData()[i < m_gapStart ? i : i + gapLength()]; }
    QString text() const;
    QString mid(qsizetype position, qsizetype length) const;
    bool equals(QStringView other) const;
    // The text before the hole and after it; together they are the text.
    QStringView front() const { return QStringView(m_data.constData(), m_gapStart); }
    QStringView back() const { return QStringView(m_data.constData() + m_gapEnd, m_data.size() - m_gapEnd); }
    // The range must lie in the text (TextContent clamps it).
    void replace(qsizetype position, qsizetype removed, QStringView inserted);
    // Makes the hole hold at least `length` characters, so that edits
    // growing the text that much move no text to a new array.
    void reserveGap(qsizetype length);
    // Appends the characters [position, position + length) to `out`.
    void appendTo(QString &out, qsizetype position, qsizetype length) const;

private:
    qsizetype gapLength() const { return m_gapEnd - m_gapStart; }
    void moveGap(qsizetype position);
    void growGap(qsizetype needed);

    QString m_data;
    qsizetype m_gapStart = 0;
    qsizetype m_gapEnd = 0;
};

} // namespace textengine
