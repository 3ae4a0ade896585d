#include "tests/textengine/view/shownview.h"
#include "textengine/view/textview.h"

#include <QAccessible>
#include <QTest>
#include <QtGui/private/qguiapplication_p.h>
#include <qpa/qplatformaccessibility.h>
#include <qpa/qplatformintegration.h>

using textengine::TextView;

Q_DECLARE_METATYPE(QAccessible::TextBoundaryType)

namespace {

// The events the view sends, as a screen reader would receive them.
QList<QAccessible::Event> received;
QList<int> receivedPositions;
QStringList receivedTexts;

void recordEvent(QAccessibleEvent *event)
{
    received << event->type();
    switch (event->type()) {
    case QAccessible::TextCaretMoved:
        receivedPositions << static_cast<QAccessibleTextCursorEvent *>(event)->cursorPosition();
        break;
    case QAccessible::TextInserted:
        receivedPositions << static_cast<QAccessibleTextInsertEvent *>(event)->changePosition();
        receivedTexts << static_cast<QAccessibleTextInsertEvent *>(event)->textInserted();
        break;
    case QAccessible::TextRemoved:
        receivedPositions << static_cast<QAccessibleTextRemoveEvent *>(event)->changePosition();
        receivedTexts << static_cast<QAccessibleTextRemoveEvent *>(event)->textRemoved();
        break;
    default:
        break;
    }
}

// The document pane with a text of several scripts, and what a screen
// reader asks.
struct ReadableView : ShownView
{
    ReadableView()
    {
        view.setAccessibleName(QStringLiteral("Dokument"));
        view.setText(QStringLiteral("Eins zwei. Drei!\r\nשלום\r\n\r\nEnde"));
        face = QAccessible::queryAccessibleInterface(&view);
        text = face ? face->textInterface() : nullptr;
    }
    QAccessibleInterface *face = nullptr;
    QAccessibleTextInterface *text = nullptr;
};

} // namespace

class TestTextAccessible : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void describesTheView();
    void textAtOffset_data();
    void textAtOffset();
    void caretAndSelection();
    void characterPlaces();
    void editsThroughTheInterface();
    void eventsFollowEdits();
};

void TestTextAccessible::initTestCase()
{
    // As when a screen reader is listening: the events go to the recorder.
    QPlatformAccessibility *platform = QGuiApplicationPrivate::platformIntegration()->accessibility();
    QVERIFY(platform);
    platform->setActive(true);
    QAccessible::installUpdateHandler(recordEvent);
}

void TestTextAccessible::cleanupTestCase()
{
    QAccessible::installUpdateHandler(nullptr);
}

void TestTextAccessible::describesTheView()
{
    ReadableView shown;
    QVERIFY(shown.ok);
    QVERIFY(shown.text);
    QVERIFY(shown.face->editableTextInterface());
    QCOMPARE(shown.face->role(), QAccessible::EditableText);
    QCOMPARE(shown.face->text(QAccessible::Name), QStringLiteral("Dokument"));
    QVERIFY(shown.face->state().editable && shown.face->state().multiLine);
    // Line breaks count as one character each, as in Qt's own widgets.
    QCOMPARE(shown.text->characterCount(), 27);
    QCOMPARE(shown.text->text(0, 27), QStringLiteral("Eins zwei. Drei!\nשלום\n\nEnde"));
    QCOMPARE(shown.text->text(17, 21), QStringLiteral("שלום"));
}

void TestTextAccessible::textAtOffset_data()
{
    QTest::addColumn<int>("offset");
    QTest::addColumn<QAccessible::TextBoundaryType>("boundary");
    QTest::addColumn<QString>("at");
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("after");
    QTest::newRow("character") << 1 << QAccessible::CharBoundary << "i"
                               << "E"
                               << "n";
    QTest::newRow("line break as a character") << 16 << QAccessible::CharBoundary << "\n"
                                               << "!"
                                               << "ש";
    QTest::newRow("word") << 6 << QAccessible::WordBoundary << "zwei"
                          << " "
                          << ".";
    QTest::newRow("sentence") << 12 << QAccessible::SentenceBoundary << "Drei!\n"
                              << "Eins zwei. "
                              << "שלום\n";
    QTest::newRow("line") << 18 << QAccessible::LineBoundary << "שלום\n"
                          << "Eins zwei. Drei!\n"
                          << "\n";
    QTest::newRow("paragraph") << 24 << QAccessible::ParagraphBoundary << "Ende"
                               << "\n"
                               << "";
}

