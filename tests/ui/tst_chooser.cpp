// The stylesheet chooser on its own: where it starts, what it selects, and
// the answer it hands back.
#include "forms/commandbutton.h"
#include "forms/drivelist.h"
#include "forms/filelist.h"
#include "forms/folderlist.h"
#include "forms/twips.h"
#include "platform/screen.h"
#include "support/message.h"
#include "tests/testsupport.h"
#include "tests/uitestsupport.h"
#include "ui/chooser/frmfileselect.h"

#include <QDir>
#include <QDropEvent>
#include <QMimeData>
#include <QPointer>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

#include <memory>
#include <optional>

using testsupport::native;
using testsupport::rowOf;
using testsupport::writeAll;

namespace {

// Opens the chooser as the stylesheet pane does.
QPointer<frmFileSelect> openChooser(const QString &preselect)
{
    auto *chooser = new frmFileSelect(QStringLiteral("CSS-Datei auswählen"), preselect);
    chooser->Load();
    chooser->Show();
    return chooser;
}

// The one answer the chooser gave.
ChooserAnswer answerOf(const QSignalSpy &answers)
{
    if (answers.count() != 1)
        return {false, QStringLiteral("%1 answers").arg(answers.count())};
    return answers.first().first().value<ChooserAnswer>();
}

QString selected(forms::FileList *list)
{
    for (int i = 0; i < list->ListCount(); ++i)
        if (list->Selected(i))
            return list->List(i);
    return QString();
}

} // namespace

class ChooserTest : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void designAndPlace();
    void controlTable_data();
    void controlTable();
    void preselection_data();
    void preselection();
    void acceptByDoubleClick();
    void acceptWithButton();
    void acceptInRootHasOneSeparator();
    void acceptWithNothingSelected();
    void cancelAnswersNoFile();
    void titleBarCloseCancels();
    void dropOfTextFile();
    void dropOfRemoteUrl();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    std::optional<testsupport::ScopedOverride<std::optional<QList<platform::ScreenArea>>>> m_screens;
    QString path(const QString &relative) const { return m_dir->path() + QLatin1Char('/') + relative; }
};

void ChooserTest::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    support::SetDefaultMessageTitle(QStringLiteral("Brenwick TXT-HTML-CSS-Editor"));
    m_screens.emplace(platform::setScreensOverride, platform::singleScreen(QSize(12000, 9000)));
    QDir().mkpath(path("web/css"));
    writeAll(path("web/css/main.css"), "body {}\r\n");
    writeAll(path("web/css/print.css"), "p {}\r\n");
    writeAll(path("web/css/notes.txt"), "x\r\n");
    writeAll(path("web/css/.hidden.css"), "x\r\n");
}

void ChooserTest::cleanup()
{
    const auto windows = QApplication::topLevelWidgets();
    for (QWidget *w : windows)
        if (qobject_cast<frmFileSelect *>(w))
            delete w;
    m_screens.reset();
    m_dir.reset();
}

void ChooserTest::designAndPlace()
{
    QPointer<frmFileSelect> chooser = openChooser(QString());
    QCOMPARE(chooser->windowTitle(), QStringLiteral("CSS-Datei auswählen"));
    // 12000 x 9000 screen, 5355 x 5055 window without a frame offscreen.
    QCOMPARE(chooser->Left(), 3323);
    QCOMPARE(chooser->Top(), 1298);
    QCOMPARE(chooser->Command1->text(), QStringLiteral("Ü B E R N E H M E N"));
    QCOMPARE(chooser->Command2->text(), QStringLiteral("A B B R E C H E N"));
    QVERIFY(chooser->Command1->font().bold());
    QVERIFY(!chooser->Command2->font().bold());
    // The client area is 5355 x 5055 twips.
    QCOMPARE(chooser->size() * 15, QSize(5355, 5055));
    QCOMPARE(chooser->File1->Pattern(), QStringLiteral("*.css"));
    QVERIFY(!chooser->Command1->isDefault());
    QCOMPARE(chooser->minimumSize(), chooser->maximumSize());
    QVERIFY(chooser->windowHandle() == nullptr || chooser->windowHandle()->flags().testFlag(Qt::WindowStaysOnTopHint)
            || chooser->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
}

void ChooserTest::controlTable_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("twips");
    QTest::addColumn<QString>("next");
    QTest::newRow("Drive1") << "Drive1" << QRect(60, 60, 2475, 315) << "Dir1";
    QTest::newRow("Dir1") << "Dir1" << QRect(60, 420, 2475, 4590) << "File1";
    QTest::newRow("File1") << "File1" << QRect(2580, 60, 2715, 3600) << "Command1";
    QTest::newRow("Command1") << "Command1" << QRect(2580, 4380, 2715, 615) << "Command2";
    QTest::newRow("Command2") << "Command2" << QRect(2580, 3720, 2715, 615) << "Drive1";
}

