#pragma once

#include "platform/screen.h"
#include "tests/testsupport.h"

#include <QList>
#include <QMargins>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <optional>

class QWidget;
class frmTextEdit;
namespace forms {
class FileList;
}

namespace testsupport {

// The control that Tab moves to from `from`, among the window's `controls`:
// the next of them in the focus chain that takes the focus by Tab.
QWidget *nextTabStop(QWidget *from, const QList<QWidget *> &controls);

// The path with the system's separators, as the lists and paths show it.
QString native(const QString &path);
// The row of the entry with this name in a file list, or -1.
int rowOf(forms::FileList *list, const QString &name);
// Clicks the entry of the window's file list as the user does.
void clickFile(frmTextEdit *window, const QString &name);

// One run of the program inside a temporary folder that stands for the
// executable's folder: the settings file lies there, the screen has a fixed
// size, and Main() starts the window as the executable would. What it puts
// in place of the real services is put back when it ends.
class ProgramRun
{
public:
    // The recovery journals go to `stateHome` (as XDG_STATE_HOME), by default
    // a temporary folder of the run's own, so that runs share them only when
    // a test says so.
    explicit ProgramRun(const QString &folder, const QString &exeName = QStringLiteral("Editor"),
                        const QString &stateHome = QString());
    ~ProgramRun();
    ProgramRun(const ProgramRun &) = delete;
    ProgramRun &operator=(const ProgramRun &) = delete;

    QString iniPath() const;
    // The folder of the recovery journals in this run.
    QString stateFolder() const;
    // Writes the settings file: the program's section with these lines.
    void writeSettings(const QStringList &keyValueLines) const;
    // The value of a key as the settings file holds it now, or nothing.
    std::optional<QString> setting(const QString &key) const;

    frmTextEdit *start(const QString &commandLine = QString());
    frmTextEdit *window() const { return m_window; }
    // Closes the main window as the user would and lets the close finish.
    void close();

private:
    QString m_folder;
    QString m_exeName;
    ScopedOverride<std::optional<QList<platform::ScreenArea>>> m_screens;
    ScopedOverride<std::optional<QMargins>> m_frame;
    ScopedOverride<std::optional<QString>> m_executable;
    ScopedOverride<std::optional<QString>> m_commandLine;
    QTemporaryDir m_ownStateHome;
    QString m_stateHome;
    QByteArray m_previousStateHome;
    frmTextEdit *m_window = nullptr;
};

inline constexpr int ScreenWidthTwips = 15360;
inline constexpr int ScreenHeightTwips = 11520;

} // namespace testsupport
