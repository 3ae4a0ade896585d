#include "platform/encoding.h"
#include "support/message.h"
#include "support/textfile.h"
#include "support/writefailure.h"
#include "tests/testsupport.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <array>
#include <memory>

using namespace support;

Q_DECLARE_METATYPE(support::TextEncoding)

class TestTextFile : public QObject
{
    Q_OBJECT

private slots:
    void init();

    void readTextFile_data();
    void readTextFile();
    void readThenNormalize();
    void saveSequence_data();
    void saveSequence();
    void tabsToSpaces_data();
    void tabsToSpaces();
    void normalizeLineEnds_data();
    void normalizeLineEnds();
    void trimTrailingLineEnds_data();
    void trimTrailingLineEnds();
    void trimChangesTheCallersVariable();
    void textInPiecesIsWrittenAsWhole_data();
    void textInPiecesIsWrittenAsWhole();
    void loneSurrogatesAreWrittenAsReplacement_data();
    void loneSurrogatesAreWrittenAsReplacement();
    void unchangedFileRoundTrips_data();
    void unchangedFileRoundTrips();
    void everyByteDecodesAndEncodesBack();
    void windows1252Characters_data();
    void windows1252Characters();
    void textTheCodePageCannotHoldIsWrittenAsUtf8();
    void newFileEncoding();
    void longTextLoadsAndSaves();
    void fileExists_data();
    void fileExists();
    void readingWhatIsNoFileThrows_data();
    void readingWhatIsNoFileThrows();
    void readingAFileThatVanishedThrows();
    void failedWrite_data();
    void failedWrite();

private:
    QString loadAndSave(const QString &path);

    std::unique_ptr<QTemporaryDir> m_dir;
};

namespace {

const QString defaultTitle = QStringLiteral("Titel der Tests");
const QString writeFailed = QStringLiteral("Fehler beim Schreiben der Datei. ");

QByteArray allBytesExcept(const QByteArray &excluded)
{
    QByteArray bytes;
    for (int b = 0; b < 256; ++b) {
        if (!excluded.contains(char(b)))
            bytes.append(char(b));
    }
    return bytes;
}

} // namespace

void TestTextFile::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    SetDefaultMessageTitle(defaultTitle);
}

// The editor's load and save sequences with no edit in between.
QString TestTextFile::loadAndSave(const QString &path)
{
    TextEncoding encoding = TextEncoding::Default;
    QString text = NormalizeLineEnds(TabsToSpaces(ReadTextFile(path, &encoding)));
    const QString saved = m_dir->filePath(QStringLiteral("saved.txt"));
    if (!replaceTextFile(saved, TrimTrailingLineEnds(text), encoding))
        return {};
    return saved;
}

