#include "bench/timing/editorsession.h"
#include "tests/mainwindowcontrols.h"

#include "forms/filelist.h"
#include "platform/process.h"
#include "platform/screen.h"
#include "program/startup.h"
#include "ui/main/frmtextedit.h"

#include <QDir>
#include <QFile>
#include <QTest>

namespace timing {

namespace {
// The screen of the GUI tests: 1024 x 768 pixels.
constexpr QSize screenTwips(15360, 11520);
const QString exeName = QStringLiteral("Editor");
} // namespace

EditorSession::EditorSession(const QString &startFolder, bool colouring)
    : m_startFolder(startFolder)
{
    if (!m_programFolder.isValid())
        return;
    QFile ini(m_programFolder.path() + QLatin1Char('/') + exeName + QStringLiteral(".ini"));
    if (ini.open(QIODevice::WriteOnly)) {
        ini.write("[Brenwick TXT-HTML-CSS-Editor]\r\nLastDir=" + QDir::toNativeSeparators(startFolder).toUtf8()
                  + QDir::separator().toLatin1() + "\r\n");
        if (colouring)
            ini.write("SyntaxHighlight=1\r\nLineNumbers=1\r\n");
    }
    platform::setScreenSizeOverride(screenTwips);
    platform::setExecutablePathOverride(QDir::toNativeSeparators(m_programFolder.path() + QLatin1Char('/') + exeName));
    platform::setCommandLineOverride(QString());
    qputenv("XDG_STATE_HOME", QFile::encodeName(m_programFolder.path() + QStringLiteral("/state")));
}

QString EditorSession::journalFolder() const
{
    return m_programFolder.path() + QStringLiteral("/state/brenwick-editor");
}

EditorSession::~EditorSession()
{
    delete m_window;
}

frmTextEdit *EditorSession::start()
{
    m_window = Main();
    return m_window;
}

int fileListRow(frmTextEdit *window, const QString &name)
{
    for (int i = 0; i < File2(window)->ListCount(); ++i)
        if (File2(window)->List(i) == name)
            return i;
    return -1;
}

void clickFileListRow(frmTextEdit *window, int row)
{
    forms::FileList *list = File2(window);
    const QRect rect = list->visualRect(list->model()->index(row, 0));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, rect.center());
}

} // namespace timing
