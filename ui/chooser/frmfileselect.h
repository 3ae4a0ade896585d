#pragma once

#include "forms/form.h"

namespace forms {
class CommandButton;
class DriveList;
class FileList;
class FolderList;
} // namespace forms
class QMimeData;

// The chooser's answer: a picked file's full path, or cancelled.
struct ChooserAnswer
{
    bool picked = false;
    QString file;
};
Q_DECLARE_METATYPE(ChooserAnswer)

// The stylesheet chooser: drive, folder and file list of CSS files. It
// starts at the file to preselect, with that file selected, answers once
// with Answered and then closes. Every way of closing it other than a pick
// answers cancelled.
class frmFileSelect : public forms::Form
{
    Q_OBJECT
public:
    frmFileSelect(const QString &caption, const QString &preselect, QWidget *parent = nullptr);

    forms::DriveList *Drive1;
    forms::FolderList *Dir1;
    forms::FileList *File1;
    forms::CommandButton *Command1;
    forms::CommandButton *Command2;

    QAccessible::Role accessibleRole() const override { return QAccessible::Dialog; }

signals:
    void Answered(const ChooserAnswer &answer);

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
    void answer(const ChooserAnswer &answer);

    QString m_caption;
    QString m_preselect;
    bool m_answered = false;
};
