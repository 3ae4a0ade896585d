#pragma once

#include <QString>

namespace textengine {

// Which line breaks a text gets as CR LF. A CR LF pair always stays as it is.
struct CrLfRewrite
{
    bool loneCarriageReturns = false; // a CR not followed by LF
    bool loneLineFeeds = false;       // a LF not preceded by CR
    // A last line without a line break gets CR LF. A lone CR or LF that is
    // not rewritten is a character of its line, not its end.
    bool endLastLine = false;
};

// The text with the chosen line breaks rewritten as CR LF. When nothing is
// rewritten the text itself comes back without a copy (a CR LF for the last
// line goes into the room the text has left).
QString toCrLf(QString text, CrLfRewrite rewrite);

} // namespace textengine
