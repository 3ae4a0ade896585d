#include "syntax/filetype.h"

namespace syntax {

Language languageForFile(const QString &path)
{
    // Either separator ends the folders, whatever system the path is from.
    const qsizetype name = std::max(path.lastIndexOf(u'/'), path.lastIndexOf(u'\\')) + 1;
    const qsizetype dot = path.lastIndexOf(u'.');
    if (dot < name)
        return Language::Plain;
    const QStringView extension = QStringView(path).sliced(dot + 1);
    for (const char16_t *html : {u"html", u"htm", u"xhtml", u"shtml", u"php"}) {
        if (extension.compare(QStringView(html), Qt::CaseInsensitive) == 0)
            return Language::Html;
    }
    return extension.compare(u"css", Qt::CaseInsensitive) == 0 ? Language::Css : Language::Plain;
}

} // namespace syntax
