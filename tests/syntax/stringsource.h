#pragma once

#include "syntax/linestates.h"

#include <QString>
#include <algorithm>
#include <vector>

// A text for the syntax tests: a string and where its lines start.
class StringSource : public syntax::TextSource
{
public:
    explicit StringSource(const QString &content = QString()) { setText(content); }

    void setText(const QString &content)
    {
        text = content;
        starts = {0};
        for (qsizetype i = 0; i < text.size(); ++i) {
            if (text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n')
                ++i;
            if (text[i] == u'\n' || text[i] == u'\r')
                starts.push_back(static_cast<int>(i + 1));
        }
    }
    int textSize() const override { return static_cast<int>(text.size()); }
    int lineCount() const override { return static_cast<int>(starts.size()); }
    int lineStart(int line) const override { return starts[static_cast<size_t>(line)]; }
    int lineOf(int position) const override
    {
        return static_cast<int>(std::upper_bound(starts.begin(), starts.end(), position) - starts.begin()) - 1;
    }
    QStringView characters(int from, int to, QString &scratch) const override
    {
        scratch = text.mid(from, to - from);
        return scratch;
    }

    QString text;
    std::vector<int> starts;
};
