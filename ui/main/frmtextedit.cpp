#include "ui/main/frmtextedit.h"

#include "app/desktopidentity.h"
#include "document/journalfolder.h"
#include "forms/checkbox.h"
#include "forms/commandbutton.h"
#include "forms/designfont.h"
#include "forms/drivelist.h"
#include "forms/events.h"
#include "forms/filelist.h"
#include "forms/folderlist.h"
#include "forms/formsaccessible.h"
#include "forms/label.h"
#include "forms/textbox.h"
#include "platform/statefolder.h"
#include "support/message.h"
#include "support/paths.h"
#include "ui/chooser/frmfileselect.h"
#include "ui/main/editorpane.h"
#include "ui/main/glyphs.h"

#include <QIcon>
#include <QMimeData>
#include <algorithm>
#include <utility>
#include <vector>

using forms::rgb;

frmTextEdit::frmTextEdit(QWidget *parent)
    : forms::Form(parent)
{
    setObjectName(QStringLiteral("frmTextEdit"));
    QIcon icon;
    for (int size : {16, 32, 48, 64, 128, 256})
        icon.addFile(QStringLiteral(":/icons/brenwick-%1.png").arg(size), QSize(size, size));
    setWindowIcon(icon);
    setFont(forms::designFont(QStringLiteral("MS Sans Serif"), 8.25));
    QPalette background = palette();
    background.setColor(QPalette::Window, rgb(0xE0E0E0));
    setPalette(background);
    setAutoFillBackground(true);
    SetClientSize(13620, 7860);

    createControls();
    m_journals = std::make_unique<document::JournalFolder>(platform::stateFolder(ApplicationName()));
    m_documentPane = new EditorPane(
        txtTXT, cmdSave, cmdCancel, *m_journals, QStringLiteral("document"),
        [this](bool locked) { lockBrowser(locked); }, this);
    m_stylesheetPane
        = new EditorPane(txtCSS, cmdSaveCSS, cmdCancelCSS, *m_journals, QStringLiteral("stylesheet"), {}, this);
    for (EditorPane *pane : {m_documentPane, m_stylesheetPane})
        connect(pane, &EditorPane::diskChangeToAsk, this, &frmTextEdit::askAboutDiskChanges, Qt::QueuedConnection);
    // "CSS" names the stylesheet in use, for the mouse and for screen readers.
    connect(m_stylesheetPane, &EditorPane::pathChanged, this, [this](const QString &path) {
        cmdCSS->SetToolTipText(path);
        cmdCSS->setAccessibleDescription(path);
    });
    connectHandlers();
    applyTabOrder();
    createFindWindow();
    createShortcuts();
    setupSyntax();
}

frmTextEdit::~frmTextEdit()
{
    if (m_chooser)
        m_chooser->close();
    // The panes' journals write through the folder: they go first.
    delete m_documentPane;
    delete m_stylesheetPane;
}

namespace {
template<typename Control>
Control *place(Control *control, const char *name, int left, int top, int width, int height)
{
    control->setObjectName(QString::fromLatin1(name));
    control->Place(left, top, width, height);
    return control;
}

void boldButton(forms::CommandButton *button, const QString &font, double points, unsigned int back)
{
    button->SetDesignFont(font, points, true);
    button->SetGraphical(true);
    button->SetBackColor(rgb(back));
}
} // namespace