void ChooserTest::controlTable()
{
    QFETCH(QString, name);
    QFETCH(QRect, twips);
    QFETCH(QString, next);
    QPointer<frmFileSelect> chooser = openChooser(QString());
    auto *control = dynamic_cast<forms::Placeable *>(chooser->findChild<QWidget *>(name));
    QVERIFY(control);
    QCOMPARE(QRect(control->Left(), control->Top(), control->Width(), control->Height()), twips);
    QCOMPARE(control->widget()->geometry(), forms::twipsToPixels(twips));
    QWidget *reached = testsupport::nextTabStop(
        control->widget(), {chooser->Drive1, chooser->Dir1, chooser->File1, chooser->Command1, chooser->Command2});
    QVERIFY(reached);
    QCOMPARE(reached->objectName(), next);
}

void ChooserTest::preselection_data()
{
    QTest::addColumn<QString>("preselect");
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QString>("selectedName");

    QTest::newRow("exact name") << "web/css/main.css"
                                << "web/css"
                                << "main.css";
    QTest::newRow("name in other case") << "web/css/MAIN.CSS"
                                        << ""
                                        << "";
    QTest::newRow("file not matching the pattern") << "web/css/notes.txt"
                                                   << "web/css"
                                                   << "";
    QTest::newRow("missing file") << "web/css/gone.css"
                                  << ""
                                  << "";
    QTest::newRow("empty") << ""
                           << ""
                           << "";
}

void ChooserTest::preselection()
{
    QFETCH(QString, preselect);
    QFETCH(QString, folder);
    QFETCH(QString, selectedName);

    const QString start = native(QDir::currentPath());
    QPointer<frmFileSelect> chooser = openChooser(preselect.isEmpty() ? QString() : native(path(preselect)));
    if (folder.isEmpty()) {
        // A preselection that cannot be opened leaves the lists where they
        // start, with nothing selected.
        QCOMPARE(selected(chooser->File1), QString());
        return;
    }
    QCOMPARE(chooser->Dir1->Path(), native(path(folder)));
    QCOMPARE(chooser->File1->Path(), native(path(folder)));
    QCOMPARE(selected(chooser->File1), selectedName);
    QVERIFY(rowOf(chooser->File1, "notes.txt") < 0);
    QVERIFY(rowOf(chooser->File1, ".hidden.css") < 0);
    Q_UNUSED(start);
}

void ChooserTest::acceptByDoubleClick()
{
    QPointer<frmFileSelect> chooser = openChooser(native(path("web/css/main.css")));
    QSignalSpy answers(chooser, &frmFileSelect::Answered);
    const int row = rowOf(chooser->File1, "print.css");
    const QRect rect = chooser->File1->visualRect(chooser->File1->model()->index(row, 0));
    QTest::mouseDClick(chooser->File1->viewport(), Qt::LeftButton, {}, rect.center());
    QVERIFY(answerOf(answers).picked);
    QCOMPARE(answerOf(answers).file, native(path("web/css/print.css")));
    QTRY_VERIFY(chooser.isNull());
}

