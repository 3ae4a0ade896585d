// Matching brackets and tags: the partner found, nesting, roles, void
// elements and the search bound.
#include "syntax/matching.h"
#include "syntax/stringtext.h"

#include <QTest>

using namespace syntax;

Q_DECLARE_METATYPE(syntax::Language)

class MatchingTest : public QObject
{
    Q_OBJECT
private slots:
    void partner_data();
    void partner();
};

void MatchingTest::partner_data()
{
    QTest::addColumn<Language>("language");
    QTest::addColumn<QString>("text"); // "|" marks the caret
    QTest::addColumn<int>("bound");
    QTest::addColumn<QList<int>>("expected"); // both ranges, or none
    const auto css = Language::Css;
    const auto html = Language::Html;
    QTest::newRow("closing bracket at the caret") << css << QStringLiteral("a{b:c(|)}") << 100 << QList{6, 7, 5, 6};
    QTest::newRow("opening bracket before the caret") << css << QStringLiteral("((|a)b)") << 100 << QList{1, 2, 3, 4};
    QTest::newRow("nested to the outer partner") << css << QStringLiteral("|{a{b}c}") << 100 << QList{0, 1, 6, 7};
    QTest::newRow("a brace in a comment does not count")
        << css << QStringLiteral("a{/* } */|}") << 100 << QList{9, 10, 1, 2};
    QTest::newRow("plain text") << Language::Plain << QStringLiteral("f(|x]\r\n)") << 100 << QList{1, 2, 6, 7};
    QTest::newRow("a bracket in an attribute does not count")
        << html << QStringLiteral("<p title=\")\">(|x)</p>") << 100 << QList{13, 14, 15, 16};
    QTest::newRow("end tag to its start tag")
        << html << QStringLiteral("<div><p>x</p></d|iv>") << 100 << QList{15, 18, 1, 4};
    QTest::newRow("start tag past a nested one")
        << html << QStringLiteral("<D|IV><div></div>\r\n</div>") << 100 << QList{1, 4, 20, 23};
    QTest::newRow("self-closing tags do not nest")
        << html << QStringLiteral("<s|vg><svg/></svg>") << 100 << QList{1, 4, 13, 16};
    QTest::newRow("void element has no partner") << html << QStringLiteral("<p><b|r></p>") << 100 << QList<int>();
    QTest::newRow("partner beyond the bound")
        << css << QStringLiteral("(|") + QString(200, u'x') + QStringLiteral(")") << 100 << QList<int>();
    QTest::newRow("no bracket at the caret") << css << QStringLiteral("a |b") << 100 << QList<int>();
}

void MatchingTest::partner()
{
    QFETCH(Language, language);
    QFETCH(QString, text);
    QFETCH(int, bound);
    QFETCH(QList<int>, expected);
    const int caret = static_cast<int>(text.indexOf(u'|'));
    StringText source(text.remove(caret, 1));
    LineStates states(source);
    states.setLanguage(language);
    const std::optional<MatchPair> match = findMatch(states, source, caret, bound);
    QList<int> actual;
    if (match)
        actual = {match->first.start, match->first.end, match->second.start, match->second.end};
    QCOMPARE(actual, expected);
}

QTEST_APPLESS_MAIN(MatchingTest)
#include "tst_matching.moc"
