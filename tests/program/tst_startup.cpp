// Start-up: the application state, the settings-file name and the window's
// size and place from the settings file.
#include "app/appstate.h"
#include "platform/screen.h"
#include "platform/window.h"
#include "tests/uitestsupport.h"
#include "ui/main/frmtextedit.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

using testsupport::ProgramRun;

class StartupTest : public QObject
{
    Q_OBJECT
private slots:
    void applicationState();
    void geometry_data();
    void geometry();
    void heightWithoutNumberGivesSmallestHeight();
    void firstRunWidthUnderWindowManager();
    void offScreenPlaceIsCentred_data();
    void offScreenPlaceIsCentred();
};

void StartupTest::applicationState()
{
    QTemporaryDir dir;
    ProgramRun run(dir.path(), QStringLiteral("Editor"));
    frmTextEdit *window = run.start();

    const AppState &app = App();
    const QString folder = QDir::toNativeSeparators(dir.path()) + QDir::separator();
    QCOMPARE(app.AppDir, folder);
    QCOMPARE(app.AppExe, QStringLiteral("Editor"));
    QCOMPARE(app.AppTitle, QStringLiteral("Brenwick TXT-HTML-CSS-Editor"));
    QCOMPARE(app.IniFile, folder + QStringLiteral("Editor.ini"));
    QCOMPARE(app.FilePattern, QStringLiteral("*.css;*.txt;*.htm;*.html;*.ini;*.vbp;*.bas;*.nfo"));
    QCOMPARE(window->Caption(), app.AppTitle);
    QVERIFY(window->isVisible());
    // Every size of the icon loads: an icon whose files are missing is not
    // null, it only draws nothing.
    for (int size : {16, 32, 48, 64, 128, 256})
        QCOMPARE(window->windowIcon().pixmap(QSize(size, size)).size(), QSize(size, size));
    QCOMPARE(window->palette().color(QPalette::Window), QColor(0xE0, 0xE0, 0xE0));
    // Start-up only reads the settings file.
    QVERIFY(!QFile::exists(app.IniFile));
}

void StartupTest::geometry_data()
{
    QTest::addColumn<QStringList>("settings");
    QTest::addColumn<int>("left");
    QTest::addColumn<int>("top");
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");

    // Centred: Top = R(11520 * 0.85) div 2 - R(height) div 2, Left likewise
    // over the full width; the window is 13620 wide as designed (no frame
    // offscreen).
    QTest::newRow("no settings file") << QStringList{} << 870 << 674 << 13620 << 8445;
    QTest::newRow("Top -1 ignores Left") << QStringList{"Top=-1", "Left=5000"} << 870 << 674 << 13620 << 8445;
    QTest::newRow("Top 0 without Left") << QStringList{"Top=0"} << 0 << 0 << 13620 << 8445;
    // A size no window can take leaves the designed one.
    QTest::newRow("negative width and height")
        << QStringList{"Width=-5", "Height=-300", "Top=1200", "Left=2400"} << 2400 << 1200 << 13620 << 7860;
    QTest::newRow("Top present but empty") << QStringList{"Top="} << 870 << 674 << 13620 << 8445;
    // Only exactly -1 centres; other numbers near it are a place, rounded.
    QTest::newRow("Top -1.0 is exactly -1") << QStringList{"Top=-1.0", "Left=5000"} << 870 << 674 << 13620 << 8445;
    QTest::newRow("Top -0.6") << QStringList{"Top=-0.6", "Left=2400"} << 2400 << -1 << 13620 << 8445;
    QTest::newRow("Top -1.4") << QStringList{"Top=-1.4", "Left=2400"} << 2400 << -1 << 13620 << 8445;
    QTest::newRow("stored place and size")
        << QStringList{"Top=1200", "Left=2400", "Height=6000", "Width=9000"} << 2400 << 1200 << 9000 << 6000;
    QTest::newRow("lenient numbers") << QStringList{"Top= 1 200x", "Left=2400.4", "Height=9000abc"} << 2400 << 1200
                                     << 13620 << 9000;
    QTest::newRow("centred with stored size")
        << QStringList{"Height=5475", "Width=5445"} << 7680 - 2722 << 4896 - 2737 << 5445 << 5475;
}

