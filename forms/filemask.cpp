#include "forms/filemask.h"

namespace forms {

namespace {

// Wildcard match in linear passes: on a mismatch only the last "*" takes one
// more character, so no pattern can make matching explode.
bool wildcardMatch(const FileMask::CodePoints &mask, const FileMask::CodePoints &name)
{
    qsizetype m = 0;
    qsizetype n = 0;
    qsizetype starMask = -1;
    qsizetype starName = 0;
    while (n < name.size()) {
        if (m < mask.size() && (mask[m] == U'?' || (mask[m] != U'*' && mask[m] == name[n]))) {
            ++m;
            ++n;
        } else if (m < mask.size() && mask[m] == U'*') {
            starMask = m++;
            starName = n;
        } else if (starMask >= 0) {
            m = starMask + 1;
            n = ++starName;
        } else {
            return false;
        }
    }
    while (m < mask.size() && mask[m] == U'*')
        ++m;
    return m == mask.size();
}

} // namespace

FileMask::FileMask(const QString &pattern)
{
    QStringList masks;
    const QStringList parts = pattern.split(u';', Qt::SkipEmptyParts);
    for (const QString &part : parts) {
        const QString mask = part.trimmed().toCaseFolded();
        if (mask.isEmpty())
            continue;
        masks.append(mask);
        if (mask.endsWith(QLatin1String(".*")))
            masks.append(mask.chopped(2));
    }
    masks.removeDuplicates();
    for (const QString &mask : std::as_const(masks)) {
        if (!mask.isEmpty())
            m_masks.append(mask.toUcs4());
    }
}

bool FileMask::matches(const QString &name) const
{
    if (m_masks.isEmpty())
        return false;
    const CodePoints folded = name.toCaseFolded().toUcs4();
    for (const CodePoints &mask : m_masks) {
        if (wildcardMatch(mask, folded))
            return true;
    }
    return false;
}

} // namespace forms
