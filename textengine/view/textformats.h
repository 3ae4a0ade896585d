#pragma once

#include <QList>
#include <QTextCharFormat>
#include <QTextLayout>

namespace textengine {

// The character formats (colours) of the text a view shows, given by a
// layer above the view (syntax colouring). The view asks for a piece of a
// line when it lays the piece out, and tells the source of every change of
// the text before it lays anything out again.
class TextFormatSource
{
public:
    // The formats of the characters [from, to), a piece of one line,
    // relative to `from`.
    virtual QList<QTextLayout::FormatRange> formats(int from, int to) = 0;
    // `removed` characters at `position` became `inserted` ones; they lay in
    // the lines [firstLine, lastLine] before.
    virtual void textReplaced(int position, int removed, int inserted, int firstLine, int lastLine) = 0;
    // The whole text was replaced, or its line breaks rewritten.
    virtual void textReset() = 0;

protected:
    ~TextFormatSource() = default;
};

// A format drawn over the characters [start, end) of the document (a
// matched bracket's background), whatever their own formats.
struct ExtraFormat
{
    int start = 0;
    int end = 0;
    QTextCharFormat format;
};

} // namespace textengine
