#include "textengine/model/crlf.h"

#include <QTest>

using textengine::CrLfRewrite;
using textengine::toCrLf;

class TestCrLf : public QObject
{
    Q_OBJECT

private slots:
    void rewrite_data();
    void rewrite();
    void unchangedTextIsNotCopied_data();
    void unchangedTextIsNotCopied();
};

namespace {
// Names for the rows: which breaks are rewritten.
constexpr CrLfRewrite every{.loneCarriageReturns = true, .loneLineFeeds = true};
constexpr CrLfRewrite lineFeeds{.loneLineFeeds = true};
constexpr CrLfRewrite linesRead{.loneCarriageReturns = true, .endLastLine = true};
} // namespace

void TestCrLf::rewrite_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("loneCarriageReturns");
    QTest::addColumn<bool>("loneLineFeeds");
    QTest::addColumn<bool>("endLastLine");
    QTest::addColumn<QString>("expected");

    const auto row = [](const char *name, const QString &text, CrLfRewrite rewrite, const QString &expected) {
        QTest::newRow(name) << text << rewrite.loneCarriageReturns << rewrite.loneLineFeeds << rewrite.endLastLine
                            << expected;
    };
    // Every break: what typing and pasting put into a text pane.
    row("every: mixed", "a\nb\rc\r\nd", every, "a\r\nb\r\nc\r\nd");
    row("every: CR CR LF", "a\r\r\nb", every, "a\r\n\r\nb");
    row("every: LF CR", "a\n\rb", every, "a\r\n\r\nb");
    row("every: lone CR at the end", "a\r", every, "a\r\n");
    row("every: lone LF at the start", "\na", every, "\r\na");
    row("every: nothing to do", "a\r\nb", every, "a\r\nb");
    row("every: empty", "", every, "");
    // Lone line feeds only: NormalizeLineEnds.
    row("LF: LF LF", "\n\n", lineFeeds, "\r\n\r\n");
    row("LF: CR CR LF stays", "\r\r\n", lineFeeds, "\r\r\n");
    row("LF: lone CR stays", "a\rb", lineFeeds, "a\rb");
    row("LF: LF CR", "a\n\rb", lineFeeds, "a\r\n\rb");
    row("LF: no line end added", "a\nb", lineFeeds, "a\r\nb");
    // Lone carriage returns and the last line ended: a file as it is read.
    row("read: open last line", "a\r\nb", linesRead, "a\r\nb\r\n");
    row("read: lone CR", "a\rb", linesRead, "a\r\nb\r\n");
    row("read: lone CR at the end", "a\r", linesRead, "a\r\n");
    row("read: empty line kept", "a\r\n\r\n", linesRead, "a\r\n\r\n");
    row("read: LF is part of the line", "a\nb\n", linesRead, "a\nb\n\r\n");
    row("read: CR before LF CR", "a\r\n\rb", linesRead, "a\r\n\r\nb\r\n");
    row("read: empty", "", linesRead, "");
    // Every break and the last line ended.
    row("every, ended: lone LF ends the line", "a\n", {true, true, true}, "a\r\n");
    row("every, ended: open", "a\nb", {true, true, true}, "a\r\nb\r\n");
    // Nothing rewritten, only the end.
    row("only the end", "a\rb\n", {false, false, true}, "a\rb\n\r\n");
    row("only the end, closed by CR LF", "a\r\n", {false, false, true}, "a\r\n");
    row("nothing", "a\rb\nc", {}, "a\rb\nc");
}

void TestCrLf::rewrite()
{
    QFETCH(QString, text);
    QFETCH(bool, loneCarriageReturns);
    QFETCH(bool, loneLineFeeds);
    QFETCH(bool, endLastLine);
    QFETCH(QString, expected);

    QCOMPARE(toCrLf(text, {loneCarriageReturns, loneLineFeeds, endLastLine}), expected);
    // The same after a long first line, where the copying runs are long.
    const QString padding = QString(5000, u'x') + QStringLiteral("\r\n");
    QCOMPARE(toCrLf(padding + text, {loneCarriageReturns, loneLineFeeds, endLastLine}), padding + expected);
}

void TestCrLf::unchangedTextIsNotCopied_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("CR LF only") << QStringLiteral("a\r\nb\r\n");
    QTest::newRow("no break") << QStringLiteral("abc");
}

void TestCrLf::unchangedTextIsNotCopied()
{
    QFETCH(QString, text);
    text = QString(text.constData(), text.size()); // on the heap, as a file's text is
    const QString result = toCrLf(text, every);
    QCOMPARE(result, text);
    QVERIFY(result.isSharedWith(text));
}

QTEST_GUILESS_MAIN(TestCrLf)
#include "tst_crlf.moc"
