// The CSS tokenizer against the CSS parsing tests (data/css-parsing-tests,
// CC0): component_value_list.json and one_component_value.json, read into
// component values as CSS Syntax Level 3 parses them.
#include "syntax/csstokenizer.h"
#include "syntax/cssvalues.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QTest>

using namespace syntax;

namespace {

struct Tokens : CssTokenSink
{
    std::vector<CssToken> list;
    void token(const CssToken &token) override
    {
        if (token.type != CssTokenType::Comment)
            list.push_back(token);
    }
};

// Parses the tokens into component values in the tests' notation.
class ComponentValues
{
public:
    explicit ComponentValues(const QString &input)
        : m_input(input)
    {
        tokenizeCss({input, 0, true}, INT_MAX, m_state, &m_tokens);
    }

    QJsonArray list()
    {
        QJsonArray values;
        while (!atEnd())
            appendValue(values);
        return values;
    }

    QJsonValue one()
    {
        skipWhitespace();
        if (atEnd())
            return QJsonArray{QStringLiteral("error"), QStringLiteral("empty")};
        QJsonArray values;
        appendValue(values);
        skipWhitespace();
        if (!atEnd())
            return QJsonArray{QStringLiteral("error"), QStringLiteral("extra-input")};
        return values.first();
    }

private:
    bool atEnd() const { return m_next >= m_tokens.list.size(); }
    void skipWhitespace()
    {
        while (!atEnd() && m_tokens.list[m_next].type == CssTokenType::Whitespace)
            ++m_next;
    }
    QString text(int from, int to) const { return m_input.mid(from, to - from); }

    // The values up to the closing token of a block or function.
    void appendBlock(QJsonArray &block, CssTokenType closing)
    {
        while (!atEnd()) {
            if (m_tokens.list[m_next].type == closing) {
                ++m_next;
                return;
            }
            appendValue(block);
        }
    }

    void appendValue(QJsonArray &values)
    {
        const CssToken t = m_tokens.list[m_next++];
        const bool terminated = !(t.flags & CssToken::Unterminated);
        const QString numberType = (t.flags & CssToken::Integer) ? QStringLiteral("integer") : QStringLiteral("number");
        auto error = [](const char *what) { return QJsonArray{QStringLiteral("error"), QLatin1String(what)}; };
        switch (t.type) {
        case CssTokenType::Ident:
            values.append(QJsonArray{QStringLiteral("ident"), cssIdentifierValue(text(t.start, t.end))});
            break;
        case CssTokenType::AtKeyword:
            values.append(QJsonArray{QStringLiteral("at-keyword"), cssIdentifierValue(text(t.start + 1, t.end))});
            break;
        case CssTokenType::Hash:
            values.append(
                QJsonArray{QStringLiteral("hash"), cssIdentifierValue(text(t.start + 1, t.end)),
                           (t.flags & CssToken::IdHash) ? QStringLiteral("id") : QStringLiteral("unrestricted")});
            break;
        case CssTokenType::String:
            values.append(
                QJsonArray{QStringLiteral("string"), cssStringValue(text(t.start + 1, t.end - (terminated ? 1 : 0)))});
            if (!terminated)
                values.append(error("eof-in-string"));
            break;
        case CssTokenType::BadString:
            values.append(error("bad-string"));
            break;
        case CssTokenType::Url:
            values.append(QJsonArray{QStringLiteral("url"), cssUrlValue(text(t.start, t.end), terminated)});
            if (!terminated)
                values.append(error("eof-in-url"));
            break;
        case CssTokenType::BadUrl:
            values.append(error("bad-url"));
            break;
        case CssTokenType::Number:
            values.append(QJsonArray{QStringLiteral("number"), text(t.start, t.end),
                                     cssNumberValue(text(t.start, t.end)), numberType});
            break;
        case CssTokenType::Percentage:
            values.append(QJsonArray{QStringLiteral("percentage"), text(t.start, t.split),
                                     cssNumberValue(text(t.start, t.split)), numberType});
            break;
        case CssTokenType::Dimension:
            values.append(QJsonArray{QStringLiteral("dimension"), text(t.start, t.split),
                                     cssNumberValue(text(t.start, t.split)), numberType,
                                     cssIdentifierValue(text(t.split, t.end))});
            break;
        case CssTokenType::UnicodeRange: {
            const auto [first, last] = cssUnicodeRange(text(t.start, t.end));
            values.append(QJsonArray{QStringLiteral("unicode-range"), double(first), double(last)});
            break;
        }
        case CssTokenType::Whitespace:
            values.append(QStringLiteral(" "));
            break;
        case CssTokenType::Function: {
            QJsonArray function{QStringLiteral("function"), cssIdentifierValue(text(t.start, t.split))};
            appendBlock(function, CssTokenType::CloseParen);
            values.append(function);
            break;
        }
        case CssTokenType::OpenParen:
        case CssTokenType::OpenSquare:
        case CssTokenType::OpenCurly: {
            const bool paren = t.type == CssTokenType::OpenParen;
            const bool square = t.type == CssTokenType::OpenSquare;
            QJsonArray block{paren ? QStringLiteral("()") : square ? QStringLiteral("[]") : QStringLiteral("{}")};
            appendBlock(block,
                        paren        ? CssTokenType::CloseParen
                            : square ? CssTokenType::CloseSquare
                                     : CssTokenType::CloseCurly);
            values.append(block);
            break;
        }
        case CssTokenType::CloseParen:
        case CssTokenType::CloseSquare:
        case CssTokenType::CloseCurly:
            values.append(QJsonArray{QStringLiteral("error"), text(t.start, t.end)});
            break;
        default:
            // Delimiters and the other punctuation stand as themselves.
            values.append(text(t.start, t.end));
            break;
        }
    }

