#include "textengine/model/searchpattern.h"
#include "textengine/model/textcontent.h"
#include "textengine/model/textsearch.h"

#include <QTest>

using textengine::SearchOptions;
using textengine::SearchPattern;
using textengine::TextContent;
using textengine::TextSearch;

namespace {

constexpr textengine::CharacterEntity entities[] = {
    {u'ä', u"&auml;"}, {u'Ä', u"&Auml;"}, {u'ü', u"&uuml;"}, {u'ß', u"&szlig;"}, {u'€', u"&euro;"},
};

// Flags: c case-sensitive, w whole words, r regular expression, e entities.
SearchOptions optionsOf(const QString &flags)
{
    SearchOptions options;
    options.caseSensitive = flags.contains(u'c');
    options.wholeWords = flags.contains(u'w');
    options.regularExpression = flags.contains(u'r');
    if (flags.contains(u'e'))
        options.entities = entities;
    return options;
}

// The text with every match in brackets.
QString marked(const TextContent &content, const SearchPattern &pattern, int scopeStart, int scopeEnd)
{
    TextSearch search(content, pattern, scopeStart, scopeEnd);
    const QString text = content.text();
    QString out;
    int written = 0;
    int position = 0;
    while (const auto match = search.next(position, search.scopeEnd() + 1)) {
        out += text.mid(written, match->start - written) + u'[' + text.mid(match->start, match->length) + u']';
        written = match->end();
    }
    return out + text.mid(written);
}

} // namespace

class TestTextSearch : public QObject
{
    Q_OBJECT

private slots:
    void matches_data();
    void matches();
    void invalidExpressionSaysWhere();
    void partsAgreeWithOneRun_data();
    void partsAgreeWithOneRun();
    void previousFindsTheLastBefore();
    void replacementText_data();
    void replacementText();
};