void TestTextFile::readTextFile_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<TextEncoding>("encoding");

    const auto ascii = TextEncoding::Default;
    QTest::newRow("empty") << QByteArray() << QString() << ascii;
    QTest::newRow("one line without line end") << QByteArray("a") << "a\r\n" << ascii;
    QTest::newRow("lines ending in CR LF") << QByteArray("a\r\nb\r\n") << "a\r\nb\r\n" << ascii;
    QTest::newRow("last line without line end") << QByteArray("a\r\nb") << "a\r\nb\r\n" << ascii;
    QTest::newRow("lone CR") << QByteArray("a\rb") << "a\r\nb\r\n" << ascii;
    QTest::newRow("empty line stays") << QByteArray("a\r\n\r\n") << "a\r\n\r\n" << ascii;
    QTest::newRow("LF is part of its line") << QByteArray("a\nb\n") << "a\nb\n\r\n" << ascii;
    QTest::newRow("lone CR at the very end") << QByteArray("a\r") << "a\r\n" << ascii;
    QTest::newRow("only a CR") << QByteArray("\r") << "\r\n" << ascii;
    QTest::newRow("CR CR LF") << QByteArray("a\r\r\nb") << "a\r\n\r\nb\r\n" << ascii;
    QTest::newRow("NUL bytes") << QByteArray("a\0b\r\n\0", 6) << QString::fromUtf16(u"a\0b\r\n\0\r\n", 8) << ascii;
    QTest::newRow("UTF-8") << QByteArray("Gr\xC3\xBC\xC3\x9F"
                                         "e\r\n")
                           << QStringLiteral("Grüße\r\n") << TextEncoding::Utf8;
    QTest::newRow("UTF-8 with BOM") << QByteArray("\xEF\xBB\xBF"
                                                  "a\xC3\xA4\r\n")
                                    << QStringLiteral("aä\r\n") << TextEncoding::Utf8Bom;
    QTest::newRow("BOM only") << QByteArray("\xEF\xBB\xBF") << QString() << TextEncoding::Utf8Bom;
    QTest::newRow("second BOM is a character")
        << QByteArray("\xEF\xBB\xBF\xEF\xBB\xBFx") << QStringLiteral("\uFEFFx\r\n") << TextEncoding::Utf8Bom;
    QTest::newRow("Windows-1252") << QByteArray("Gr\xFC\xDF"
                                                "e \x80\r\n")
                                  << QStringLiteral("Grüße €\r\n") << TextEncoding::Windows1252;
    QTest::newRow("invalid UTF-8") << QByteArray("\xC3(") << QStringLiteral("Ã(\r\n") << TextEncoding::Windows1252;
    QTest::newRow("UTF-8 cut off at the end")
        << QByteArray("a\xC3") << QStringLiteral("aÃ\r\n") << TextEncoding::Windows1252;
    QTest::newRow("overlong UTF-8") << QByteArray("\xC0\x80") << QStringLiteral("À€\r\n") << TextEncoding::Windows1252;
    QTest::newRow("encoded surrogate") << QByteArray("\xED\xA0\x80") << QStringLiteral("\u00ED\u00A0\u20AC\r\n")
                                       << TextEncoding::Windows1252;
    QTest::newRow("BOM before invalid UTF-8")
        << QByteArray("\xEF\xBB\xBF\xFF") << QStringLiteral("ï»¿ÿ\r\n") << TextEncoding::Windows1252;
    // Its 0D and 0A bytes are halves of characters, no line ends.
    QTest::newRow("UTF-16 LE") << QByteArray("\xFF\xFE\x0D\x0A\x0A\x0D\r\0\n\0", 10)
                               << QStringLiteral("\u0A0D\u0D0A\r\n") << TextEncoding::Utf16LeBom;
    QTest::newRow("UTF-16 BE, a lone CR")
        << QByteArray("\xFE\xFF\0a\0\r\0b", 8) << QStringLiteral("a\r\nb\r\n") << TextEncoding::Utf16BeBom;
    QTest::newRow("UTF-16 mark with an odd count of bytes") << QByteArray("\xFF\xFE"
                                                                          "a")
                                                            << QStringLiteral("ÿþa\r\n") << TextEncoding::Windows1252;
}

void TestTextFile::readTextFile()
{
    QFETCH(QByteArray, content);
    QFETCH(QString, expected);
    QFETCH(TextEncoding, encoding);

    const QString path = m_dir->filePath(QStringLiteral("in.txt"));
    QVERIFY(testsupport::writeAll(path, content));

    // Start from another encoding, so a routine that sets none is caught.
    TextEncoding found = encoding == TextEncoding::Utf8Bom ? TextEncoding::Utf8 : TextEncoding::Utf8Bom;
    QCOMPARE(ReadTextFile(path, &found), expected);
    QCOMPARE(found, encoding);
}

void TestTextFile::readThenNormalize()
{
    const QString path = m_dir->filePath(QStringLiteral("lf.txt"));
    QVERIFY(testsupport::writeAll(path, "a\nb\n"));

    QCOMPARE(NormalizeLineEnds(ReadTextFile(path)), QStringLiteral("a\r\nb\r\n\r\n"));
}