    QString m_input;
    CssState m_state;
    Tokens m_tokens;
    size_t m_next = 0;
};

void addCases(const char *file, bool one)
{
    QFile json(QFINDTESTDATA(QStringLiteral("data/css-parsing-tests/") + QLatin1String(file)));
    QVERIFY(json.open(QIODevice::ReadOnly));
    const QJsonArray cases = QJsonDocument::fromJson(json.readAll()).array();
    QVERIFY(cases.size() > 0 && cases.size() % 2 == 0);
    for (qsizetype i = 0; i < cases.size(); i += 2) {
        const QString input = cases[i].toString();
        QTest::addRow("%s %lld: %s", file, static_cast<long long>(i / 2),
                      qPrintable(input.left(40).replace(QLatin1Char('\n'), QLatin1Char(' '))))
            << input << one << cases[i + 1];
    }
}

} // namespace

class CssConformanceTest : public QObject
{
    Q_OBJECT
private slots:
    void componentValues_data();
    void componentValues();
};

void CssConformanceTest::componentValues_data()
{
    QTest::addColumn<QString>("input");
    QTest::addColumn<bool>("one");
    QTest::addColumn<QJsonValue>("expected");
    addCases("component_value_list.json", false);
    addCases("one_component_value.json", true);
}

void CssConformanceTest::componentValues()
{
    QFETCH(QString, input);
    QFETCH(bool, one);
    QFETCH(QJsonValue, expected);
    ComponentValues values(input);
    const QJsonValue actual = one ? values.one() : QJsonValue(values.list());
    if (actual != expected) {
        qInfo("expected %s", QJsonDocument(QJsonArray{expected}).toJson(QJsonDocument::Compact).constData());
        qInfo("actual   %s", QJsonDocument(QJsonArray{actual}).toJson(QJsonDocument::Compact).constData());
    }
    QVERIFY(actual == expected);
}

QTEST_APPLESS_MAIN(CssConformanceTest)
#include "tst_cssconformance.moc"
