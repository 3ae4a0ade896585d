#pragma once

#include "syntax/linestates.h"

#include <QString>
#include <vector>

namespace syntax {

// A text held in one string, with its line starts found as the text
// engine finds them (CR LF, CR and LF each end a line): for reading a file
// or a test's text without a view.
class StringText : public TextSource
{
public:
    explicit StringText(const QString &text = QString());

    const QString &text() const { return m_text; }
    void setText(const QString &text);

    int textSize() const override { return static_cast<int>(m_text.size()); }
    int lineCount() const override { return static_cast<int>(m_starts.size()); }
    int lineStart(int line) const override { return m_starts[static_cast<size_t>(line)]; }
    int lineOf(int position) const override;
    QStringView characters(int from, int to, QString &scratch) const override;

private:
    QString m_text;
    std::vector<int> m_starts;
};

} // namespace syntax
