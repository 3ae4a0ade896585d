#include "textengine/model/searchpattern.h"

#include <functional>
#include <optional>
#include <vector>

namespace textengine {

namespace {

// A line break in the pane's text: CR LF as one, or a lone CR or LF.
const QLatin1String lineBreak("(?>\\r\\n|\\n|\\r)");
const QLatin1String wordCharacter("[\\p{L}\\p{N}\\p{M}_]");

const CharacterEntity *entityOf(char16_t c, std::span<const CharacterEntity> entities)
{
    for (const CharacterEntity &entity : entities) {
        if (entity.character == c)
            return &entity;
    }
    return nullptr;
}

// The hexadecimal digits of a number with their letters in either case.
QString hexDigits(uint value)
{
    QString out;
    for (const QChar digit : QString::number(value, 16)) {
        if (digit.isLetter())
            out += QLatin1Char('[') + digit + digit.toUpper() + QLatin1Char(']');
        else
            out += digit;
    }
    return out;
}

// The references of a character of the table: named, decimal and
// hexadecimal, each an alternative of its own. `fixedLength` leaves out the
// leading zeros numbers may have, for look-behinds, which need a fixed
// length.
QStringList referencesOf(const CharacterEntity &entity, bool fixedLength)
{
    const uint code = entity.character;
    const QLatin1String zeros(fixedLength ? "" : "0*");
    return {QRegularExpression::escape(entity.reference), QStringLiteral("&#%1%2;").arg(zeros).arg(code),
            QStringLiteral("&#[xX]%1%2;").arg(zeros, hexDigits(code))};
}

// The characters that match `c` without regard to case, `c` first.
QList<char16_t> caseForms(char16_t c, bool caseSensitive)
{
    QList<char16_t> forms{c};
    if (caseSensitive)
        return forms;
    for (const QChar other : {QChar(c).toUpper(), QChar(c).toLower()}) {
        if (!forms.contains(other.unicode()))
            forms << other.unicode();
    }
    return forms;
}

// What a character of the table matches: itself (and its capital or small
// letter) and all their references.
QString entityAlternatives(char16_t c, const SearchOptions &options)
{
    QStringList alternatives{QRegularExpression::escape(QString(QChar(c)))};
    for (const char16_t form : caseForms(c, options.caseSensitive)) {
        if (const CharacterEntity *entity = entityOf(form, options.entities))
            alternatives += referencesOf(*entity, false);
    }
    return QLatin1String("(?:") + alternatives.join(QLatin1Char('|')) + QLatin1Char(')');
}

struct Reference
{
    char16_t character;
    qsizetype length;
};

// A reference to a character of the table at text[at]: "&auml;", "&#228;"
// or "&#xE4;".
std::optional<Reference> referenceAt(QStringView text, qsizetype at, const SearchOptions &options)
{
    if (text.at(at) != u'&')
        return std::nullopt;
    const qsizetype end = text.indexOf(u';', at);
    if (end < 0 || end - at > 12)
        return std::nullopt;
    const QStringView reference = text.sliced(at, end - at + 1);
    const Qt::CaseSensitivity cs = options.caseSensitive ? Qt::CaseSensitive : Qt::CaseInsensitive;
    for (const CharacterEntity &entity : options.entities) {
        if (reference.compare(entity.reference, cs) == 0)
            return Reference{entity.character, reference.size()};
    }
    if (reference.size() < 4 || reference.at(1) != u'#')
        return std::nullopt;
    const bool hex = reference.at(2) == u'x' || reference.at(2) == u'X';
    bool ok = false;
    const uint code = reference.sliced(hex ? 3 : 2).chopped(1).toUInt(&ok, hex ? 16 : 10);
    if (ok && code <= 0xFFFF && entityOf(char16_t(code), options.entities))
        return Reference{char16_t(code), reference.size()};
    return std::nullopt;
}

bool isEss(QChar c)
{
    return c == u's' || c == u'S' || c == u'ß' || c == u'ẞ';
}

// A run of s, S, ß and ẞ without regard to case, the German way: ß (or ẞ)
// is "ss" in capitals, so each ß of the run may be written "ss" and each
// "ss" ß. The run counts ß twice; `sharp` matches one ß.
QString essRun(QStringView run, const QString &sharp)
{
    int length = 0;
    for (const QChar c : run)
        length += (c == u's' || c == u'S') ? 1 : 2;
    // Spelled out, the ways to write a run grow like the Fibonacci numbers;
    // a longer run than any word holds keeps its letters as they are.
    if (length > 8) {
        QString out;
        for (const QChar c : run)
            out += (c == u's' || c == u'S') ? QStringLiteral("s") : sharp;
        return out;
    }
    std::function<QString(int)> ways = [&](int n) -> QString {
        if (n == 0)
            return QString();
        if (n == 1)
            return QStringLiteral("s");
        return QLatin1String("(?:s") + ways(n - 1) + QLatin1Char('|') + sharp + ways(n - 2) + QLatin1Char(')');
    };
    return ways(length);
}

QString literalExpression(QStringView text, const SearchOptions &options)
{
    // References in the text become their characters first, so that
    // "M&uuml;ller" is searched as "Müller".
    QString characters;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const std::optional<Reference> reference
            = options.entities.empty() ? std::nullopt : referenceAt(text, i, options);
        if (reference) {
            characters += QChar(reference->character);
            i += reference->length - 1;
        } else {
            characters += text.at(i);
        }
    }
    QString sharp = QStringLiteral("[ßẞ]");
    if (const CharacterEntity *entity = entityOf(u'ß', options.entities))
        sharp = QStringLiteral("(?:[ßẞ]|") + referencesOf(*entity, false).join(QLatin1Char('|')) + QLatin1Char(')');