void TestTextSearch::matches_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<QString>("flags");
    QTest::addColumn<int>("scopeStart");
    QTest::addColumn<int>("scopeEnd");
    QTest::addColumn<QString>("expected");
    auto row = [](const char *name, const QString &text, const QString &pattern, const char *flags,
                  const QString &expected, int scopeStart = 0, int scopeEnd = -1) {
        QTest::newRow(name) << text << pattern << QString::fromLatin1(flags) << scopeStart << scopeEnd << expected;
    };
    row("umlauts without case", "Äpfel äpfel ÄPFEL", "äpfel", "", "[Äpfel] [äpfel] [ÄPFEL]");
    row("umlauts with case", "Äpfel äpfel ÄPFEL", "äpfel", "c", "Äpfel [äpfel] ÄPFEL");
    row("ß, ẞ and ss", "Straße STRASSE STRAẞE Strasse Strase", "straße", "",
        "[Straße] [STRASSE] [STRAẞE] [Strasse] Strase");
    row("ss finds ß", "Straße STRASSE", "strasse", "", "[Straße] [STRASSE]");
    row("sss", "Schlossstraße Schloßstraße", "schlossstr", "", "[Schlossstr]aße [Schloßstr]aße");
    row("ß with case", "Straße STRASSE", "Straße", "c", "[Straße] STRASSE");
    row("whole words, umlauts inside", "Köln Kölner zu-Köln Kölnß", "köln", "w", "[Köln] Kölner zu-[Köln] Kölnß");
    row("whole words, umlaut at the end", "Bär Bären Bär.", "bär", "w", "[Bär] Bären [Bär].");
    row("whole words, ß", "Maß Maße maß", "maß", "w", "[Maß] Maße [maß]");
    row("whole words, signs at the edge", "a-b x-b", "-b", "w", "a[-b] x[-b]");
    row("regex", "color colour colours", "\\bcol(o|ou)r\\b", "r", "[color] [colour] colours");
    row("regex \\b with umlauts", "Ärger Ärgernis xÄrger", "\\bärger\\b", "r", "[Ärger] Ärgernis xÄrger");
    row("regex ^ and $ per line", "ab\r\nab\r\nxab", "^ab$", "r", "[ab]\r\n[ab]\r\nxab");
    row("regex \\n is CR LF", "a\r\nb a\nb", "a\\nb", "r", "[a\r\nb] [a\nb]");
    row("regex . stops at a line break", "a\r\nb", "a.b", "r", "a\r\nb");
    row("regex keeps within lines", "ab\r\ncd", "b[^x]*c", "r", "ab\r\ncd");
    row("regex spans lines with \\n", "ab\r\ncd", "b\\n[^x]*d", "r", "a[b\r\ncd]");
    row("empty matches at line starts", "ab\r\ncd", "^", "r", "[]ab\r\n[]cd");
    row("empty matches at line ends", "ab\r\ncd", "$", "r", "ab[]\r\ncd[]");
    row("empty matches move on", "ab", "x*", "r", "[]a[]b[]");
    row("entities, named and numeric", "Müller M&uuml;ller M&#252;ller M&#xFC;ller M&#XfC;ller M&#0252;ller", "müller",
        "e", "[Müller] [M&uuml;ller] [M&#252;ller] [M&#xFC;ller] [M&#XfC;ller] [M&#0252;ller]");
    row("entities, searched as entity", "Müller M&uuml;ller", "M&uuml;ller", "e", "[Müller] [M&uuml;ller]");
    row("entities, searched as number", "Müller M&uuml;ller", "M&#xfc;ller", "e", "[Müller] [M&uuml;ller]");
    row("entities with case", "&Auml; &auml; ä Ä &#196;", "ä", "ce", "&Auml; [&auml;] [ä] Ä &#196;");
    row("entities without case", "&Auml; &auml; ä Ä &#196;", "ä", "e", "[&Auml;] [&auml;] [ä] [Ä] [&#196;]");
    row("entities and ss", "Stra&szlig;e STRASSE", "strasse", "e", "[Stra&szlig;e] [STRASSE]");
    row("entities and ß itself", "Straße Stra&szlig;e STRASSE Straáe", "strasse", "e",
        "[Straße] [Stra&szlig;e] [STRASSE] Straáe");
    row("entities in a regex", "M&uuml;ller Mxller", "M(ü|x)ller", "re", "[M&uuml;ller] [Mxller]");
    row("entities off", "Müller M&uuml;ller", "Müller", "", "[Müller] M&uuml;ller");
    row("regex settings first", "Äpfel", "(*UCP)(*CRLF)\\bäpfel", "r", "[Äpfel]");
    row("regex comment with entities", "x", "(?#ä)x", "re", "[x]");
    // A look-behind keeps a fixed length: the characters in it as typed.
    row("entities, not in a look-behind", "än &auml;n", "(?<=ä)n", "re", "ä[n] &auml;n");
    row("entities and whole words", "&auml;Köln Köln", "köln", "we", "&auml;Köln [Köln]");
    row("only in the selection", "ab ab ab", "ab", "", "ab [ab] [ab]", 3, 8);
    row("selection cuts a match", "abab", "ab", "", "[ab]ab", 0, 3);
    row("no match inside a cluster", "e\u0301 e", "e", "", "e\u0301 [e]");
    row("CR LF stays whole", "a\r\nb", "\\r", "r", "a\r\nb");
    const QString lone(QChar(0xD800));
    row("lone surrogate", "a" + lone + " a", "a", "", "[a]" + lone + " [a]");
}

void TestTextSearch::matches()
{
    QFETCH(QString, text);
    QFETCH(QString, pattern);
    QFETCH(QString, flags);
    QFETCH(int, scopeStart);
    QFETCH(int, scopeEnd);
    QFETCH(QString, expected);
    const SearchPattern compiled(pattern, optionsOf(flags));
    QVERIFY2(compiled.isValid(), qPrintable(compiled.errorString()));
    TextContent content;
    content.setText(text);
    QCOMPARE(marked(content, compiled, scopeStart, scopeEnd), expected);
    // The same with the buffer's hole at every place.
    for (int at = 0; at < text.size(); ++at) {
        content.setText(text);
        content.replace(at, 1, text.mid(at, 1));
        QCOMPARE(marked(content, compiled, scopeStart, scopeEnd), expected);
    }
}

