#pragma once

#include "textengine/view/textview.h"

#include <QDialog>
#include <QList>
#include <QPointer>

class FindSession;
class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

// "Suchen und Ersetzen": a window of its own that stays above its owner
// (and on top with it), not modal, acting on whichever of the owner's text
// panes is shown. It searches as the user types; Esc closes it.
class FindWindow : public QDialog
{
    Q_OBJECT
public:
    explicit FindWindow(QWidget *owner);
    ~FindWindow() override;

    // The panes it may act on; the one not hidden is acted on. Each gets
    // Ctrl+F and Ctrl+H to open the window, F3 and Shift+F3 to find on, and
    // an entry in its context menu.
    void addPane(textengine::TextView *pane);
    // Shows the window with the pane's one-line selection as what is
    // searched for (a longer selection is what is searched in).
    void open();
    // F3 and Shift+F3: the next or previous match of what was searched for
    // last, with the window shown or not; without anything searched for yet
    // the window opens.
    void findNext();
    void findPrevious();
    // Follows the owner into the always-on-top band and out of it.
    void followOwnerOnTop();

    FindSession *session() const { return m_session; }

protected:
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void createControls();
    textengine::TextView *shownPane() const;
    void usePane();
    void patternEdited();
    void showStatus();

    FindSession *m_session;
    QList<QPointer<textengine::TextView>> m_panes;
    QLineEdit *m_findField = nullptr;
    QLineEdit *m_replaceField = nullptr;
    QCheckBox *m_caseSensitive = nullptr;
    QCheckBox *m_wholeWords = nullptr;
    QCheckBox *m_regularExpression = nullptr;
    QCheckBox *m_inSelection = nullptr;
    QCheckBox *m_entities = nullptr;
    QPushButton *m_next = nullptr;
    QPushButton *m_previous = nullptr;
    QPushButton *m_replace = nullptr;
    QPushButton *m_replaceAll = nullptr;
    QPushButton *m_close = nullptr;
    QLabel *m_status = nullptr;
};
