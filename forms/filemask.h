#pragma once

#include <QList>
#include <QString>

namespace forms {

// A file list's pattern: masks separated by ";", each with "*" (any run of
// characters) and "?" (one character); every other character stands for
// itself. Matching ignores case. As on the desktop the masks come from, a
// mask ending in ".*" also matches the name without an extension, so "*.*"
// matches every name. Blanks around a mask and empty masks are dropped.
class FileMask
{
public:
    // The code points of a name (the element type differs between Qt versions).
    using CodePoints = decltype(QString().toUcs4());

    explicit FileMask(const QString &pattern);

    bool matches(const QString &name) const;
    bool isEmpty() const { return m_masks.isEmpty(); }

private:
    QList<CodePoints> m_masks;
};

} // namespace forms
