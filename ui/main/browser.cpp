// The file browser column: drive, folder and file lists chained together,
// the pattern filter, refresh, the shell open and drops from the desktop.
#include "ui/main/frmtextedit.h"

#include "app/appstate.h"
#include "forms/checkbox.h"
#include "forms/commandbutton.h"
#include "forms/drivelist.h"
#include "forms/events.h"
#include "forms/filedrop.h"
#include "forms/filelist.h"
#include "forms/folderlist.h"
#include "forms/textbox.h"
#include "support/paths.h"
#include "support/windowhelpers.h"

#include <QMimeData>

void frmTextEdit::Drive1_Change()
{
    Dir2->SetPath(Drive1->Drive());
}

void frmTextEdit::Dir2_Change()
{
    File2->SetPath(Dir2->Path());
}

void frmTextEdit::chkPattern_Click()
{
    switch (chkPattern->Value()) {
    case 0:
        File2->SetPattern(App().FilePattern);
        break;
    case 1: {
        QString own = txtPattern->Text();
        if (own.endsWith(QLatin1Char(';')))
            own.chop(1);
        File2->SetPattern(App().FilePattern + QLatin1Char(';') + own);
        break;
    }
    default:
        break;
    }
}

void frmTextEdit::txtPattern_Change()
{
    if (chkPattern->Value() == 1)
        chkPattern_Click();
}

void frmTextEdit::cmdRefresh_Click()
{
    focusDummy();
    File2->Refresh();
}

void frmTextEdit::File2_DblClick()
{
    if (Changed())
        return;
    QString folder = File2->Path();
    support::ShellOpen(this, support::AddBackslash(folder) + File2->FileName());
}

void frmTextEdit::File2_OLEDragDrop(const QMimeData *data)
{
    if (Changed())
        return;
    moveBrowserToDrops(data, true);
}

void frmTextEdit::Dir2_OLEDragDrop(const QMimeData *data)
{
    // The folder list is disabled while the document has changes, so there
    // is no check here; and the drive list keeps its drive.
    moveBrowserToDrops(data, false);
}

void frmTextEdit::moveBrowserToDrops(const QMimeData *data, bool followDrive)
{
    const std::optional<QStringList> paths = forms::droppedFiles(data);
    if (!paths)
        return;
    for (const QString &path : *paths) {
        forms::DoEvents();
        if (followDrive)
            Drive1->SetDrive(path);
        Dir2->SetPath(support::FolderOf(path));
        Dir2_Change();
    }
}

void frmTextEdit::lockBrowser(bool locked)
{
    Drive1->setEnabled(!locked);
    Dir2->setEnabled(!locked);
    File2->setEnabled(!locked);
}

void frmTextEdit::selectInBrowser(const QString &path)
{
    if (path.isEmpty())
        return;
    const QString folder = support::FolderOf(path);
    Drive1->SetDrive(folder);
    Dir2->SetPath(folder);
    File2->SetPath(folder);
    const QString name = support::FileNameOf(path);
    for (int i = 0; i < File2->ListCount(); ++i) {
        if (File2->List(i) == name)
            File2->SetSelected(i, true);
    }
}
