#include "tests/uitestsupport.h"

#include "app/appstate.h"
#include "forms/filelist.h"
#include "platform/process.h"
#include "platform/screen.h"
#include "platform/window.h"
#include "program/startup.h"
#include "tests/mainwindowcontrols.h"
#include "tests/testsupport.h"
#include "ui/main/frmtextedit.h"

#include <QApplication>
#include <QDir>
#include <QStyleFactory>
#include <QTest>

namespace testsupport {

QWidget *nextTabStop(QWidget *from, const QList<QWidget *> &controls)
{
    for (QWidget *next = from->nextInFocusChain(); next != from; next = next->nextInFocusChain()) {
        if (controls.contains(next) && (next->focusPolicy() & Qt::TabFocus))
            return next;
    }
    return nullptr;
}

QString native(const QString &path)
{
    return QDir::toNativeSeparators(path);
}

int rowOf(forms::FileList *list, const QString &name)
{
    for (int i = 0; i < list->ListCount(); ++i)
        if (list->List(i) == name)
            return i;
    return -1;
}

void clickFile(frmTextEdit *window, const QString &name)
{
    const int row = rowOf(File2(window), name);
    QVERIFY2(row >= 0, qPrintable(name));
    const QRect rect = File2(window)->visualRect(File2(window)->model()->index(row, 0));
    QTest::mouseClick(File2(window)->viewport(), Qt::LeftButton, {}, rect.center());
}

ProgramRun::ProgramRun(const QString &folder, const QString &exeName, const QString &stateHome)
    : m_folder(folder)
    , m_exeName(exeName)
    , m_screens(platform::setScreensOverride, platform::singleScreen(QSize(ScreenWidthTwips, ScreenHeightTwips)))
    // No frame unless a test draws one: the offscreen platform's own thin
    // frame is an accident of its version.
    , m_frame(platform::setWindowFrameOverride, QMargins())
    , m_executable(platform::setExecutablePathOverride, QDir::toNativeSeparators(folder + QLatin1Char('/') + exeName))
    , m_commandLine(platform::setCommandLineOverride, QString())
    , m_stateHome(stateHome.isEmpty() ? m_ownStateHome.path() : stateHome)
{
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    App() = AppState{};
    m_previousStateHome = qgetenv("XDG_STATE_HOME");
    qputenv("XDG_STATE_HOME", QFile::encodeName(m_stateHome));
}

ProgramRun::~ProgramRun()
{
    delete m_window;
    App() = AppState{};
    qputenv("XDG_STATE_HOME", m_previousStateHome);
}

QString ProgramRun::stateFolder() const
{
    return m_stateHome + QStringLiteral("/brenwick-editor");
}

QString ProgramRun::iniPath() const
{
    return m_folder + QLatin1Char('/') + m_exeName + QStringLiteral(".ini");
}

void ProgramRun::writeSettings(const QStringList &keyValueLines) const
{
    QByteArray bytes = "[Brenwick TXT-HTML-CSS-Editor]\r\n";
    for (const QString &line : keyValueLines)
        bytes += line.toUtf8() + "\r\n";
    writeAll(iniPath(), bytes);
}

std::optional<QString> ProgramRun::setting(const QString &key) const
{
    const QList<QByteArray> lines = readAll(iniPath()).split('\n');
    for (QByteArray line : lines) {
        line = line.trimmed();
        const qsizetype equals = line.indexOf('=');
        if (equals > 0 && QString::fromUtf8(line.left(equals)).trimmed().compare(key, Qt::CaseInsensitive) == 0)
            return QString::fromUtf8(line.mid(equals + 1)).trimmed();
    }
    return std::nullopt;
}

frmTextEdit *ProgramRun::start(const QString &commandLine)
{
    // Put back by the override of the whole run.
    platform::setCommandLineOverride(commandLine);
    m_window = Main();
    QApplication::processEvents();
    return m_window;
}

void ProgramRun::close()
{
    if (m_window)
        m_window->close();
    QApplication::processEvents();
}

} // namespace testsupport
