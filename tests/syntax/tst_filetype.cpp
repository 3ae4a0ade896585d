// The language of a file by its name's extension.
#include "syntax/filetype.h"

#include <QTest>

using namespace syntax;

Q_DECLARE_METATYPE(syntax::Language)

class FileTypeTest : public QObject
{
    Q_OBJECT
private slots:
    void language_data();
    void language();
};

void FileTypeTest::language_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<Language>("expected");
    for (const char *html : {"/a/index.html", "b.htm", "c.xhtml", "d.shtml", "e.php", "F.HTML", "g.Php"})
        QTest::newRow(html) << QString::fromLatin1(html) << Language::Html;
    QTest::newRow("css") << QStringLiteral("/a/site.css") << Language::Css;
    QTest::newRow("css in capitals, Windows path") << QStringLiteral("C:\\web.d\\SITE.CSS") << Language::Css;
    QTest::newRow("text") << QStringLiteral("/a/notes.txt") << Language::Plain;
    QTest::newRow("no extension") << QStringLiteral("/a/README") << Language::Plain;
    QTest::newRow("dot in a folder only") << QStringLiteral("/a/site.html/README") << Language::Plain;
    QTest::newRow("extension only in a longer one") << QStringLiteral("/a/page.html5") << Language::Plain;
    QTest::newRow("hidden file named css") << QStringLiteral("/a/.css") << Language::Css;
    QTest::newRow("no file") << QString() << Language::Plain;
}

void FileTypeTest::language()
{
    QFETCH(QString, path);
    QFETCH(Language, expected);
    QCOMPARE(languageForFile(path), expected);
}

QTEST_APPLESS_MAIN(FileTypeTest)
#include "tst_filetype.moc"