void ChooserTest::acceptWithButton()
{
    QPointer<frmFileSelect> chooser = openChooser(native(path("web/css/main.css")));
    QSignalSpy answers(chooser, &frmFileSelect::Answered);
    QTest::mouseClick(chooser->Command1, Qt::LeftButton);
    QVERIFY(answerOf(answers).picked);
    QCOMPARE(answerOf(answers).file, native(path("web/css/main.css")));
    QTRY_VERIFY(chooser.isNull());
}

void ChooserTest::acceptInRootHasOneSeparator()
{
    QPointer<frmFileSelect> chooser = openChooser(QString());
    QSignalSpy answers(chooser, &frmFileSelect::Answered);
    QVERIFY(chooser->Dir1->SetPath(QDir::rootPath()));
    chooser->File1->SetPattern(QStringLiteral("*"));
    if (chooser->File1->ListCount() == 0)
        QSKIP("the root folder holds no file to pick");
    chooser->File1->SetSelected(0, true);
    const QString name = chooser->File1->FileName();
    QTest::mouseClick(chooser->Command1, Qt::LeftButton);
    QCOMPARE(answerOf(answers).file, native(QDir::rootPath()) + name);
}

void ChooserTest::acceptWithNothingSelected()
{
    QPointer<frmFileSelect> chooser = openChooser(QString());
    QSignalSpy answers(chooser, &frmFileSelect::Answered);
    chooser->Dir1->SetPath(native(path("web/css")));
    QCOMPARE(chooser->File1->FileName(), QString());
    QTest::mouseClick(chooser->Command1, Qt::LeftButton);
    QCOMPARE(answers.count(), 0);
    QVERIFY(!chooser.isNull());
    QVERIFY(chooser->isVisible());
}

void ChooserTest::cancelAnswersNoFile()
{
    QPointer<frmFileSelect> chooser = openChooser(native(path("web/css/main.css")));
    QSignalSpy answers(chooser, &frmFileSelect::Answered);
    chooser->File1->SetSelected(rowOf(chooser->File1, "print.css"), true);
    QTest::mouseClick(chooser->Command2, Qt::LeftButton);
    QCOMPARE(answers.count(), 1);
    QVERIFY(!answerOf(answers).picked);
    QCOMPARE(answerOf(answers).file, QString());
    QTRY_VERIFY(chooser.isNull());
}

void ChooserTest::titleBarCloseCancels()
{
    QPointer<frmFileSelect> chooser = openChooser(native(path("web/css/main.css")));
    QSignalSpy answers(chooser, &frmFileSelect::Answered);
    chooser->close();
    QCOMPARE(answers.count(), 1);
    QVERIFY(!answerOf(answers).picked);
}

void ChooserTest::dropOfTextFile()
{
    QDir().mkpath(path("temp"));
    writeAll(path("temp/a.txt"), "a\r\n");
    writeAll(path("temp/b.css"), "b\r\n");
    QPointer<frmFileSelect> chooser = openChooser(native(path("web/css/main.css")));
    QSignalSpy answers(chooser, &frmFileSelect::Answered);
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(path("temp/a.txt"))});
    testsupport::dragAndDrop(chooser->Dir1->viewport(), &data);
    QCOMPARE(chooser->Dir1->Path(), native(path("temp")));
    QCOMPARE(chooser->File1->Path(), native(path("temp")));
    QCOMPARE(chooser->File1->ListCount(), 1);
    QCOMPARE(chooser->File1->List(0), QStringLiteral("b.css"));
    QCOMPARE(answers.count(), 0);
}

void ChooserTest::dropOfRemoteUrl()
{
    QPointer<frmFileSelect> chooser = openChooser(native(path("web/css/main.css")));
    QMimeData data;
    data.setUrls({QUrl(QStringLiteral("https://example.org/x.css"))});
    testsupport::dragAndDrop(chooser->Dir1->viewport(), &data);
    QCOMPARE(chooser->Dir1->Path(), native(path("web/css")));
}

QTEST_MAIN(ChooserTest)
#include "tst_chooser.moc"