void frmTextEdit::createControls()
{
    const QString sansSerif = QStringLiteral("MS Sans Serif");
    const QString arial = QStringLiteral("Arial");
    const QString fixedsys = QStringLiteral("Fixedsys");

    lblSplitH = place(new forms::Label(this), "lblSplitH", 2595, 420, 135, 7395);
    lblSplitH->SetBackColor(rgb(0xE0E0E0));
    lblSplitH->SetMousePointer(Qt::SizeHorCursor);
    lblSplitV = place(new forms::Label(this), "lblSplitV", 120, 3195, 2475, 150);
    lblSplitV->SetBackColor(rgb(0xE0E0E0));
    lblSplitV->SetMousePointer(Qt::SizeVerCursor);

    frmButtonsCSS = place(new forms::Frame(this), "frmButtonsCSS", 120, 7950, 2475, 1095);
    frmButtonsCSS->SetVisible(false);
    cmdCancelCSS = place(new forms::CommandButton(QStringLiteral("Abbrechen"), frmButtonsCSS), "cmdCancelCSS", 120, 180,
                         2235, 375);
    boldButton(cmdCancelCSS, sansSerif, 8.25, 0xFF8080);
    cmdSaveCSS = place(new forms::CommandButton(QStringLiteral("SPEICHERN"), frmButtonsCSS), "cmdSaveCSS", 120, 600,
                       2235, 375);
    boldButton(cmdSaveCSS, sansSerif, 8.25, 0x00C000);

    cmdHTML = place(new forms::CommandButton(QStringLiteral("HTML"), this), "cmdHTML", 10080, 30, 885, 375);
    boldButton(cmdHTML, arial, 11.25, 0xC0FFC0);

    chkGreen = place(new forms::CheckBox(QStringLiteral("Green"), this), "chkGreen", 12735, 75, 855, 255);
    chkDark = place(new forms::CheckBox(QStringLiteral("Dark"), this), "chkDark", 11910, 75, 795, 255);
    for (forms::CheckBox *box : {chkGreen, chkDark}) {
        box->SetBackColor(rgb(0xE0E0E0));
        box->SetForeColor(rgb(0x000000));
        box->SetDesignFont(arial, 8.25);
    }

    chkPattern = place(new forms::CheckBox(QString(), this), "chkPattern", 2700, 90, 225, 255);
    chkPattern->SetBackColor(rgb(0xE0E0E0));
    chkPattern->SetToolTipText(QStringLiteral("Eigene Dateiliste-Pattern aktivieren"));

    txtPattern = place(new forms::LineTextBox(this), "txtPattern", 2940, 30, 1065, 330);
    txtPattern->SetDesignFont(fixedsys, 9);
    txtPattern->SetText(QStringLiteral("*.*;"));

    cmdCSS = place(new forms::CommandButton(QStringLiteral("CSS"), this), "cmdCSS", 10980, 30, 705, 375);
    boldButton(cmdCSS, arial, 11.25, 0xE0E0E0);

    cmdUmlaute = place(new forms::CommandButton(QStringLiteral("Umlaute in HTML-Umlaute übersetzen"), this),
                       "cmdUmlaute", 6780, 30, 3135, 375);

    chkJumpEnd
        = place(new forms::CheckBox(QStringLiteral("ans Ende springen"), this), "chkJumpEnd", 4200, 105, 1815, 195);
    chkJumpEnd->SetBackColor(rgb(0xE0E0E0));
    chkJumpEnd->SetToolTipText(QStringLiteral("beim Öffnen zum Ende der Datei springen"));

    cmdTop = place(new forms::CommandButton(QString(), this), "cmdTop", 6180, 15, 435, 375);
    cmdTop->SetGraphical(true);
    cmdTop->SetBackColor(forms::buttonFaceColor());
    cmdTop->setIcon(glyphs::pin());
    cmdTop->SetToolTipText(QStringLiteral("Immer im Vordergrund"));

    cmdRefresh = place(new forms::CommandButton(QString(), this), "cmdRefresh", 2250, 3375, 315, 315);
    cmdRefresh->SetGraphical(true);
    cmdRefresh->SetBackColor(rgb(0xC0C0FF));
    cmdRefresh->setIcon(glyphs::refresh());
    cmdRefresh->SetToolTipText(QStringLiteral("neu einlesen"));

    File2 = place(new forms::FileList(this), "File2", 120, 3330, 2490, 3240);
    File2->SetBackColor(rgb(0xE0E0E0));
    File2->SetForeColor(rgb(0x000080));
    File2->SetDesignFont(arial, 9, true);
    File2->SetShowHidden(true);
    File2->SetAcceptFileDrops(true);
    File2->setAccessibleName(QStringLiteral("Dateien"));

    frmButtons = place(new forms::Frame(this), "frmButtons", 120, 6720, 2475, 1095);
    cmdSave = place(new forms::CommandButton(QStringLiteral("SPEICHERN"), frmButtons), "cmdSave", 120, 600, 2235, 375);
    boldButton(cmdSave, sansSerif, 8.25, 0x00C000);
    cmdCancel
        = place(new forms::CommandButton(QStringLiteral("Abbrechen"), frmButtons), "cmdCancel", 120, 180, 2235, 375);
    boldButton(cmdCancel, sansSerif, 8.25, 0xFF8080);

    // The focus sink lies outside the visible client area.
    dummy = place(new forms::CommandButton(QString(), this), "dummy", 18120, -1080, 195, 195);

    Dir2 = place(new forms::FolderList(this), "Dir2", 120, 420, 2475, 2640);
    Dir2->SetBackColor(rgb(0x808080));
    Dir2->SetForeColor(rgb(0xFFFFFF));
    Dir2->SetDesignFont(arial, 9);
    Dir2->SetAcceptFileDrops(true);
    Dir2->setAccessibleName(QStringLiteral("Ordner"));

    Drive1 = place(new forms::DriveList(this), "Drive1", 120, 60, 2475, 345);
    Drive1->SetBackColor(rgb(0x808080));
    Drive1->SetForeColor(rgb(0xFFFFFF));
    Drive1->SetDesignFont(arial, 9);
    Drive1->setAccessibleName(QStringLiteral("Laufwerk"));

    txtCSS = place(new forms::TextBox(this), "txtCSS", 2715, 7980, 4935, 1050);
    txtTXT = place(new forms::TextBox(this), "txtTXT", 2700, 390, 10920, 7455);
    for (forms::TextBox *box : {txtCSS, txtTXT}) {
        box->SetBackColor(rgb(0xFFFFFF));
        box->SetForeColor(rgb(0x000000));
        box->SetDesignFont(fixedsys, 9);
    }
    txtCSS->SetVisible(false);
    txtCSS->setAccessibleName(QStringLiteral("Stylesheet"));
    txtTXT->setAccessibleName(QStringLiteral("Dokument"));

    // What screen readers say of the controls without a caption, and of
    // the buttons that show a state.
    chkPattern->setAccessibleName(chkPattern->toolTip());
    txtPattern->setAccessibleName(QStringLiteral("Eigene Dateiliste-Pattern"));
    cmdTop->setAccessibleName(cmdTop->toolTip());
    cmdRefresh->setAccessibleName(cmdRefresh->toolTip());
    frmButtons->setAccessibleName(QStringLiteral("Dokument speichern oder verwerfen"));
    frmButtonsCSS->setAccessibleName(QStringLiteral("Stylesheet speichern oder verwerfen"));
    cmdTop->SetToggleState(false);
    cmdHTML->SetToggleState(true);
    cmdCSS->SetToggleState(false);
    for (QWidget *mouseOnly :
         {static_cast<QWidget *>(dummy), static_cast<QWidget *>(lblSplitH), static_cast<QWidget *>(lblSplitV)})
        forms::hideFromScreenReaders(mouseOnly);

    // Earlier controls of the design lie above later ones: the refresh
    // button sits on the file list's corner, the bars beneath everything.
    const QList<QWidget *> designOrder = {
        frmButtonsCSS, cmdHTML, chkGreen,   chkDark, chkPattern, txtPattern, cmdCSS, cmdUmlaute, chkJumpEnd, cmdTop,
        cmdRefresh,    File2,   frmButtons, dummy,   Dir2,       Drive1,     txtCSS, txtTXT,     lblSplitH,  lblSplitV};
    for (auto it = designOrder.crbegin(); it != designOrder.crend(); ++it)
        (*it)->raise();
}

