#include "forms/filemask.h"

namespace forms {

namespace {

// Wildcard match in linear passes: on a mismatch only the last "*" takes one
// more character, so no pattern can make matching explode.
bool wildcardMatch(const FileMask::CodePoints &mask, const FileMask::CodePoints &name)
{
    qsizetype inMask = 0;
    qsizetype inName = 0;
    // The last "*" met, and where in the name its run of characters ends.
    qsizetype lastStar = -1;
    qsizetype lastStarEnd = 0;
    while (inName < name.size()) {
        if (inMask < mask.size() && (mask[inMask] == U'?' || (mask[inMask] != U'*' && mask[inMask] == name[inName]))) {
            ++inMask;
            ++inName;
        } else if (inMask < mask.size() && mask[inMask] == U'*') {
            lastStar = inMask++;
            lastStarEnd = inName;
        } else if (lastStar >= 0) {
            inMask = lastStar + 1;
            inName = ++lastStarEnd;
        } else {
            return false;
        }
    }
    while (inMask < mask.size() && mask[inMask] == U'*')
        ++inMask;
    return inMask == mask.size();
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
