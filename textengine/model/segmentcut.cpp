#include "textengine/model/segmentcut.h"

#include "textengine/model/caretstops.h"
#include "textengine/model/textcontent.h"

#include <algorithm>

namespace textengine {

namespace {

// Letters are looked for this far back from a blank.
constexpr int directionReach = 32;

enum class Strong { None, LeftToRight, RightToLeft };

Strong strongOf(const TextContent &text, int position)
{
    switch (text.directionAt(position)) {
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

Strong strongBefore(const TextContent &text, int position, int limit)
{
    for (int i = position - 1; i >= limit; --i) {
        const Strong strong = strongOf(text, i);
        if (strong != Strong::None)
            return strong;
    }
    return Strong::None;
}

} // namespace

int segmentCut(const TextContent &text, int from, int to)
{
    CaretStops stops(text, text.lineOf(from));
    const int end = std::min(to, stops.last() - 1);
    int anyBlank = -1;
    for (int p = std::max(from, stops.first() + 1); p <= end; ++p) {
        if (!isBlank(text.at(p - 1)) || isBlank(text.at(p)) || !stops.isStop(p))
            continue;
        if (anyBlank < 0)
            anyBlank = p;
        const Strong strong = strongOf(text, p);
        if (strong != Strong::None
            && strong == strongBefore(text, p - 1, std::max(stops.first(), p - 1 - directionReach)))
            return p;
    }
    if (anyBlank >= 0)
        return anyBlank;
    return stops.atOrAfter(std::min(to, stops.last()));
}

} // namespace textengine