void frmTextEdit::connectHandlers()
{
    using namespace forms;
    connect(lblSplitH, &Label::MouseDown, this, &frmTextEdit::lblSplitH_MouseDown);
    connect(lblSplitH, &Label::MouseMove, this, &frmTextEdit::lblSplitH_MouseMove);
    connect(lblSplitV, &Label::MouseDown, this, &frmTextEdit::lblSplitV_MouseDown);
    connect(lblSplitV, &Label::MouseMove, this, &frmTextEdit::lblSplitV_MouseMove);
    connect(txtTXT, &TextBox::MouseMove, this, [this] { Form_MouseMove(1, 0, 0, 0); });
    connect(File2, &FileList::MouseMove, this, [this] { Form_MouseMove(1, 0, 0, 0); });
    connect(Dir2, &FolderList::MouseMove, this, [this] { Form_MouseMove(1, 0, 0, 0); });

    connect(Drive1, &DriveList::Change, this, &frmTextEdit::Drive1_Change);
    connect(Dir2, &FolderList::Change, this, &frmTextEdit::Dir2_Change);
    connect(File2, &FileList::Click, this, &frmTextEdit::File2_Click);
    connect(File2, &FileList::DblClick, this, &frmTextEdit::File2_DblClick);
    connect(File2, &FileList::OLEDragDrop, this, &frmTextEdit::File2_OLEDragDrop);
    connect(Dir2, &FolderList::OLEDragDrop, this, &frmTextEdit::Dir2_OLEDragDrop);
    connect(chkPattern, &CheckBox::Click, this, &frmTextEdit::chkPattern_Click);
    connect(txtPattern, &LineTextBox::Change, this, &frmTextEdit::txtPattern_Change);
    connect(cmdRefresh, &CommandButton::Click, this, &frmTextEdit::cmdRefresh_Click);

    connect(txtTXT, &TextBox::Change, this, &frmTextEdit::txtTXT_Change);
    connect(cmdSave, &CommandButton::Click, this, &frmTextEdit::cmdSave_Click);
    connect(cmdCancel, &CommandButton::Click, this, &frmTextEdit::cmdCancel_Click);
    connect(chkJumpEnd, &CheckBox::Click, this, &frmTextEdit::chkJumpEnd_Click);

    connect(cmdCSS, &CommandButton::MouseDown, this, &frmTextEdit::cmdCSS_MouseDown);
    connect(cmdHTML, &CommandButton::MouseDown, this, &frmTextEdit::cmdHTML_MouseDown);
    connect(txtCSS, &TextBox::Change, this, &frmTextEdit::txtCSS_Change);
    connect(cmdSaveCSS, &CommandButton::Click, this, &frmTextEdit::cmdSaveCSS_Click);
    connect(cmdCancelCSS, &CommandButton::Click, this, &frmTextEdit::cmdCancelCSS_Click);

    connect(chkDark, &CheckBox::Click, this, &frmTextEdit::chkDark_Click);
    connect(chkGreen, &CheckBox::Click, this, &frmTextEdit::chkGreen_Click);
    connect(cmdTop, &CommandButton::Click, this, &frmTextEdit::cmdTop_Click);
    connect(cmdUmlaute, &CommandButton::Click, this, &frmTextEdit::cmdUmlaute_Click);
}

