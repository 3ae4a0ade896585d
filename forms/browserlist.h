#pragma once

#include "forms/placeable.h"

#include <QListWidget>

class QMimeData;

namespace forms {

// What the file browser's folder and file lists share: one entry chosen at
// a time, hidden entries shown on request, files and folders dropped from
// the desktop (OLEDragDrop), and MouseMove over the list in twips.
class BrowserList : public QListWidget, public Placeable
{
    Q_OBJECT
public:
    explicit BrowserList(QWidget *parent = nullptr);

    void SetAcceptFileDrops(bool accept);
    void SetShowHidden(bool show);

signals:
    void MouseMove(int button, int shift, double x, double y);
    // Data dropped onto the list (OLE drop mode manual).
    void OLEDragDrop(const QMimeData *data);

protected:
    bool showsHidden() const { return m_showHidden; }
    // Reads the list's entries afresh.
    virtual void fill() = 0;

    void applyColors() override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dragMoveEvent(QDragMoveEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    bool m_showHidden = false;
};

} // namespace forms
