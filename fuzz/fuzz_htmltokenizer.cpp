// Texts of markup, coloured as HTML: whole, line by line and with pauses
// all agree, and the states kept across an edit stand; the tokenizer read
// as the standard's alone reads it hands on its pieces in order.
#include "fuzzcheck.h"
#include "syntaxcheck.h"

#include "syntax/htmltokenizer.h"

namespace {

// The pieces' order, as the conformance tests' token builder relies on.
class Order : public syntax::HtmlSink
{
public:
    int last = 0;
    void piece(syntax::HtmlPiece, int start, int end, bool) override { next(start, end); }
    void characterReference(int start, int end, char32_t first, char32_t second, bool) override
    {
        next(start, end);
        fuzz::check(first != 0 && first <= 0x10FFFF && second <= 0x10FFFF, "a reference stands for code points");
    }
    void next(int start, int end)
    {
        fuzz::check(start >= last && start <= end, "pieces come in order");
        last = end;
    }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzedDataProvider input(data, size);
    const QString text = fuzz::syntaxText(input);
    Order order;
    syntax::SyntaxState state;
    syntax::tokenizeHtml({text, 0, true}, INT_MAX, state, &order, {.followElements = false});
    fuzz::check(order.last <= text.size(), "pieces lie inside the text");
    fuzz::checkColouring(syntax::Language::Html, text, input);
    return 0;
}
