#pragma once

#include <QString>
#include <QTemporaryDir>

class frmTextEdit;

namespace timing {

// The editor started in this process as the executable would start it,
// with its settings file in a temporary program folder whose last folder is
// `startFolder`, and a fixed screen size; with `colouring`, syntax colouring
// and line numbers are on.
class EditorSession
{
public:
    explicit EditorSession(const QString &startFolder, bool colouring = false);
    ~EditorSession();
    EditorSession(const EditorSession &) = delete;
    EditorSession &operator=(const EditorSession &) = delete;

    bool isValid() const { return m_programFolder.isValid(); }
    // Runs Main(); the window is shown but not yet painted.
    frmTextEdit *start();
    frmTextEdit *window() const { return m_window; }
    // Where the window keeps its recovery journals: inside the program folder.
    QString journalFolder() const;

private:
    QTemporaryDir m_programFolder;
    QString m_startFolder;
    frmTextEdit *m_window = nullptr;
};

// The row of a name in the window's file list, -1 when missing.
int fileListRow(frmTextEdit *window, const QString &name);

// Clicks the row of the file list as a mouse would.
void clickFileListRow(frmTextEdit *window, int row);

} // namespace timing