void TestTextFile::saveSequence_data()
{
    QTest::addColumn<QString>("paneText");
    QTest::addColumn<QByteArray>("written");

    QTest::newRow("trailing empty line dropped") << "a\r\nb\r\n\r\n" << QByteArray("a\r\nb\r\n");
    QTest::newRow("line end added") << "a\r\nb" << QByteArray("a\r\nb\r\n");
    QTest::newRow("empty") << "" << QByteArray("\r\n");
    QTest::newRow("mixed trailing line ends") << "a\n\r\n\r" << QByteArray("a\r\n");
}

void TestTextFile::saveSequence()
{
    QFETCH(QString, paneText);
    QFETCH(QByteArray, written);

    const QString path = m_dir->filePath(QStringLiteral("out.txt"));
    testsupport::MessageCapture messages;
    QVERIFY(replaceTextFile(path, TrimTrailingLineEnds(paneText), TextEncoding::Utf8));
    QCOMPARE(testsupport::readAll(path), written);
    QVERIFY(messages.messages().isEmpty());
}

void TestTextFile::tabsToSpaces_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");

    QTest::newRow("two tabs") << "a\t\tb"
                              << "a  b";
    QTest::newRow("empty") << ""
                           << "";
    QTest::newRow("only a tab") << "\t"
                                << " ";
    QTest::newRow("no tabs") << "a b\r\n"
                             << "a b\r\n";
    QTest::newRow("tabs at both ends") << "\tx\ty\t"
                                       << " x y ";
    QTest::newRow("no tab stops") << "abc\td"
                                  << "abc d";
}

void TestTextFile::tabsToSpaces()
{
    QFETCH(QString, text);
    QFETCH(QString, expected);

    const QString before = text;
    QCOMPARE(TabsToSpaces(text), expected);
    QCOMPARE(text, before);
}

void TestTextFile::normalizeLineEnds_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");

    QTest::newRow("two LF") << "\n\n"
                            << "\r\n\r\n";
    QTest::newRow("CR CR LF unchanged") << "\r\r\n"
                                        << "\r\r\n";
    QTest::newRow("lone CR unchanged") << "\r"
                                       << "\r";
    QTest::newRow("CR LF unchanged") << "a\r\nb"
                                     << "a\r\nb";
    QTest::newRow("LF inside") << "a\nb"
                               << "a\r\nb";
    QTest::newRow("LF at the start") << "\na"
                                     << "\r\na";
    QTest::newRow("LF at the end") << "a\n"
                                   << "a\r\n";
    QTest::newRow("LF CR") << "\n\r"
                           << "\r\n\r";
    QTest::newRow("mixed") << "a\r\nb\nc\rd\n"
                           << "a\r\nb\r\nc\rd\r\n";
    QTest::newRow("empty") << ""
                           << "";
}

void TestTextFile::normalizeLineEnds()
{
    QFETCH(QString, text);
    QFETCH(QString, expected);

    QCOMPARE(NormalizeLineEnds(text), expected);
}

void TestTextFile::trimTrailingLineEnds_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");

    QTest::newRow("mixed line ends") << "a\n\r\n\r"
                                     << "a";
    QTest::newRow("line ends only") << "\r\n\n\r\r"
                                    << "";
    QTest::newRow("none trailing") << "abc"
                                   << "abc";
    QTest::newRow("inner line ends stay") << "a\r\nb\r\n"
                                          << "a\r\nb";
    QTest::newRow("trailing blank stays") << "a \r\n"
                                          << "a ";
    QTest::newRow("empty") << ""
                           << "";
}

void TestTextFile::trimTrailingLineEnds()
{
    QFETCH(QString, text);
    QFETCH(QString, expected);

    QCOMPARE(TrimTrailingLineEnds(text), expected);
    QCOMPARE(text, expected);
}

