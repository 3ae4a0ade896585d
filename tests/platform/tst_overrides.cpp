// The services tests put their own values in place of: a scoped override
// shows its value while it lives and puts back exactly what was there
// before, also when overrides of one service are nested.
#include "platform/drives.h"
#include "platform/process.h"
#include "platform/screen.h"
#include "platform/window.h"
#include "tests/testsupport.h"

#include <QTest>

using testsupport::ScopedOverride;

class TestOverrides : public QObject
{
    Q_OBJECT

private slots:
    void commandLineAndExecutable();
    void drives();
    void screens();
    void shellOpen();
    void messageBox();
};

void TestOverrides::commandLineAndExecutable()
{
    const QString realCommandLine = platform::commandLineText();
    const QString realExecutable = platform::executablePath();
    {
        const ScopedOverride outer(platform::setCommandLineOverride, QStringLiteral("/aussen"));
        const ScopedOverride executable(platform::setExecutablePathOverride, QStringLiteral("/opt/Editor"));
        {
            const ScopedOverride inner(platform::setCommandLineOverride, QStringLiteral("/innen"));
            QCOMPARE(platform::commandLineText(), QStringLiteral("/innen"));
        }
        QCOMPARE(platform::commandLineText(), QStringLiteral("/aussen"));
        QCOMPARE(platform::executablePath(), QStringLiteral("/opt/Editor"));
    }
    QCOMPARE(platform::commandLineText(), realCommandLine);
    QCOMPARE(platform::executablePath(), realExecutable);
}

void TestOverrides::drives()
{
    const QStringList real = platform::drives();
    {
        const ScopedOverride outer(platform::setDrivesOverride, QStringList{QStringLiteral("/")});
        {
            const ScopedOverride inner(platform::setDrivesOverride,
                                       QStringList{QStringLiteral("/"), QStringLiteral("/media/usb")});
            QCOMPARE(platform::drives().size(), 2);
        }
        QCOMPARE(platform::drives(), QStringList{QStringLiteral("/")});
    }
    QCOMPARE(platform::drives(), real);
}

void TestOverrides::screens()
{
    const QList<platform::ScreenArea> real = platform::screensTwips();
    {
        const ScopedOverride outer(platform::setScreensOverride, platform::singleScreen(QSize(15360, 11520)));
        {
            const ScopedOverride inner(platform::setScreensOverride, platform::singleScreen(QSize(12000, 9000)));
            QCOMPARE(platform::screenSizeTwips(), QSize(12000, 9000));
        }
        QCOMPARE(platform::screenSizeTwips(), QSize(15360, 11520));
    }
    QCOMPARE(platform::screensTwips().size(), real.size());
    QCOMPARE(platform::screenSizeTwips(), real.isEmpty() ? QSize(0, 0) : real.first().geometry.size());
}

void TestOverrides::shellOpen()
{
    QStringList outerOpens;
    QStringList innerOpens;
    const ScopedOverride outer(platform::setShellOpenHook, [&outerOpens](const QString &path) { outerOpens << path; });
    {
        const ScopedOverride inner(platform::setShellOpenHook,
                                   [&innerOpens](const QString &path) { innerOpens << path; });
        platform::shellOpen(nullptr, QStringLiteral("eins.txt"));
    }
    platform::shellOpen(nullptr, QStringLiteral("zwei.txt"));
    QCOMPARE(innerOpens, QStringList{QStringLiteral("eins.txt")});
    QCOMPARE(outerOpens, QStringList{QStringLiteral("zwei.txt")});
}

void TestOverrides::messageBox()
{
    testsupport::MessageCapture outer;
    {
        testsupport::MessageCapture inner;
        forms::MsgBox(QStringLiteral("eins"), forms::vbInformation, QStringLiteral("T"));
        QCOMPARE(inner.messages().size(), 1);
    }
    forms::MsgBox(QStringLiteral("zwei"), forms::vbInformation, QStringLiteral("T"));
    QCOMPARE(outer.messages().size(), 1);
    QCOMPARE(outer.messages().first().prompt, QStringLiteral("zwei"));
}

QTEST_MAIN(TestOverrides)
#include "tst_overrides.moc"
