#include "forms/filemask.h"
#include "forms/folderentries.h"
#include "tests/forms/testfolder.h"

#include <QTest>
#include <memory>

using forms::FileMask;

class TestFileMask : public QObject
{
    Q_OBJECT

private slots:
    void init() { m_folder = std::make_unique<TestFolder>(); }
    void cleanup() { m_folder.reset(); }

    void matches_data();
    void matches();
    void sortIgnoresCase_data();
    void sortIgnoresCase();

private:
    std::unique_ptr<TestFolder> m_folder;
};

void TestFileMask::matches_data()
{
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("match");
    QTest::newRow("extension") << "*.css"
                               << "main.css" << true;
    QTest::newRow("other extension") << "*.css"
                                     << "main.txt" << false;
    QTest::newRow("mask in upper case") << "*.CSS"
                                        << "a.css" << true;
    QTest::newRow("name in upper case") << "*.css"
                                        << "A.CSS" << true;
    QTest::newRow("umlaut case") << "Ä*"
                                 << "ärger.txt" << true;
    QTest::newRow("second mask") << "*.css;*.txt"
                                 << "b.TXT" << true;
    QTest::newRow("longer extension") << "*.htm"
                                      << "index.html" << false;
    QTest::newRow("question mark") << "?.css"
                                   << "a.css" << true;
    QTest::newRow("question mark needs one") << "?.css"
                                             << ".css" << false;
    QTest::newRow("question mark is one code point") << "?.txt"
                                                     << "\U0001F600.txt" << true;
    QTest::newRow("all with dot") << "*.*"
                                  << "a.b" << true;
    QTest::newRow("all without dot") << "*.*"
                                     << "Makefile" << true;
    QTest::newRow("name dot star without extension") << "readme.*"
                                                     << "README" << true;
    QTest::newRow("name dot star other name") << "readme.*"
                                              << "readmex" << false;
    QTest::newRow("star") << "*"
                          << ".hidden" << true;
    QTest::newRow("brackets literal") << "[x].css"
                                      << "[x].css" << true;
    QTest::newRow("brackets not a set") << "[x].css"
                                        << "x.css" << false;
    QTest::newRow("lone bracket") << "["
                                  << "[" << true;
    QTest::newRow("lone bracket no match") << "["
                                           << "a" << false;
    QTest::newRow("regex characters literal") << "a+(b)|c$.^"
                                              << "a+(b)|c$.^" << true;
    QTest::newRow("backslash literal") << "a\\b"
                                       << "a\\b" << true;
    QTest::newRow("only separators") << ";;;"
                                     << "a.css" << false;
    QTest::newRow("empty pattern") << ""
                                   << "a.css" << false;
    QTest::newRow("empty masks skipped") << ";;*.css;;"
                                         << "a.css" << true;
    QTest::newRow("blanks around masks") << " *.css ; *.txt "
                                         << "a.txt" << true;
    QTest::newRow("exact name") << "main.css"
                                << "MAIN.CSS" << true;
    QTest::newRow("exact name no prefix") << "main.css"
                                          << "xmain.css" << false;
    QTest::newRow("many stars no match") << "*a*a*a*a*a*a*a*a*a*a*a*a*b" << QString(250, u'a') << false;
    QTest::newRow("many stars match") << "*a*a*a*a*a*a*a*a*a*a*a*a*b" << QString(250, u'a') + "b" << true;
    QString longPattern;
    for (int i = 0; i < 100; ++i)
        longPattern += QStringLiteral("*.x%1;").arg(i);
    longPattern += QStringLiteral("*.css");
    QVERIFY(longPattern.size() > 500);
    QTest::newRow("long pattern last mask") << longPattern << "a.css" << true;
    QTest::newRow("long pattern middle mask") << longPattern << "a.x42" << true;
    QTest::newRow("long pattern none") << longPattern << "a.txt" << false;
}

void TestFileMask::matches()
{
    QFETCH(QString, pattern);
    QFETCH(QString, name);
    QFETCH(bool, match);
    QCOMPARE(FileMask(pattern).matches(name), match);
}

void TestFileMask::sortIgnoresCase_data()
{
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<QStringList>("sorted");
    QTest::newRow("mixed case") << QStringList{"b", "C", "a"} << QStringList{"a", "b", "C"};
    QTest::newRow("same but case") << QStringList{"a", "A", "b"} << QStringList{"A", "a", "b"};
    QTest::newRow("digits first") << QStringList{"z", "1", "_"} << QStringList{"1", "_", "z"};
    QTest::newRow("empty") << QStringList{} << QStringList{};
}

void TestFileMask::sortIgnoresCase()
{
    QFETCH(QStringList, names);
    QFETCH(QStringList, sorted);
    forms::sortNamesIgnoringCase(names);
    QCOMPARE(names, sorted);
}

QTEST_MAIN(TestFileMask)
#include "tst_filemask.moc"