    QString out;
    qsizetype plain = 0; // start of the characters not yet written
    auto flush = [&](qsizetype upTo) {
        out += QRegularExpression::escape(QStringView(characters).sliced(plain, upTo - plain));
    };
    for (qsizetype i = 0; i < characters.size();) {
        const QChar c = characters.at(i);
        if (!options.caseSensitive && isEss(c)) {
            qsizetype end = i;
            while (end < characters.size() && isEss(characters.at(end)))
                ++end;
            flush(i);
            out += essRun(QStringView(characters).sliced(i, end - i), sharp);
            plain = i = end;
            continue;
        }
        bool entity = false;
        for (const char16_t form : caseForms(c.unicode(), options.caseSensitive))
            entity = entity || entityOf(form, options.entities);
        if (entity) {
            flush(i);
            out += entityAlternatives(c.unicode(), options);
            plain = i + 1;
        }
        ++i;
    }
    flush(characters.size());
    return out;
}

// The user's expression with "\n" made a line break of the pane's text and,
// with entities, the table's characters and references (outside [...])
// made to match each other.
QString rewrittenExpression(QStringView text, const SearchOptions &options, bool *spansLines)
{
    QString out;
    bool inClass = false;
    qsizetype classStart = 0;
    // The groups open, each with whether it is a look-behind: one must keep
    // a fixed length, which the entities' alternatives have not, so inside
    // one the characters stay as typed.
    std::vector<bool> groups;
    qsizetype lookBehinds = 0;
    for (qsizetype i = 0; i < text.size();) {
        const QChar c = text.at(i);
        if (!inClass && c == u'(' && text.sliced(i).startsWith(u"(?#")) {
            const qsizetype end = text.indexOf(u')', i);
            const qsizetype stop = end < 0 ? text.size() : end + 1;
            out += text.sliced(i, stop - i);
            i = stop;
            continue;
        }
        if (!inClass && c == u'(') {
            const QStringView rest = text.sliced(i);
            groups.push_back(rest.startsWith(u"(?<=") || rest.startsWith(u"(?<!"));
            lookBehinds += groups.back();
        } else if (!inClass && c == u')' && !groups.empty()) {
            lookBehinds -= groups.back();
            groups.pop_back();
        }
        if (c == u'\\' && i + 1 < text.size()) {
            const QChar next = text.at(i + 1);
            if (next == u'Q') {
                const qsizetype end = text.indexOf(QLatin1String("\\E"), i + 2);
                const qsizetype stop = end < 0 ? text.size() : end + 2;
                out += text.sliced(i, stop - i);
                i = stop;
                continue;
            }
            if (next == u'n') {
                out += inClass ? QLatin1String("\\n\\r") : lineBreak;
                *spansLines = true;
                i += 2;
                continue;
            }
            if (next == u'r' || next == u'R')
                *spansLines = true;
            out += c;
            out += next;
            i += 2;
            continue;
        }
        if (inClass) {
            if (c == u'[' && i + 1 < text.size() && text.at(i + 1) == u':') {
                const qsizetype end = text.indexOf(QLatin1String(":]"), i + 2);
                const qsizetype stop = end < 0 ? i + 1 : end + 2;
                out += text.sliced(i, stop - i);
                i = stop;
                continue;
            }
            // A "]" first in the class is one of its characters.
            if (c == u']' && i > classStart)
                inClass = false;
            out += c;
            ++i;
            continue;
        }
        if (c == u'[') {
            inClass = true;
            out += c;
            ++i;
            if (i < text.size() && text.at(i) == u'^')
                out += text.at(i++);
            classStart = i;
            continue;
        }
        if (!options.entities.empty() && lookBehinds == 0) {
            if (const std::optional<Reference> reference = referenceAt(text, i, options)) {
                out += entityAlternatives(reference->character, options);
                i += reference->length;
                continue;
            }
            if (entityOf(c.unicode(), options.entities)) {
                out += entityAlternatives(c.unicode(), options);
                ++i;
                continue;
            }
        }
        out += c;
        ++i;
    }
    return out;
}

// Word characters as look-arounds see them: with entities, a reference to
// a letter of the table is one.
QString wordAhead(const SearchOptions &options, bool fixedLength)
{
    QStringList alternatives{wordCharacter};
    for (const CharacterEntity &entity : options.entities) {
        if (QChar(entity.character).isLetter())
            alternatives += referencesOf(entity, fixedLength);
    }
    return alternatives.join(QLatin1Char('|'));
}

} // namespace