void TestTextFile::trimChangesTheCallersVariable()
{
    QString text = QStringLiteral("x\r\n");
    QString &result = TrimTrailingLineEnds(text);
    QCOMPARE(&result, &text);
    QCOMPARE(text, QStringLiteral("x"));
}

// An editor's buffer is saved in two pieces split at any character, even
// inside a surrogate pair or a CR LF; the file must be the one the whole
// text would give.
void TestTextFile::textInPiecesIsWrittenAsWhole_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("split");
    QTest::addColumn<TextEncoding>("encoding");

    const QString emoji = QStringLiteral("a😀b");
    QTest::newRow("surrogate pair split") << emoji << 2 << TextEncoding::Utf8;
    QTest::newRow("surrogate pair split, new file") << emoji << 2 << TextEncoding::Default;
    QTest::newRow("CR LF split at the end") << QStringLiteral("x\r\ny\r\n\r\n") << 5 << TextEncoding::Utf8;
    QTest::newRow("back piece only line ends") << QStringLiteral("Grüße\r\n") << 5 << TextEncoding::Windows1252;
    QTest::newRow("all line ends") << QStringLiteral("\r\n\r\n") << 3 << TextEncoding::Utf8;
    QTest::newRow("empty front") << QStringLiteral("äöü\r\n") << 0 << TextEncoding::Windows1252;
    QTest::newRow("empty back") << QStringLiteral("äöü\r\n") << 5 << TextEncoding::Utf8Bom;
    QTest::newRow("code page cannot hold the back") << QStringLiteral("ä → ö") << 2 << TextEncoding::Windows1252;
    QTest::newRow("empty text") << QString() << 0 << TextEncoding::Utf8;
    const QString loneHigh = QStringLiteral("a") + QChar(0xD800);
    QTest::newRow("lone high surrogate at the end") << loneHigh << 2 << TextEncoding::Utf8;
    QTest::newRow("lone high surrogate before the split") << loneHigh + QStringLiteral("b") << 2 << TextEncoding::Utf8;
    QTest::newRow("lone low surrogate after the split")
        << QStringLiteral("a") + QChar(0xDC00) << 1 << TextEncoding::Utf8;
}

void TestTextFile::textInPiecesIsWrittenAsWhole()
{
    QFETCH(QString, text);
    QFETCH(int, split);
    QFETCH(TextEncoding, encoding);

    const QString wholePath = m_dir->filePath(QStringLiteral("whole.txt"));
    const QString piecesPath = m_dir->filePath(QStringLiteral("pieces.txt"));
    QString whole = text;
    QVERIFY(replaceTextFile(wholePath, TrimTrailingLineEnds(whole), encoding));

    std::array<QStringView, 2> pieces{QStringView(text).first(split), QStringView(text).sliced(split)};
    TrimTrailingLineEnds(pieces);
    QCOMPARE(pieces[0].size() + pieces[1].size(), whole.size());
    QVERIFY(replaceTextFile(piecesPath, pieces, encoding));
    QCOMPARE(testsupport::readAll(piecesPath), testsupport::readAll(wholePath));
}

// Half of a surrogate pair cannot be written as UTF-8; it becomes U+FFFD
// and is never dropped.
void TestTextFile::loneSurrogatesAreWrittenAsReplacement_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("bytes");

    QTest::newRow("high at the end") << QStringLiteral("a") + QChar(0xD800) << QByteArray("a\xEF\xBF\xBD\r\n");
    QTest::newRow("high inside") << QStringLiteral("a") + QChar(0xD800) + QStringLiteral("b")
                                 << QByteArray("a\xEF\xBF\xBD"
                                               "b\r\n");
    QTest::newRow("low alone") << QChar(0xDC00) + QStringLiteral("b")
                               << QByteArray("\xEF\xBF\xBD"
                                             "b\r\n");
}

void TestTextFile::loneSurrogatesAreWrittenAsReplacement()
{
    QFETCH(QString, text);
    QFETCH(QByteArray, bytes);

    const QString path = m_dir->filePath(QStringLiteral("lone.txt"));
    QVERIFY(replaceTextFile(path, text, TextEncoding::Utf8));
    QCOMPARE(testsupport::readAll(path), bytes);
}

