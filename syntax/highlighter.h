#pragma once

#include "syntax/roles.h"
#include "syntax/syntaxstate.h"

#include <vector>

namespace syntax {

// Reads the chunk in the language from `state` on, as the tokenizers do
// (see tokenizeHtml and tokenizeCss for where it stops), and appends the
// coloured spans of what it read to `spans` (none for plain text), in order
// and merged where they touch. `spans` may be null when only the state
// counts. Returns the index into the chunk where it stopped.
int highlight(Language language, const Chunk &chunk, int stopAt, SyntaxState &state, std::vector<RoleSpan> *spans);

} // namespace syntax
