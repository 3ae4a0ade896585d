#include "forms/folderentries.h"

#include "forms/filemask.h"

#include <QDirIterator>
#include <algorithm>
#include <numeric>

namespace forms {

namespace {

QStringList entryNames(const QString &folder, QDir::Filters filters, bool showHidden, const FileMask *mask)
{
    if (showHidden)
        filters |= QDir::Hidden;
    QStringList names;
    QDirIterator it(folder, filters);
    while (it.hasNext()) {
        it.next();
        const QString name = it.fileName();
        if (!mask || mask->matches(name))
            names.append(name);
    }
    sortNamesIgnoringCase(names);
    return names;
}

} // namespace

QStringList subfolderNames(const QString &folder, bool showHidden)
{
    return entryNames(folder, QDir::Dirs | QDir::NoDotAndDotDot, showHidden, nullptr);
}

QStringList fileNames(const QString &folder, const FileMask &mask, bool showHidden)
{
    if (mask.isEmpty())
        return {};
    // Files only: no folders, and no devices, pipes or sockets, which a
    // click would try to open as a document.
    return entryNames(folder, QDir::Files, showHidden, &mask);
}

void sortNamesIgnoringCase(QStringList &names)
{
    // Folding each name once keeps the sort fast for very large folders.
    QStringList keys;
    keys.reserve(names.size());
    for (const QString &name : std::as_const(names))
        keys.append(name.toCaseFolded());
    QList<qsizetype> order(names.size());
    std::iota(order.begin(), order.end(), 0);
    std::sort(order.begin(), order.end(), [&](qsizetype a, qsizetype b) {
        const int byKey = keys[a].compare(keys[b]);
        return byKey != 0 ? byKey < 0 : names[a] < names[b];
    });
    QStringList sorted;
    sorted.reserve(names.size());
    for (qsizetype i : std::as_const(order))
        sorted.append(names[i]);
    names = std::move(sorted);
}

} // namespace forms
