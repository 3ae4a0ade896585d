#pragma once

#include "forms/placeable.h"

#include <QListWidget>
#include <optional>

class QMimeData;

namespace forms {

// Folder list: the current folder's ancestors from the root down (open
// folder icons), then its subfolders sorted without regard to case (closed
// icons). A double-click or Enter on an entry opens it. Path always ends
// without a trailing separator except for a root. Setting Path by code or by
// opening raises Change when the folder changes; it fails for a folder that
// cannot be opened, and then nothing changes. A drive name as Path means
// that drive's current folder.
class FolderList : public QListWidget, public Placeable
{
    Q_OBJECT
public:
    explicit FolderList(QWidget *parent = nullptr);

    QString Path() const { return m_path; }
    bool SetPath(const QString &path);
    void SetAcceptFileDrops(bool accept);
    void SetShowHidden(bool show);

signals:
    void Change();
    void MouseMove(int button, int shift, double x, double y);
    // Data dropped onto the list (OLE drop mode manual).
    void OLEDragDrop(const QMimeData *data);

protected:
    void applyColors() override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dragMoveEvent(QDragMoveEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    // Opens the folder of an entry (double-click or Enter).
    void open(QListWidgetItem *item);
    void fill();

    QString m_path;
    bool m_showHidden = false;
};

} // namespace forms