void StartupTest::geometry()
{
    QFETCH(QStringList, settings);
    QFETCH(int, left);
    QFETCH(int, top);
    QFETCH(int, width);
    QFETCH(int, height);

    QTemporaryDir dir;
    ProgramRun run(dir.path());
    if (!settings.isEmpty())
        run.writeSettings(settings);
    frmTextEdit *window = run.start();

    QCOMPARE(window->Width(), width);
    QCOMPARE(window->Height(), height);
    QCOMPARE(window->Left(), left);
    QCOMPARE(window->Top(), top);
}

void StartupTest::heightWithoutNumberGivesSmallestHeight()
{
    QTemporaryDir dir;
    ProgramRun run(dir.path());
    run.writeSettings({"Height=abc"});
    frmTextEdit *window = run.start();
    QVERIFY2(window->Height() > 0 && window->Height() < 600, qPrintable(QString::number(window->Height())));
    QCOMPARE(window->Width(), 13620);
}

void StartupTest::firstRunWidthUnderWindowManager()
{
    QTemporaryDir dir;
    for (int run = 1; run <= 2; ++run) {
        ProgramRun program(dir.path());
        // A window manager's frame: 4 pixels at the sides and bottom, a 23
        // pixel caption.
        const testsupport::ScopedOverride frame(platform::setWindowFrameOverride, QMargins(4, 23, 4, 4));
        frmTextEdit *window = program.start();
        // The client area is the designed 13620 twips; the width adds the frame.
        QCOMPARE(window->width() * 15, 13620);
        QCOMPARE(window->Width(), 13620 + 8 * 15);
        QCOMPARE(window->Height(), 8445);
        program.close();
        QCOMPARE(program.setting("Width"), QStringLiteral("13740"));
        QCOMPARE(program.setting("Height"), QStringLiteral("8445"));
    }
}

void StartupTest::offScreenPlaceIsCentred_data()
{
    QTest::addColumn<QString>("screens");
    QTest::addColumn<QStringList>("settings");
    QTest::addColumn<QPoint>("place");

    // Centred on the 15360 x 11520 primary screen.
    const QPoint centred(870, 674);
    QTest::newRow("far right") << "one" << QStringList{"Top=1200", "Left=99999"} << centred;
    QTest::newRow("far below") << "one" << QStringList{"Top=50000", "Left=100"} << centred;
    QTest::newRow("left of the screen") << "one" << QStringList{"Top=1200", "Left=-13500"} << centred;
    QTest::newRow("above the screen") << "one" << QStringList{"Top=-3000", "Left=100"} << centred;
    QTest::newRow("mostly off to the right, caption reachable")
        << "one" << QStringList{"Top=1200", "Left=14000"} << QPoint(14000, 1200);
    QTest::newRow("partly off to the left") << "one" << QStringList{"Top=1200", "Left=-6000"} << QPoint(-6000, 1200);
    QTest::newRow("Top 0 under a top panel") << "top panel" << QStringList{"Top=0", "Left=0"} << QPoint(0, 0);
    QTest::newRow("on the second screen")
        << "second right" << QStringList{"Top=1200", "Left=20000"} << QPoint(20000, 1200);
    QTest::newRow("on a second screen left of the primary")
        << "second left" << QStringList{"Top=300", "Left=-15000"} << QPoint(-15000, 300);
    QTest::newRow("right of both screens") << "second right" << QStringList{"Top=1200", "Left=40000"} << centred;
    QTest::newRow("below the shorter second screen")
        << "second right" << QStringList{"Top=11000", "Left=20000"} << centred;
}

void StartupTest::offScreenPlaceIsCentred()
{
    QFETCH(QString, screens);
    QFETCH(QStringList, settings);
    QFETCH(QPoint, place);

    QTemporaryDir dir;
    ProgramRun run(dir.path());
    const QRect primary(0, 0, 15360, 11520);
    const QHash<QString, QList<platform::ScreenArea>> layouts = {
        {"one", {{primary, primary}}},
        {"top panel", {{primary, primary.adjusted(0, 450, 0, 0)}}},
        {"second right", {{primary, primary}, {QRect(15360, 0, 19200, 10800), QRect(15360, 0, 19200, 10800)}}},
        {"second left", {{primary, primary}, {QRect(-19200, 0, 19200, 10800), QRect(-19200, 0, 19200, 10800)}}},
    };
    const testsupport::ScopedOverride screenLayout(platform::setScreensOverride, layouts.value(screens));
    run.writeSettings(settings);
    frmTextEdit *window = run.start();
    QCOMPARE(QPoint(window->Left(), window->Top()), place);
}

QTEST_MAIN(StartupTest)
#include "tst_startup.moc"