SearchPattern::SearchPattern(const QString &text, const SearchOptions &options)
{
    if (text.isEmpty())
        return;
    QRegularExpression::PatternOptions patternOptions = QRegularExpression::MultilineOption;
    if (!options.caseSensitive)
        patternOptions |= QRegularExpression::CaseInsensitiveOption;
    QString body;
    if (options.regularExpression) {
        // \b and \w know umlauts only with Unicode's properties.
        patternOptions |= QRegularExpression::UseUnicodePropertiesOption;
        // Errors are told where the user typed them, before any rewriting.
        const QRegularExpression typed(text, patternOptions);
        if (!typed.isValid()) {
            m_error = typed.errorString();
            m_errorOffset = int(typed.patternErrorOffset());
            return;
        }
        body = rewrittenExpression(text, options, &m_spansLines);
    } else {
        body = literalExpression(text, options);
    }
    QString full = QStringLiteral("(*ANYCRLF)");
    if (options.regularExpression) {
        // Settings for the whole pattern hold only at its very start.
        static const QRegularExpression setting(QStringLiteral(
            R"(^\(\*(?:UTF|UCP|NO_[A-Z_]+|CR|LF|CRLF|ANYCRLF|ANY|NUL|BSR_[A-Z]+|LIMIT_[A-Z]+=\d+|NOTEMPTY(?:_ATSTART)?)\))"));
        for (QRegularExpressionMatch match = setting.match(body); match.hasMatch(); match = setting.match(body)) {
            full += match.captured();
            body.remove(0, match.capturedLength());
        }
    }
    if (options.wholeWords) {
        // A match that starts (ends) with a word character must not have
        // one before (after) it.
        const QString ahead = wordAhead(options, false);
        const QString behind = wordAhead(options, true);
        full += QStringLiteral("(?(?=%1)(?<!%2))(?:%3)(?(?<=%2)(?!%1))").arg(ahead, behind, body);
    } else {
        full += QLatin1String("(?:") + body + QLatin1Char(')');
    }
    m_expression = QRegularExpression(full, patternOptions);
    if (!m_expression.isValid()) {
        m_error = m_expression.errorString();
        m_expression = QRegularExpression();
        return;
    }
    m_expression.optimize();
    m_empty = false;
}

ReplacementText::ReplacementText(const QString &typed, bool expandGroups)
{
    auto literal = [this](QStringView text) {
        if (m_pieces.isEmpty() || m_pieces.last().group >= 0)
            m_pieces.append({int(m_literal.size()), 0, -1});
        m_literal += text;
        m_pieces.last().length += int(text.size());
    };
    for (qsizetype i = 0; i < typed.size(); ++i) {
        const QChar c = typed.at(i);
        const QChar next = i + 1 < typed.size() ? typed.at(i + 1) : QChar();
        if (!expandGroups || (c != u'\\' && c != u'$') || next.isNull()) {
            literal(QStringView(&c, 1));
            continue;
        }
        ++i;
        if (next >= u'0' && next <= u'9') {
            m_pieces.append({0, 0, next.unicode() - u'0'});
            m_fixed = false;
        } else if (c == u'\\' && next == u'n') {
            literal(u"\r\n");
        } else if (c == u'\\' && next == u't') {
            literal(u"\t");
        } else if (next == c) {
            literal(QStringView(&c, 1));
        } else {
            literal(QStringView(&c, 1));
            literal(QStringView(&next, 1));
        }
    }
}

void ReplacementText::build(QString &out, const QRegularExpressionMatch &match) const
{
    out.resize(0);
    for (const Piece &piece : m_pieces) {
        if (piece.group < 0)
            out += QStringView(m_literal).sliced(piece.from, piece.length);
        else if (piece.group <= match.lastCapturedIndex())
            out += match.capturedView(piece.group);
    }
}

} // namespace textengine
