// Texts of stylesheets, coloured as CSS: whole, line by line and with
// pauses all agree, and the states kept across an edit stand; the tokens
// of the whole text cover it, one after another.
#include "fuzzcheck.h"
#include "syntaxcheck.h"

#include "syntax/csstokenizer.h"

namespace {

struct Tiling : syntax::CssTokenSink
{
    int end = 0;
    void token(const syntax::CssToken &token) override
    {
        fuzz::check(token.start == end && token.end > token.start, "each token starts where the last one ended");
        end = token.end;
    }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzedDataProvider input(data, size);
    const QString text = fuzz::syntaxText(input);
    Tiling tiling;
    syntax::CssState state;
    syntax::tokenizeCss({text, 0, true}, INT_MAX, state, &tiling);
    fuzz::check(tiling.end == text.size(), "the tokens cover the text", fuzz::shown(text));
    fuzz::checkColouring(syntax::Language::Css, text, input);
    return 0;
}
