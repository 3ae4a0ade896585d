// Before the first window: the names under which the desktop knows the
// program, and the texts Qt draws itself in German while our own menus keep
// theirs.
#include "app/desktopidentity.h"
#include "forms/textbox.h"
#include "program/desktopsetup.h"
#include "tests/mainwindowcontrols.h"
#include "tests/uitestsupport.h"
#include "ui/main/frmtextedit.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

namespace {
// A menu entry as the user reads it: without the mnemonic's "&".
QString shown(QString text)
{
    return text.remove(QLatin1Char('&'));
}
} // namespace

class DesktopSetupTest : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void names();
    void messageBoxButtons_data();
    void messageBoxButtons();
    void contextMenus_data();
    void contextMenus();

private:
    QTemporaryDir m_home;
};

void DesktopSetupTest::initTestCase()
{
    QVERIFY(m_home.isValid());
    qputenv("HOME", QFile::encodeName(m_home.path()));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_home.path() + QStringLiteral("/.config")));
    SetUpForDesktop(*qApp);
}

void DesktopSetupTest::names()
{
    // The desktop entry, icon and metainfo carry this name; the taskbar
    // groups the window with its launcher by it.
    QCOMPARE(QGuiApplication::desktopFileName(), DesktopFileName());
    QVERIFY(!DesktopFileName().isEmpty());
    QVERIFY(!DesktopFileName().endsWith(QLatin1String(".desktop")));
    QCOMPARE(QCoreApplication::applicationName(), QStringLiteral("brenwick-editor"));
    QCOMPARE(QCoreApplication::organizationName(), QString());
    QCOMPARE(QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation),
             m_home.path() + QStringLiteral("/.config/brenwick-editor"));
}

void DesktopSetupTest::messageBoxButtons_data()
{
    QTest::addColumn<int>("button");
    QTest::addColumn<QString>("text");

    QTest::newRow("OK") << int(QMessageBox::Ok) << "OK";
    QTest::newRow("Cancel") << int(QMessageBox::Cancel) << "Abbrechen";
    QTest::newRow("Yes") << int(QMessageBox::Yes) << "Ja";
    QTest::newRow("No") << int(QMessageBox::No) << "Nein";
    QTest::newRow("Save") << int(QMessageBox::Save) << "Speichern";
    QTest::newRow("Discard") << int(QMessageBox::Discard) << "Verwerfen";
    QTest::newRow("Close") << int(QMessageBox::Close) << "Schließen";
    QTest::newRow("Retry") << int(QMessageBox::Retry) << "Wiederholen";
    QTest::newRow("Ignore") << int(QMessageBox::Ignore) << "Ignorieren";
}

void DesktopSetupTest::messageBoxButtons()
{
    QFETCH(int, button);
    QFETCH(QString, text);
    QMessageBox box(QMessageBox::Warning, QStringLiteral("Titel"), QStringLiteral("Text"),
                    QMessageBox::StandardButton(button));
    QAbstractButton *shownButton = box.button(QMessageBox::StandardButton(button));
    QVERIFY(shownButton);
    QVERIFY2(shown(shownButton->text()) == text,
             qPrintable(QStringLiteral("\"%1\" instead of \"%2\"; Qt's German texts come with the package "
                                       "qt6-translations-l10n")
                            .arg(shownButton->text(), text)));
}

void DesktopSetupTest::contextMenus_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<QStringList>("entries");
    QTest::addColumn<QString>("undoShortcut");

    // Qt's own menu of the pattern box, its shortcuts named in German too
    // (which keys redo takes depends on the platform).
    QTest::newRow("txtPattern, Qt's menu")
        << "txtPattern" << QStringList{"Rückgängig", "Wiederherstellen", "", "Ausschneiden",   "Kopieren",
                                       "Einfügen",   "Löschen",          "", "Alles auswählen"}
        << "Strg+Z";
    // The editors' menu is our own, with the same entries and keys, the
    // find window's entry and the panes' options.
    QTest::newRow("txtTXT, our menu") << "txtTXT"
                                      << QStringList{"Rückgängig",
                                                     "Wiederherstellen",
                                                     "",
                                                     "Ausschneiden",
                                                     "Kopieren",
                                                     "Einfügen",
                                                     "Löschen",
                                                     "",
                                                     "Alles auswählen",
                                                     "",
                                                     "Suchen und Ersetzen…",
                                                     "",
                                                     "Syntax hervorheben",
                                                     "Zeilennummern anzeigen"}
                                      << "Strg+Z";
}

void DesktopSetupTest::contextMenus()
{
    QFETCH(QString, control);
    QFETCH(QStringList, entries);
    QFETCH(QString, undoShortcut);

    QTemporaryDir dir;
    testsupport::ProgramRun program(dir.path());
    frmTextEdit *window = program.start();
    QWidget *target = control == QLatin1String("txtPattern") ? static_cast<QWidget *>(txtPattern(window))
                                                             : txtTXT(window)->viewport();

    // The menu runs its own event loop: it is read and closed from inside.
    QStringList seen;
    QStringList shortcuts;
    bool opened = false;
    QTimer reader;
    reader.setInterval(10);
    connect(&reader, &QTimer::timeout, this, [&] {
        auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
        if (!menu)
            return;
        opened = true;
        for (const QAction *action : menu->actions()) {
            const QString text = shown(action->text());
            seen << text.section(QLatin1Char('\t'), 0, 0);
            shortcuts << text.section(QLatin1Char('\t'), 1);
        }
        menu->close();
        reader.stop();
    });
    reader.start();
    const QPoint at(5, 5);
    QContextMenuEvent event(QContextMenuEvent::Mouse, at, target->mapToGlobal(at));
    QApplication::sendEvent(target, &event);
    QTRY_VERIFY_WITH_TIMEOUT(opened, 10000);
    QCOMPARE(seen, entries);
    QCOMPARE(shortcuts.value(0), undoShortcut);
}

QTEST_MAIN(DesktopSetupTest)
#include "tst_desktopsetup.moc"
