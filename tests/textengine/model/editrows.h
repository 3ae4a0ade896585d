#pragma once

#include <QString>
#include <QTest>
#include <vector>

// One edit: `removed` characters at `position` replaced by `inserted`.
struct Edit
{
    int position;
    int removed;
    QString inserted;
};
Q_DECLARE_METATYPE(Edit)
Q_DECLARE_METATYPE(std::vector<Edit>)

// Texts with edits that move the buffer's hole, make and break line breaks.
inline void addEditRows()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<std::vector<Edit>>("edits");
    const QString lines = QStringLiteral("ab\r\ncd\r\nef");
    QTest::newRow("insert at start") << lines << std::vector<Edit>{{0, 0, QStringLiteral("X")}};
    QTest::newRow("insert in the middle") << lines << std::vector<Edit>{{5, 0, QStringLiteral("XY")}};
    QTest::newRow("insert at end") << lines << std::vector<Edit>{{10, 0, QStringLiteral("\r\nZ")}};
    QTest::newRow("delete at start") << lines << std::vector<Edit>{{0, 2, QString()}};
    QTest::newRow("delete a CR LF") << lines << std::vector<Edit>{{2, 2, QString()}};
    QTest::newRow("delete at end") << lines << std::vector<Edit>{{8, 2, QString()}};
    QTest::newRow("LF after a lone CR joins the pair")
        << QStringLiteral("a\rb") << std::vector<Edit>{{2, 0, QStringLiteral("\n")}};
    QTest::newRow("CR before a lone LF joins the pair")
        << QStringLiteral("a\nb") << std::vector<Edit>{{1, 0, QStringLiteral("\r")}};
    QTest::newRow("text between CR and LF splits the pair")
        << QStringLiteral("a\r\nb") << std::vector<Edit>{{2, 0, QStringLiteral("x")}};
    QTest::newRow("deleting the LF leaves a lone CR")
        << QStringLiteral("a\r\nb") << std::vector<Edit>{{2, 1, QString()}};
    QTest::newRow("edits far apart move the gap") << lines
                                                  << std::vector<Edit>{{0, 0, QStringLiteral("1")},
                                                                       {11, 0, QStringLiteral("2")},
                                                                       {1, 3, QStringLiteral("\r")},
                                                                       {3, 0, QStringLiteral("\n\n")},
                                                                       {0, 10, QString()}};
    QTest::newRow("edit bigger than the gap")
        << QStringLiteral("x")
        << std::vector<Edit>{{1, 0, QString(10000, u'y') + QStringLiteral("\r\n")}, {5, 9000, QString()}};
    QTest::newRow("LF after a lone CR before a long line") << QStringLiteral("ab\r")
            + QStringLiteral("\U0001F600").repeated(10000) << std::vector<Edit>{{3, 0, QStringLiteral("\n")}};
    QTest::newRow("empty text") << QString()
                                << std::vector<Edit>{{0, 0, QStringLiteral("\r\n\r\n")}, {0, 4, QString()}};
}
