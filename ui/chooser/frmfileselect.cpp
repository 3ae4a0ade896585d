#include "ui/chooser/frmfileselect.h"

#include "forms/commandbutton.h"
#include "forms/drivelist.h"
#include "forms/events.h"
#include "forms/filedrop.h"
#include "forms/filelist.h"
#include "forms/folderlist.h"
#include "platform/drives.h"
#include "support/paths.h"
#include "support/textfile.h"
#include "support/windowhelpers.h"

#include <QMimeData>
#include <QPointer>

frmFileSelect::frmFileSelect(const QString &caption, const QString &preselect, QWidget *parent)
    : forms::Form(parent)
    , m_caption(caption)
    , m_preselect(preselect)
{
    setObjectName(QStringLiteral("frmFileSelect"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowFlag(Qt::WindowMinMaxButtonsHint, false);
    SetClientSize(5355, 5055);
    setFixedSize(size());

    Drive1 = new forms::DriveList(this);
    Drive1->setObjectName(QStringLiteral("Drive1"));
    Drive1->Place(60, 60, 2475, 315);
    Drive1->setAccessibleName(QStringLiteral("Laufwerk"));

    Dir1 = new forms::FolderList(this);
    Dir1->setObjectName(QStringLiteral("Dir1"));
    Dir1->Place(60, 420, 2475, 4590);
    Dir1->SetAcceptFileDrops(true);
    Dir1->setAccessibleName(QStringLiteral("Ordner"));

    File1 = new forms::FileList(this);
    File1->setObjectName(QStringLiteral("File1"));
    File1->Place(2580, 60, 2715, 3600);
    File1->SetPattern(QStringLiteral("*.css"));
    File1->setAccessibleName(QStringLiteral("CSS-Dateien"));

    Command1 = new forms::CommandButton(QStringLiteral("Ü B E R N E H M E N"), this);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command1->Place(2580, 4380, 2715, 615);
    Command1->SetDesignFont(QStringLiteral("MS Sans Serif"), 9.75, true);
    // The caption's spaced letters would be read out one by one.
    Command1->setAccessibleName(QStringLiteral("Übernehmen"));
    Command1->setAutoDefault(false);

    Command2 = new forms::CommandButton(QStringLiteral("A B B R E C H E N"), this);
    Command2->setObjectName(QStringLiteral("Command2"));
    Command2->setAccessibleName(QStringLiteral("Abbrechen"));
    Command2->Place(2580, 3720, 2715, 615);
    Command2->setAutoDefault(false);

    setTabOrder(Drive1, Dir1);
    setTabOrder(Dir1, File1);
    setTabOrder(File1, Command1);
    setTabOrder(Command1, Command2);

    connect(Drive1, &forms::DriveList::Change, this, &frmFileSelect::Drive1_Change);
    connect(Dir1, &forms::FolderList::Change, this, &frmFileSelect::Dir1_Change);
    connect(Dir1, &forms::FolderList::OLEDragDrop, this, &frmFileSelect::Dir1_OLEDragDrop);
    connect(File1, &forms::FileList::DblClick, this, &frmFileSelect::File1_DblClick);
    connect(Command1, &forms::CommandButton::Click, this, &frmFileSelect::Command1_Click);
    connect(Command2, &forms::CommandButton::Click, this, &frmFileSelect::Command2_Click);
}

void frmFileSelect::Form_Load()
{
    support::CenterForm(*this);
    support::SetTopmost(this, true);
    raise();
    SetCaption(m_caption);

    const QString &preselect = m_preselect;
    if (preselect.isEmpty() || !support::FileExists(preselect))
        return;
    Drive1->SetDrive(platform::driveOf(preselect));
    const QString folder = support::FolderOf(preselect);
    Dir1->SetPath(folder);
    File1->SetPath(folder);
    const QString name = support::FileNameOf(preselect).toUpper();
    for (int i = 0; i < File1->ListCount(); ++i) {
        if (File1->List(i).toUpper() == name)
            File1->SetSelected(i, true);
    }
}

void frmFileSelect::Form_Unload(int &cancel)
{
    Q_UNUSED(cancel);
    // Every way of closing the window other than a pick is a cancel.
    if (!m_answered)
        answer({});
}

void frmFileSelect::Drive1_Change()
{
    Dir1->SetPath(Drive1->Drive());
}

void frmFileSelect::Dir1_Change()
{
    File1->SetPath(Dir1->Path());
}

void frmFileSelect::Dir1_OLEDragDrop(const QMimeData *data)
{
    const std::optional<QStringList> paths = forms::droppedFiles(data);
    if (!paths)
        return;
    const QPointer<frmFileSelect> self(this);
    for (const QString &path : *paths) {
        forms::DoEvents();
        if (!self)
            return;
        Drive1->SetDrive(platform::driveOf(path));
        Dir1->SetPath(support::FolderOf(path));
        Dir1_Change();
    }
}

void frmFileSelect::File1_DblClick()
{
    const QString name = File1->FileName();
    if (name.isEmpty())
        return;
    QString folder = File1->Path();
    answer({true, support::AddBackslash(folder) + name});
}

void frmFileSelect::Command1_Click()
{
    File1_DblClick();
}

void frmFileSelect::Command2_Click()
{
    answer({});
}

void frmFileSelect::answer(const ChooserAnswer &answer)
{
    m_answered = true;
    // The window is gone before the caller goes on; inside its own close,
    // closing again does nothing.
    close();
    emit Answered(answer);
}
