#pragma once

#include <QtGlobal>

namespace syntax {

// What a piece of text is, as its colour shows it.
enum class Role : quint8 {
    Plain,
    Tag, // "<", the element's name, ">" and "/>"
    AttributeName,
    AttributeValue, // with its quotes
    Entity,         // a character reference
    Error,          // a character reference that is unknown or unterminated
    Comment,
    Doctype, // DOCTYPE and CDATA markup
    Selector,
    Property,
    Value,
    Number, // with its unit
    String,
    Url,
    AtRule,
    Important, // "!important"
};
inline constexpr int roleCount = static_cast<int>(Role::Important) + 1;

// The characters [start, end) of the document have the role.
struct RoleSpan
{
    int start = 0;
    int end = 0;
    Role role = Role::Plain;
    bool operator==(const RoleSpan &) const = default;
};

} // namespace syntax
