#include "forms/filedrop.h"
#include "tests/forms/testfolder.h"

#include <QMimeData>
#include <QTest>
#include <QUrl>
#include <memory>

class TestFileDrop : public QObject
{
    Q_OBJECT

private slots:
    void init() { m_folder = std::make_unique<TestFolder>(); }
    void cleanup() { m_folder.reset(); }

    void droppedFiles_data();
    void droppedFiles();
    void noData();

private:
    std::unique_ptr<TestFolder> m_folder;
};

void TestFileDrop::droppedFiles_data()
{
    QTest::addColumn<QStringList>("urls");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("offered");
    QTest::addColumn<QStringList>("files");
    QTest::newRow("two files in order") << QStringList{"file:///tmp/b.txt", "file:///tmp/a.txt"} << QString() << true
                                        << QStringList{"/tmp/b.txt", "/tmp/a.txt"};
    QTest::newRow("folder") << QStringList{"file:///tmp/web/"} << QString() << true << QStringList{"/tmp/web/"};
    QTest::newRow("escaped name") << QStringList{"file:///tmp/gr%C3%BC%C3%9Fe%20x.css"} << QString() << true
                                  << QStringList{"/tmp/grüße x.css"};
    QTest::newRow("remote skipped") << QStringList{"https://example.org/a.css", "file:///tmp/c.css"} << QString()
                                    << true << QStringList{"/tmp/c.css"};
    QTest::newRow("remote only") << QStringList{"https://example.org/a.css"} << QString() << false << QStringList{};
    QTest::newRow("text only") << QStringList{} << QStringLiteral("/tmp/a.txt") << false << QStringList{};
}

void TestFileDrop::droppedFiles()
{
    QFETCH(QStringList, urls);
    QFETCH(QString, text);
    QFETCH(bool, offered);
    QFETCH(QStringList, files);
    QMimeData data;
    QList<QUrl> list;
    for (const QString &url : std::as_const(urls))
        list.append(QUrl(url));
    if (!list.isEmpty())
        data.setUrls(list);
    if (!text.isEmpty())
        data.setText(text);
    const std::optional<QStringList> dropped = forms::droppedFiles(&data);
    QCOMPARE(dropped.has_value(), offered);
    if (offered) {
        QStringList expected;
        for (const QString &file : std::as_const(files))
            expected.append(QDir::toNativeSeparators(file));
        QCOMPARE(*dropped, expected);
    }
}

void TestFileDrop::noData()
{
    QVERIFY(!forms::droppedFiles(nullptr).has_value());
}

QTEST_MAIN(TestFileDrop)
#include "tst_filedrop.moc"