void TestTextSearch::invalidExpressionSaysWhere()
{
    SearchOptions options;
    options.regularExpression = true;
    const SearchPattern pattern(QStringLiteral("col(or"), options);
    QVERIFY(!pattern.isValid());
    QVERIFY(pattern.isEmpty());
    QCOMPARE(pattern.errorOffset(), 6);
    QVERIFY(!pattern.errorString().isEmpty());
}

void TestTextSearch::partsAgreeWithOneRun_data()
{
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<QString>("lineEnd");
    QTest::newRow("literal") << QStringLiteral("köln") << QStringLiteral("\r\n");
    QTest::newRow("line break") << QStringLiteral("\\d\\nZeile") << QStringLiteral("\r\n");
    QTest::newRow("over many lines") << QStringLiteral("7:[^!]*!\\n[^!]*!") << QStringLiteral("\r\n");
    QTest::newRow("one long line") << QStringLiteral("\\bköln!") << QStringLiteral(" ");
    QTest::newRow("one long line, long matches") << QStringLiteral("7:[^9]*9") << QStringLiteral(" ");
}

// Megabytes of lines, searched by parts with the hole in the middle, give
// the matches one run over the whole text gives.
void TestTextSearch::partsAgreeWithOneRun()
{
    QFETCH(QString, pattern);
    QFETCH(QString, lineEnd);
    QString text;
    for (int i = 0; text.size() < 3'000'000; ++i)
        text += QStringLiteral("Zeile %1: Grüße aus Köln!").arg(i) + lineEnd;
    SearchOptions options;
    options.regularExpression = true;
    const SearchPattern compiled(pattern, options);
    QList<int> expected;
    for (auto it = compiled.expression().globalMatch(text); it.hasNext();)
        expected << int(it.next().capturedStart());
    TextContent content;
    content.setText(text);
    content.replace(int(text.size() / 2) + 3, 1, text.mid(text.size() / 2 + 3, 1));
    TextSearch search(content, compiled);
    QList<int> found;
    int position = 0;
    while (position <= content.size()) {
        if (const auto match = search.next(position, content.size() + 1, 100'000))
            found << match->start;
    }
    QCOMPARE(found.size(), expected.size());
    QCOMPARE(found, expected);
}

void TestTextSearch::previousFindsTheLastBefore()
{
    const SearchPattern pattern(QStringLiteral("ab"), {});
    TextContent content;
    content.setText(QStringLiteral("ab xab ab"));
    TextSearch search(content, pattern);
    int position = 7;
    QCOMPARE(search.previous(position, 0), (textengine::TextMatch{4, 2}));
    QCOMPARE(search.previous(position, 0), (textengine::TextMatch{0, 2}));
    QVERIFY(!search.previous(position, 0));
}

void TestTextSearch::replacementText_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("expand");
    QTest::addColumn<QString>("expected");
    QTest::newRow("groups") << QStringLiteral("\\2-$1 \\0") << true << QStringLiteral("b-a ab");
    QTest::newRow("escapes") << QStringLiteral("\\n\\t\\\\$$\\x") << true << QStringLiteral("\r\n\t\\$\\x");
    QTest::newRow("missing group") << QStringLiteral("[\\5]") << true << QStringLiteral("[]");
    QTest::newRow("as typed") << QStringLiteral("\\1$0\\n") << false << QStringLiteral("\\1$0\\n");
}

void TestTextSearch::replacementText()
{
    QFETCH(QString, typed);
    QFETCH(bool, expand);
    QFETCH(QString, expected);
    const QRegularExpressionMatch match = QRegularExpression(QStringLiteral("(a)(b)")).match(QStringLiteral("xab"));
    QString out = QStringLiteral("old");
    textengine::ReplacementText(typed, expand).build(out, match);
    QCOMPARE(out, expected);
}

QTEST_GUILESS_MAIN(TestTextSearch)
#include "tst_textsearch.moc"
