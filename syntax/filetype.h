#pragma once

#include "syntax/syntaxstate.h"

#include <QString>

namespace syntax {

// The language a file is coloured in, by its name's extension in any case:
// .html, .htm, .xhtml, .shtml and .php as HTML, .css as CSS, every other
// file (and none) as plain text.
Language languageForFile(const QString &path);

} // namespace syntax
