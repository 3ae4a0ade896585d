#pragma once

#include "forms/form.h"
#include "ui/chooser/frmfileselect.h"

#include <QPointer>

namespace forms {
class SyntaxColouring;
class CheckBox;
class CommandButton;
class DriveList;
class FileList;
class FolderList;
class Frame;
class Label;
class LineTextBox;
class TextBox;
} // namespace forms
class EditorPane;
class QMenu;
class QMimeData;

// The main window: the file browser column, the document and stylesheet
// editors with their Save/Cancel buttons, and the window options. Its
// behaviour is split by concern over several source files (layout,
// browser, document, stylesheet, options).
class frmTextEdit : public forms::Form
{
    Q_OBJECT
public:
    explicit frmTextEdit(QWidget *parent = nullptr);
    ~frmTextEdit() override;

    // Controls, named as the window's design names them.
    forms::Frame *frmButtonsCSS;
    forms::CommandButton *cmdCancelCSS;
    forms::CommandButton *cmdSaveCSS;
    forms::CommandButton *cmdHTML;
    forms::CheckBox *chkGreen;
    forms::CheckBox *chkDark;
    forms::CheckBox *chkPattern;
    forms::LineTextBox *txtPattern;
    forms::CommandButton *cmdCSS;
    forms::CommandButton *cmdUmlaute;
    forms::CheckBox *chkJumpEnd;
    forms::CommandButton *cmdTop;
    forms::CommandButton *cmdRefresh;
    forms::FileList *File2;
    forms::Frame *frmButtons;
    forms::CommandButton *cmdSave;
    forms::CommandButton *cmdCancel;
    forms::CommandButton *dummy;
    forms::FolderList *Dir2;
    forms::DriveList *Drive1;
    forms::TextBox *txtCSS;
    forms::TextBox *txtTXT;
    forms::Label *lblSplitH;
    forms::Label *lblSplitV;

    // Public routines that start-up and other windows call.
    void NoChanges();
    void MakeButtons();
    void NoButtons();
    void NoChangesCSS();
    void MakeButtonsCSS();
    void NoButtonsCSS();
    void LayoutSplitH();
    void LayoutSplitV();
    void chkPattern_Click();
    void chkDark_Click();
    // Fills the stylesheet pane from CssFile without showing it; a file that
    // cannot be read leaves the pane as it was.
    void fillStylesheet();

    // Syntax colouring and line numbers of both panes, and going to a line
    // (syntaxoptions.cpp).
    bool SyntaxHighlight() const { return m_syntaxHighlight; }
    void SetSyntaxHighlight(bool on);
    bool LineNumbers() const { return m_lineNumbers; }
    void SetLineNumbers(bool on);
    void GoToLine();

    // Form-level state.
    bool Changed() const;
    bool ChangedCSS() const;
    int ViewCSS() const { return m_viewCSS; }
    int OnTop() const { return m_onTop; }
    // The chooser while it is open, for the tests and the close.
    frmFileSelect *chooser() const { return m_chooser; }
    bool waitingForChooser() const { return m_waitingForChooser; }

    // Event handlers, public so that tests and start-up can run them as the
    // platform would.
    void Form_MouseMove(int button, int shift, double x, double y) override;
    void cmdCSS_MouseDown(int button, int shift, double x, double y);
    void cmdHTML_MouseDown(int button, int shift, double x, double y);

signals:
    // Raised by Form_Unload before the window lets go of anything: the
    // program's end saves the window state here (program/unload.h).
    void Unloading();

protected:
    void Form_Load() override;
    void Form_Resize() override;
    void Form_Unload(int &cancel) override;

private:
    void createControls();
    void connectHandlers();
    void applyTabOrder();

    // Layout and splitters.
    void lblSplitH_MouseDown(int button, int shift, double x, double y);
    void lblSplitH_MouseMove(int button, int shift, double x, double y);
    void lblSplitV_MouseDown(int button, int shift, double x, double y);
    void lblSplitV_MouseMove(int button, int shift, double x, double y);
    void resetSplitterColours();

    // File browser.
    void Drive1_Change();
    void Dir2_Change();
    void File2_DblClick();
    void File2_OLEDragDrop(const QMimeData *data);
    void Dir2_OLEDragDrop(const QMimeData *data);
    void moveBrowserToDrops(const QMimeData *data, bool followDrive);
    void txtPattern_Change();
    void cmdRefresh_Click();
    void lockBrowser(bool locked);

    // Document.
    void File2_Click();
    void txtTXT_Change();
    void cmdSave_Click();
    void cmdCancel_Click();
    void chkJumpEnd_Click();

    // Stylesheet.
    void txtCSS_Change();
    void cmdSaveCSS_Click();
    void cmdCancelCSS_Click();
    bool chooseStylesheet();
    void loadStylesheet();
    void showView(int viewCSS);

    // Options.
    void chkGreen_Click();
    void cmdTop_Click();
    void cmdUmlaute_Click();

    // Syntax colouring (syntaxoptions.cpp).
    void setupSyntax();
    // The document's file, whose extension names its language.
    QString documentPath() const;
    void applyDocumentLanguage();
    void addPaneEntries(QMenu *menu);

    void focusDummy();
    // Save of either pane: the focus to dummy, pending events, the write.
    void savePane(EditorPane &pane, const QString &path);

    EditorPane *m_documentPane = nullptr;
    EditorPane *m_stylesheetPane = nullptr;
    forms::SyntaxColouring *m_documentColouring = nullptr;
    forms::SyntaxColouring *m_stylesheetColouring = nullptr;
    bool m_syntaxHighlight = false;
    bool m_lineNumbers = false;
    int m_viewCSS = 0;
    int m_onTop = 0;
    // Unset until the first press on a splitter bar.
    double m_dragStartX = 0;
    double m_dragStartY = 0;
    QPointer<frmFileSelect> m_chooser;
    bool m_waitingForChooser = false;
    bool m_closing = false;
};
