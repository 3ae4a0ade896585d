#include "textengine/model/segmentcut.h"

#include "textengine/model/textcontent.h"

#include <QChar>

#include <algorithm>

namespace textengine {

namespace {

// Letters are looked for this far back from a blank.
constexpr int directionReach = 32;

enum class Strong { None, LeftToRight, RightToLeft };

Strong strongOf(QChar c)
{
    switch (c.direction()) {
    case QChar::DirL:
        return Strong::LeftToRight;
    case QChar::DirR:
    case QChar::DirAL:
        return Strong::RightToLeft;
    default:
        return Strong::None;
    }
}

bool isBlank(QChar c)
{
    return c == u' ' || c == u'\t';
}

bool startsCluster(QChar c)
{
    return !isBlank(c) && !c.isMark() && !c.isSurrogate() && c != QChar(0x200c) && c != QChar(0x200d);
}

Strong strongBefore(const TextContent &text, int position, int limit)
{
    for (int i = position - 1; i >= limit; --i) {
        const Strong strong = strongOf(text.at(i));
        if (strong != Strong::None)
            return strong;
    }
    return Strong::None;
}

} // namespace

int segmentCut(const TextContent &text, int from, int to)
{
    const int lineStart = text.lineStart(text.lineOf(from));
    int anyBlank = -1;
    for (int p = std::max(from, lineStart + 1); p <= to && p < text.size(); ++p) {
        const QChar c = text.at(p);
        if (!isBlank(text.at(p - 1)) || !startsCluster(c))
            continue;
        if (anyBlank < 0)
            anyBlank = p;
        const Strong strong = strongOf(c);
        if (strong != Strong::None && strong == strongBefore(text, p - 1, std::max(lineStart, p - 1 - directionReach)))
            return p;
    }
    if (anyBlank >= 0)
        return anyBlank;
    const int boundary = text.snap(to);
    return boundary == to ? to : text.nextPosition(boundary);
}

} // namespace textengine
