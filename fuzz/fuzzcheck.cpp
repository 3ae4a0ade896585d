#include "fuzzcheck.h"

#include <cstdio>
#include <cstdlib>

namespace fuzz {

namespace {

// Reports stay readable for long inputs; the saved crash input has it all.
constexpr qsizetype shownLength = 300;

} // namespace

void fail(const char *what, const QString &detail)
{
    std::fprintf(stderr, "\n*** invariant broken: %s\n", what);
    if (!detail.isEmpty())
        std::fprintf(stderr, "%s\n", detail.toLocal8Bit().constData());
    std::fflush(stderr);
    std::abort();
}

QString shown(const QString &text)
{
    QString out = QStringLiteral("\"");
    for (const QChar c : QStringView(text).first(qMin(text.size(), shownLength))) {
        const char16_t u = c.unicode();
        if (u == u'\\')
            out += QStringLiteral("\\\\");
        else if (u >= 0x20 && u < 0x7F)
            out += c;
        else if (u < 0x100)
            out += QStringLiteral("\\x%1").arg(unsigned(u), 2, 16, QLatin1Char('0'));
        else
            out += QStringLiteral("\\u%1").arg(unsigned(u), 4, 16, QLatin1Char('0'));
    }
    out += u'"';
    if (text.size() > shownLength)
        out += QStringLiteral(" (%1 characters in all)").arg(text.size());
    return out;
}

QString shown(const QByteArray &bytes)
{
    QString out = QStringLiteral("b\"");
    for (const char byte : QByteArrayView(bytes).first(qMin(bytes.size(), shownLength))) {
        const unsigned char u = static_cast<unsigned char>(byte);
        if (u == '\\')
            out += QStringLiteral("\\\\");
        else if (u >= 0x20 && u < 0x7F)
            out += QChar(u);
        else
            out += QStringLiteral("\\x%1").arg(unsigned(u), 2, 16, QLatin1Char('0'));
    }
    out += u'"';
    if (bytes.size() > shownLength)
        out += QStringLiteral(" (%1 bytes in all)").arg(bytes.size());
    return out;
}

} // namespace fuzz