void TestTextFile::unchangedFileRoundTrips_data()
{
    QTest::addColumn<QByteArray>("content");

    QTest::newRow("ASCII") << QByteArray("body { color: red; }\r\np { }\r\n");
    QTest::newRow("UTF-8") << QByteArray("Gr\xC3\xBC\xC3\x9F"
                                         "e\r\n\xE2\x82\xAC 5\r\n");
    QTest::newRow("UTF-8 with BOM") << QByteArray("\xEF\xBB\xBF"
                                                  "K\xC3\xB6ln\r\nx\r\n");
    QTest::newRow("UTF-8 with BOM, the text starting with U+FEFF") << QByteArray("\xEF\xBB\xBF\xEF\xBB\xBF"
                                                                                 "Hallo\r\n");
    QTest::newRow("UTF-8 outside the basic plane") << QByteArray("\xF0\x9F\x98\x80\r\n");
    QTest::newRow("UTF-8 noncharacter") << QByteArray("\xEF\xBF\xBE\r\n");
    QTest::newRow("UTF-16 LE, a lone surrogate kept")
        << QByteArray("\xFF\xFE\x0D\x0A\x00\xD8\r\0\n\0\xE4\0\r\0\n\0", 16);
    QTest::newRow("UTF-16 BE") << QByteArray("\xFE\xFF\0\xE4\xD8\x3D\xDE\x00\0\r\0\n", 12);
    // A tab becomes a space on loading, and CR and LF only come as line
    // ends, so every other byte value is in the file.
    QTest::newRow("Windows-1252, every byte") << allBytesExcept("\t\r\n") + "\r\n" + allBytesExcept("\t\r\n") + "\r\n";
    QTest::newRow("NUL bytes") << QByteArray("a\0b\r\n", 5);
}

void TestTextFile::unchangedFileRoundTrips()
{
    QFETCH(QByteArray, content);

    const QString path = m_dir->filePath(QStringLiteral("in.txt"));
    QVERIFY(testsupport::writeAll(path, content));
    const QString saved = loadAndSave(path);
    QVERIFY(!saved.isEmpty());
    QCOMPARE(testsupport::readAll(saved), content);
    // Read back in the encoding found, as the recovery journal reads a saved
    // file, the bytes give the same text.
    TextEncoding found = TextEncoding::Default;
    const QString text = decodeText(content, &found);
    QCOMPARE(support::decodeTextAs(content, found), text);
}

void TestTextFile::everyByteDecodesAndEncodesBack()
{
    const QByteArray bytes = allBytesExcept({});
    TextEncoding found = TextEncoding::Default;
    const QString text = decodeText(bytes, &found);
    QCOMPARE(found, TextEncoding::Windows1252);
    QCOMPARE(text.size(), 256);
    TextEncoding used = TextEncoding::Default;
    QCOMPARE(encodeText(text, found, &used), bytes);
    QCOMPARE(used, TextEncoding::Windows1252);
}

void TestTextFile::windows1252Characters_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("text");

    QTest::newRow("euro") << QByteArray("\x80\xFF") << QStringLiteral("\u20AC\u00FF");
    QTest::newRow("unassigned bytes") << QByteArray("\x81\x8D\x8F\x90\x9D\xFF")
                                      << QStringLiteral("\u0081\u008D\u008F\u0090\u009D\u00FF");
    QTest::newRow("quotes and dashes") << QByteArray("\x84\x93\x94\x96\x97\xFF")
                                       << QStringLiteral("\u201E\u201C\u201D\u2013\u2014\u00FF");
    QTest::newRow("last of the upper range") << QByteArray("\x9F\xFF") << QStringLiteral("\u0178\u00FF");
    QTest::newRow("Latin-1 part") << QByteArray("\xA0\xE4\xFF") << QStringLiteral("\u00A0\u00E4\u00FF");
}