void TestTextAccessible::textAtOffset()
{
    QFETCH(int, offset);
    QFETCH(QAccessible::TextBoundaryType, boundary);
    QFETCH(QString, at);
    QFETCH(QString, before);
    QFETCH(QString, after);
    ReadableView shown;
    QVERIFY(shown.ok);
    int start = -1;
    int end = -1;
    QCOMPARE(shown.text->textAtOffset(offset, boundary, &start, &end), at);
    QCOMPARE(shown.text->text(start, end), at);
    QCOMPARE(shown.text->textBeforeOffset(offset, boundary, &start, &end), before);
    QCOMPARE(shown.text->textAfterOffset(offset, boundary, &start, &end), after);
}

void TestTextAccessible::caretAndSelection()
{
    ReadableView shown;
    QVERIFY(shown.ok);
    // Offsets skip the CR of each CR LF; the view counts it.
    shown.view.setCaretPosition(19);
    QCOMPARE(shown.text->cursorPosition(), 18);
    shown.text->setCursorPosition(24);
    QCOMPARE(shown.view.caretPosition(), 27);
    QCOMPARE(shown.text->selectionCount(), 0);
    shown.text->setSelection(0, 5, 21);
    QCOMPARE(shown.view.selectedText(), QStringLiteral("zwei. Drei!\r\nשלום"));
    int start = -1;
    int end = -1;
    shown.text->selection(0, &start, &end);
    QCOMPARE(start, 5);
    QCOMPARE(end, 21);
    shown.text->removeSelection(0);
    QCOMPARE(shown.text->selectionCount(), 0);
}

void TestTextAccessible::characterPlaces()
{
    ReadableView shown;
    QVERIFY(shown.ok);
    const QRect view(shown.view.mapToGlobal(QPoint(0, 0)), shown.view.size());
    for (const int offset : {0, 3, 17, 20, 24}) {
        const QRect box = shown.text->characterRect(offset);
        QVERIFY2(view.contains(box), qPrintable(QString::number(offset)));
        QVERIFY(box.width() > 1);
        QCOMPARE(shown.text->offsetAtPoint(box.center()), offset);
    }
    // The Hebrew word runs right to left.
    QVERIFY(shown.text->characterRect(17).left() > shown.text->characterRect(20).left());
}

void TestTextAccessible::editsThroughTheInterface()
{
    ReadableView shown;
    QVERIFY(shown.ok);
    QAccessibleEditableTextInterface *editable = shown.face->editableTextInterface();
    editable->insertText(17, QStringLiteral("neu\n"));
    QCOMPARE(shown.view.text(), QStringLiteral("Eins zwei. Drei!\r\nneu\r\nשלום\r\n\r\nEnde"));
    editable->deleteText(0, 5);
    editable->replaceText(0, 4, QStringLiteral("ZWEI"));
    QCOMPARE(shown.text->text(0, 16), QStringLiteral("ZWEI. Drei!\nneu\n"));
}

void TestTextAccessible::eventsFollowEdits()
{
    ReadableView shown;
    QVERIFY(shown.ok);
    shown.view.setCaretPosition(16);
    received.clear();
    receivedPositions.clear();
    receivedTexts.clear();
    QTest::keyClick(&shown.view, Qt::Key_X);
    QTest::keyClick(&shown.view, Qt::Key_Backspace);
    QTest::keyClick(&shown.view, Qt::Key_Right);
    QVERIFY(received.contains(QAccessible::TextInserted));
    QVERIFY(received.contains(QAccessible::TextRemoved));
    QCOMPARE(received.last(), QAccessible::TextSelectionChanged);
    QCOMPARE(receivedTexts, (QStringList{"x", "x"}));
    // Inserted at 16, caret at 17, removed at 16, caret at 16, then past the
    // line break to 17.
    QCOMPARE(receivedPositions, (QList<int>{16, 17, 16, 16, 17}));
}

QTEST_MAIN(TestTextAccessible)
#include "tst_textaccessible.moc"