void frmTextEdit::applyTabOrder()
{
    const std::vector<std::pair<int, QWidget *>> order = {
        {4, Drive1},     {5, Dir2},     {6, File2},       {7, dummy},       {8, cmdRefresh},
        {10, cmdCancel}, {11, cmdSave}, {12, cmdTop},     {13, chkJumpEnd}, {16, cmdUmlaute},
        {17, cmdCSS},    {18, txtTXT},  {19, txtPattern}, {20, chkPattern}, {21, chkDark},
        {22, chkGreen},  {23, cmdHTML}, {24, txtCSS},     {26, cmdSaveCSS}, {27, cmdCancelCSS},
    };
    for (size_t i = 1; i < order.size(); ++i)
        setTabOrder(order[i - 1].second, order[i].second);
}

bool frmTextEdit::Changed() const
{
    return m_documentPane->changed();
}

bool frmTextEdit::ChangedCSS() const
{
    return m_stylesheetPane->changed();
}

void frmTextEdit::focusDummy()
{
    dummy->SetFocus();
}

void frmTextEdit::savePane(EditorPane &pane)
{
    focusDummy();
    forms::DoEvents();
    pane.Save();
}

bool frmTextEdit::mayLoseChanges(const EditorPane &pane) const
{
    const QString path = pane.document().path();
    const QString what = path.isEmpty() ? QStringLiteral("am Text ohne Datei")
                                        : QStringLiteral("an „%1“").arg(support::FileNameOf(path));
    const QString prompt = QStringLiteral("Die nicht gespeicherten Änderungen %1 konnten nicht für die "
                                          "Wiederherstellung gesichert werden und gehen beim Schließen verloren. "
                                          "Trotzdem schließen?")
                               .arg(what);
    return support::AskQuestion(prompt, {QStringLiteral("Schließen"), QStringLiteral("Abbrechen")}) == 0;
}

void frmTextEdit::Form_Load()
{
    NoButtons();
    focusDummy();
}

void frmTextEdit::Form_Unload(int &cancel)
{
    // The window closes without a question: what is not saved stays in the
    // journals, on disk before the window is gone. Only changes no journal
    // could keep (a full disk) are asked about.
    for (EditorPane *pane : {m_documentPane, m_stylesheetPane}) {
        if (!pane->keepJournal() && !mayLoseChanges(*pane)) {
            cancel = 1;
            return;
        }
    }
    emit Unloading();
    // A chooser still open would keep the run alive with no main window and
    // leave the stylesheet pane waiting: it closes as cancelled.
    m_closing = true;
    if (m_chooser)
        m_chooser->close();
}
