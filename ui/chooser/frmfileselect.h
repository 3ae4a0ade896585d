#pragma once

#include "forms/form.h"

namespace forms {
class CommandButton;
class DriveList;
class FileList;
class FolderList;
} // namespace forms
class QMimeData;

// The stylesheet chooser: drive, folder and file list of CSS files. It
// starts from ChooserFile with that file selected and answers once through
// ChooserResult (0 picked, with ChooserFile set; 99 cancelled), then closes.
// Every way of closing it other than a pick answers 99.
class frmFileSelect : public forms::Form
{
    Q_OBJECT
public:
    explicit frmFileSelect(QWidget *parent = nullptr);

    forms::DriveList *Drive1;
    forms::FolderList *Dir1;
    forms::FileList *File1;
    forms::CommandButton *Command1;
    forms::CommandButton *Command2;

protected:
    void Form_Load() override;
    void Form_Unload(int &cancel) override;

private:
    void Drive1_Change();
    void Dir1_Change();
    void Dir1_OLEDragDrop(const QMimeData *data);
    void File1_DblClick();
    void Command1_Click();
    void Command2_Click();
    void answer(qint16 result);

    bool m_answered = false;
};