void TestTextFile::windows1252Characters()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, text);

    QCOMPARE(decodeText(bytes), text);
    TextEncoding used = TextEncoding::Utf8;
    QCOMPARE(encodeText(text, TextEncoding::Windows1252, &used), bytes);
    QCOMPARE(used, TextEncoding::Windows1252);
}

void TestTextFile::textTheCodePageCannotHoldIsWrittenAsUtf8()
{
    const QString path = m_dir->filePath(QStringLiteral("ansi.txt"));
    QVERIFY(testsupport::writeAll(path,
                                  "Gr\xFC\xDF"
                                  "e\r\n"));
    TextEncoding encoding = TextEncoding::Default;
    QString text = ReadTextFile(path, &encoding);
    QCOMPARE(encoding, TextEncoding::Windows1252);

    text = QStringLiteral("Grüße → Köln\u0080");
    QVERIFY(replaceTextFile(path, text, encoding));
    QCOMPARE(testsupport::readAll(path),
             QByteArray("Gr\xC3\xBC\xC3\x9F"
                        "e \xE2\x86\x92 K\xC3\xB6ln\xC2\x80\r\n"));

    TextEncoding reread = TextEncoding::Default;
    QCOMPARE(ReadTextFile(path, &reread), text + QStringLiteral("\r\n"));
    QCOMPARE(reread, TextEncoding::Utf8);

    TextEncoding used = TextEncoding::Windows1252;
    encodeText(QStringLiteral("\u0080"), TextEncoding::Windows1252, &used);
    QCOMPARE(used, TextEncoding::Utf8);

    // Windows-1252 that would read back as UTF-16 ("ÿþ" first, an even
    // count of bytes) is written as UTF-8, which reads back as it was.
    QVERIFY(replaceTextFile(path, QStringLiteral("ÿþab"), TextEncoding::Windows1252));
    QCOMPARE(ReadTextFile(path, &reread), QStringLiteral("ÿþab\r\n"));
    QCOMPARE(reread, TextEncoding::Utf8);
    QVERIFY(replaceTextFile(path, QStringLiteral("ÿþa"), TextEncoding::Windows1252));
    QCOMPARE(testsupport::readAll(path),
             QByteArray("\xFF\xFE"
                        "a\r\n"));
}

void TestTextFile::newFileEncoding()
{
    const QString path = m_dir->filePath(QStringLiteral("new.txt"));
    QVERIFY(replaceTextFile(path, QStringLiteral("ä")));
    const QByteArray expected
        = platform::newFilesUseAnsiCodePage() ? QByteArray("\xE4\r\n") : QByteArray("\xC3\xA4\r\n");
    QCOMPARE(testsupport::readAll(path), expected);
}

void TestTextFile::longTextLoadsAndSaves()
{
    QByteArray content;
    while (content.size() < 100000)
        content += "Zeile mit \xC3\xBC und Tab\tEnde\r\n";
    content += "x";
    const QString path = m_dir->filePath(QStringLiteral("long.txt"));
    QVERIFY(testsupport::writeAll(path, content));

    const QString saved = loadAndSave(path);
    QVERIFY(!saved.isEmpty());
    QByteArray expected = content.replace('\t', ' ') + "\r\n";
    QCOMPARE(testsupport::readAll(saved), expected);
}

void TestTextFile::fileExists_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<bool>("expected");

    QTest::newRow("file") << "file" << true;
    QTest::newRow("empty file") << "empty file" << true;
    QTest::newRow("missing") << "missing" << false;
    QTest::newRow("folder") << "folder" << false;
    QTest::newRow("empty path") << "empty path" << false;
    QTest::newRow("link to a file") << "link to a file" << true;
    QTest::newRow("dangling link") << "dangling link" << false;
    QTest::newRow("FIFO") << "fifo" << false;
}

