#pragma once

#include "forms/browserlist.h"

namespace forms {

// File list: the files of Path that match Pattern (masks separated by ";",
// matched without regard to case), sorted. FileName is the selected name,
// empty when none. Click is raised when the selection changes by mouse,
// keyboard or code, and when the selected entry is clicked again.
class FileList : public BrowserList
{
    Q_OBJECT
public:
    explicit FileList(QWidget *parent = nullptr);

    QString Path() const { return m_path; }
    // Fails for a folder that cannot be read; then nothing changes.
    bool SetPath(const QString &path);
    QString Pattern() const { return m_pattern; }
    void SetPattern(const QString &pattern);
    QString FileName() const;
    int ListCount() const { return count(); }
    QString List(int index) const;
    bool Selected(int index) const;
    void SetSelected(int index, bool selected);
    // Re-reads the folder.
    void Refresh();
    bool SetFocus();

signals:
    void Click();
    void DblClick();

protected:
    void fill() override;
    QItemSelectionModel::SelectionFlags selectionCommand(const QModelIndex &index,
                                                         const QEvent *event = nullptr) const override;
    void focusInEvent(QFocusEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;

private:
    // Raises Click when another entry became the chosen one.
    void selectionMoved();

    QString m_path;
    // The folder the entries were read from.
    QString m_filledPath;
    int m_selectedRow = -1;
    bool m_filling = false;
    QString m_pattern = QStringLiteral("*.*");
};

} // namespace forms
