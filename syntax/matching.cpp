#include "syntax/matching.h"

#include "syntax/htmltokenizer.h"
#include "syntax/linestates.h"

#include <QString>
#include <QStringList>
#include <vector>

namespace syntax {

namespace {

// Text is read in pieces of at most this many characters.
constexpr int pieceLength = 4096;

struct Tag
{
    int nameStart = 0;
    int nameEnd = 0;
    bool endTag = false;
    bool selfClosing = false;
};

// The tags the tokenizer reads, each counted from its name on.
class TagList : public HtmlSink
{
public:
    std::vector<Tag> tags;

    void piece(HtmlPiece piece, int start, int end, bool) override
    {
        switch (piece) {
        case HtmlPiece::StartTagOpen:
        case HtmlPiece::EndTagOpen:
            m_endTag = piece == HtmlPiece::EndTagOpen;
            break;
        case HtmlPiece::TagName:
            tags.push_back({start, end, m_endTag, false});
            break;
        case HtmlPiece::SelfClosingTagClose:
            if (!tags.empty())
                tags.back().selfClosing = true;
            break;
        default:
            break;
        }
    }
    void characterReference(int, int, char32_t, char32_t, bool) override {}

private:
    bool m_endTag = false;
};

int lineEnd(const TextSource &text, int line)
{
    return line + 1 < text.lineCount() ? text.lineStart(line + 1) : text.textSize();
}

// Reads the tags of [from, to) from the nearest known state before `from`.
bool readTags(LineStates &states, const TextSource &text, int from, int to, TagList &tags)
{
    const auto start = states.stateAt(from);
    if (!start)
        return false;
    auto [position, state] = *start;
    QString scratch;
    while (position < to) {
        const int end = std::min(lineEnd(text, text.lineOf(position)), std::max(to, position + pieceLength));
        const QStringView characters = text.characters(position, end, scratch);
        tokenizeHtml({characters, position, end == text.textSize()}, INT_MAX, state, &tags);
        position = end;
    }
    return true;
}

QString lowerName(const TextSource &text, const Tag &tag)
{
    QString scratch;
    QString name = text.characters(tag.nameStart, tag.nameEnd, scratch).toString();
    for (QChar &c : name) {
        if (c >= u'A' && c <= u'Z')
            c = QChar(c.unicode() + 32);
    }
    return name;
}

bool isVoid(const QString &name)
{
    static const QStringList voids
        = {QStringLiteral("area"),  QStringLiteral("base"), QStringLiteral("br"),     QStringLiteral("col"),
           QStringLiteral("embed"), QStringLiteral("hr"),   QStringLiteral("img"),    QStringLiteral("input"),
           QStringLiteral("link"),  QStringLiteral("meta"), QStringLiteral("source"), QStringLiteral("track"),
           QStringLiteral("wbr")};
    return voids.contains(name);
}

enum class InTag { No, WithoutPartner, WithPartner };

InTag matchTag(LineStates &states, const TextSource &text, int caret, int bound, MatchPair &match)
{
    TagList around;
    if (!readTags(states, text, caret, std::min(text.textSize(), caret + 1), around))
        return InTag::No;
    const auto at = std::find_if(around.tags.begin(), around.tags.end(), [caret](const Tag &tag) {
        return tag.nameStart <= caret && caret <= tag.nameEnd && tag.nameEnd > tag.nameStart;
    });
    if (at == around.tags.end())
        return InTag::No;
    const Tag tag = *at;
    const QString name = lowerName(text, tag);
    if (!tag.endTag && (tag.selfClosing || isVoid(name)))
        return InTag::WithoutPartner;
    TagList tags;
    const int from = tag.endTag ? std::max(0, caret - bound) : tag.nameStart;
    const int to = tag.endTag ? tag.nameEnd : std::min(text.textSize(), caret + bound);
    if (!readTags(states, text, from, to, tags))
        return InTag::WithoutPartner;
    // Same-named tags nest; the others do not count.
    int depth = 0;
    const auto same = [&](const Tag &other) {
        return other.nameEnd - other.nameStart == name.size() && lowerName(text, other) == name;
    };
    auto visit = [&](const Tag &other) {
        if (!same(other) || (!other.endTag && other.selfClosing))
            return false;
        depth += other.endTag == tag.endTag ? 1 : -1;
        return depth == 0;
    };
    if (tag.endTag) {
        for (auto it = tags.tags.rbegin(); it != tags.tags.rend(); ++it) {
            if (it->nameStart > tag.nameStart)
                continue;
            if (visit(*it)) {
                match = {{tag.nameStart, tag.nameEnd}, {it->nameStart, it->nameEnd}};
                return InTag::WithPartner;
            }
        }
    } else {
        for (const Tag &other : tags.tags) {
            if (other.nameStart >= tag.nameStart && visit(other)) {
                match = {{tag.nameStart, tag.nameEnd}, {other.nameStart, other.nameEnd}};
                return InTag::WithPartner;
            }
        }
    }
    return InTag::WithoutPartner;
}

// Visits the characters from `from` toward `limit` (exclusive when going
// forward; going backward, the first visited is the one before `from`)
// with their roles, until `visit` says stop; false when a state on the way
// is not known.
template<typename Visit>
bool scan(LineStates &states, const TextSource &text, int from, int limit, bool forward, const QDeadlineTimer &deadline,
          Visit visit)
{
    QString scratch;
    std::vector<RoleSpan> spans;
    int position = from;
    while (forward ? position < limit : position > limit) {
        const int line = text.lineOf(forward ? position : position - 1);
        const int begin = forward ? position : std::max({text.lineStart(line), position - pieceLength, limit});
        const int end = forward ? std::min({lineEnd(text, line), position + pieceLength, limit}) : position;
        spans.clear();
        if (!states.spans(begin, end, spans, deadline))
            return false;
        const QStringView characters = text.characters(begin, end, scratch);
        auto roleAt = [&spans](int at) {
            for (const RoleSpan &span : spans) {
                if (span.start <= at && at < span.end)
                    return span.role;
            }
            return Role::Plain;
        };
        for (int i = forward ? 0 : end - begin - 1; i >= 0 && i < end - begin; i += forward ? 1 : -1) {
            if (visit(begin + i, characters[i], roleAt(begin + i)))
                return true;
        }
        position = forward ? end : begin;
    }
    return true;
}

// Brackets match among code, or inside one kind of literal text.
Role bracketClass(Role role)
{
    switch (role) {
    case Role::Comment:
    case Role::String:
    case Role::AttributeValue:
    case Role::Error:
    case Role::Doctype:
        return role;
    default:
        return Role::Plain;
    }
}

std::optional<MatchPair> matchBracket(LineStates &states, const TextSource &text, int caret, int bound,
                                      const QDeadlineTimer &deadline)
{
    static const QString brackets = QStringLiteral("()[]{}");
    QString scratch;
    int at = -1;
    for (const int candidate : {caret, caret - 1}) {
        if (candidate >= 0 && candidate < text.textSize()
            && brackets.contains(text.characters(candidate, candidate + 1, scratch)[0]))
            at = candidate;
        if (at >= 0)
            break;
    }
    if (at < 0)
        return std::nullopt;
    const QChar bracket = text.characters(at, at + 1, scratch)[0];
    const qsizetype index = brackets.indexOf(bracket);
    const bool opening = index % 2 == 0;
    const QChar partner = brackets[opening ? index + 1 : index - 1];
    Role role = Role::Plain;
    if (!scan(states, text, at, at + 1, true, deadline, [&role](int, QChar, Role r) {
            role = bracketClass(r);
            return true;
        }))
        return std::nullopt;
    int depth = 0;
    std::optional<MatchPair> match;
    const int limit = opening ? std::min(text.textSize(), at + 1 + bound) : std::max(0, at - bound);
    scan(states, text, opening ? at + 1 : at, limit, opening, deadline, [&](int position, QChar c, Role r) {
        if (bracketClass(r) != role || (c != bracket && c != partner))
            return false;
        if (c == bracket) {
            ++depth;
            return false;
        }
        if (depth-- > 0)
            return false;
        match = MatchPair{{at, at + 1}, {position, position + 1}};
        return true;
    });
    return match;
}

} // namespace

std::optional<MatchPair> findMatch(LineStates &states, const TextSource &text, int caret, int bound,
                                   QDeadlineTimer deadline)
{
    if (caret < 0 || caret > text.textSize())
        return std::nullopt;
    if (states.language() == Language::Html) {
        MatchPair match;
        switch (matchTag(states, text, caret, bound, match)) {
        case InTag::WithPartner:
            return match;
        case InTag::WithoutPartner:
            return std::nullopt;
        case InTag::No:
            break;
        }
    }
    return matchBracket(states, text, caret, bound, deadline);
}

} // namespace syntax