void TestTextFile::fileExists()
{
    QFETCH(QString, kind);
    QFETCH(bool, expected);

    const QString file = m_dir->filePath(QStringLiteral("file.txt"));
    QVERIFY(testsupport::writeAll(file, "x"));
    QString path;
    if (kind == u"file") {
        path = file;
    } else if (kind == u"empty file") {
        path = m_dir->filePath(QStringLiteral("empty.txt"));
        QVERIFY(testsupport::writeAll(path, {}));
    } else if (kind == u"missing") {
        path = m_dir->filePath(QStringLiteral("missing.txt"));
    } else if (kind == u"folder") {
        path = m_dir->filePath(QStringLiteral("folder"));
        QVERIFY(QDir().mkdir(path));
    } else if (kind == u"link to a file") {
        path = m_dir->filePath(QStringLiteral("link"));
        QVERIFY(QFile::link(file, path));
    } else if (kind == u"dangling link") {
        path = m_dir->filePath(QStringLiteral("link"));
        QVERIFY(QFile::link(m_dir->filePath(QStringLiteral("gone")), path));
    } else if (kind == u"fifo") {
        path = m_dir->filePath(QStringLiteral("fifo"));
        if (QProcess::execute(QStringLiteral("mkfifo"), {path}) != 0)
            QSKIP("mkfifo is not available");
    }

    QCOMPARE(FileExists(path), expected);
}

void TestTextFile::readingWhatIsNoFileThrows_data()
{
    QTest::addColumn<QString>("kind");

    QTest::newRow("missing") << "missing";
    QTest::newRow("folder") << "folder";
    QTest::newRow("empty path") << "empty path";
    QTest::newRow("FIFO without a writer") << "fifo";
}

void TestTextFile::readingWhatIsNoFileThrows()
{
    QFETCH(QString, kind);

    QString path;
    if (kind == u"missing") {
        path = m_dir->filePath(QStringLiteral("missing.txt"));
    } else if (kind == u"folder") {
        path = m_dir->filePath(QStringLiteral("folder"));
        QVERIFY(QDir().mkdir(path));
    } else if (kind == u"fifo") {
        path = m_dir->filePath(QStringLiteral("fifo"));
        if (QProcess::execute(QStringLiteral("mkfifo"), {path}) != 0)
            QSKIP("mkfifo is not available");
    }

    QVERIFY_THROWS_EXCEPTION(TextFileError, ReadTextFile(path));
}

void TestTextFile::readingAFileThatVanishedThrows()
{
    const QString path = m_dir->filePath(QStringLiteral("picked.txt"));
    QVERIFY(testsupport::writeAll(path, "a\r\n"));
    QVERIFY(FileExists(path));
    QVERIFY(QFile::remove(path));

    QVERIFY_THROWS_EXCEPTION(TextFileError, ReadTextFile(path));
}

void TestTextFile::failedWrite_data()
{
    QTest::addColumn<bool>("windowsSave");
    QTest::addColumn<bool>("reported");

    QTest::newRow("replaceTextFile only answers") << false << false;
    QTest::newRow("ReportWriteFailure tells the user") << true << true;
}

void TestTextFile::failedWrite()
{
    QFETCH(bool, windowsSave);
    QFETCH(bool, reported);
    const QString path = m_dir->filePath(QStringLiteral("no such folder/out.txt"));
    testsupport::MessageCapture messages;

    const QString text = QStringLiteral("a");
    const bool written = windowsSave ? ReportWriteFailure(replaceTextFile(path, text)) : replaceTextFile(path, text);

    QVERIFY(!written);
    QCOMPARE(messages.messages().size(), reported ? 1 : 0);
    if (reported) {
        QCOMPARE(messages.messages().first().prompt, writeFailed);
        QCOMPARE(messages.messages().first().style, 48);
        QCOMPARE(messages.messages().first().title, defaultTitle);
    }
    QVERIFY(!QFile::exists(path));
}

QTEST_GUILESS_MAIN(TestTextFile)
#include "tst_textfile.moc"
