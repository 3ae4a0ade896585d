#include "syntax/stringtext.h"

#include <algorithm>

namespace syntax {

StringText::StringText(const QString &text)
{
    setText(text);
}

void StringText::setText(const QString &text)
{
    m_text = text;
    m_starts.assign(1, 0);
    for (qsizetype i = 0; i < m_text.size(); ++i) {
        const char16_t c = m_text[i].unicode();
        if (c != u'\r' && c != u'\n')
            continue;
        if (c == u'\r' && i + 1 < m_text.size() && m_text[i + 1] == u'\n')
            ++i;
        m_starts.push_back(static_cast<int>(i + 1));
    }
}

int StringText::lineOf(int position) const
{
    return static_cast<int>(std::upper_bound(m_starts.begin(), m_starts.end(), position) - m_starts.begin()) - 1;
}

QStringView StringText::characters(int from, int to, QString &) const
{
    return QStringView(m_text).sliced(from, to - from);
}

} // namespace syntax
