#pragma once

#include "forms/browserlist.h"

namespace forms {

// Folder list: the current folder's ancestors from the root down (open
// folder icons), then its subfolders sorted without regard to case (closed
// icons). A double-click or Enter on an entry opens it. Path always ends
// without a trailing separator except for a root. Setting Path by code or by
// opening raises Change when the folder changes; it fails for a folder that
// cannot be opened, and then nothing changes. A drive name as Path means
// that drive's current folder.
class FolderList : public BrowserList
{
    Q_OBJECT
public:
    explicit FolderList(QWidget *parent = nullptr);

    QString Path() const { return m_path; }
    bool SetPath(const QString &path);

signals:
    void Change();

protected:
    void fill() override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    // Opens the folder of an entry (double-click or Enter).
    void open(QListWidgetItem *item);

    QString m_path;
};

} // namespace forms
