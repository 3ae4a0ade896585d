#pragma once

#include "syntax/syntaxstate.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <QString>

// What both tokenizer fuzzers check of a language.
namespace fuzz {

// A text from the fuzzer's bytes: ASCII as it is, the other byte values
// as the pieces of markup and stylesheets where the tokenizers' states
// change (line breaks, comment and tag delimiters, quotes, escapes,
// surrogate halves).
QString syntaxText(FuzzedDataProvider &input);

// Colours the text whole, line by line and with pauses at the positions
// the input picks, and checks that all three agree and that the spans are
// ordered and inside the text; then edits it and checks that the states
// kept across the edit colour every line as a fresh read does.
void checkColouring(syntax::Language language, const QString &text, FuzzedDataProvider &input);

} // namespace fuzz
