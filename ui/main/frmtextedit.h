#pragma once

#include "forms/form.h"
#include "ui/chooser/frmfileselect.h"
#include "ui/main/windowstate.h"

#include <QPointer>
#include <memory>

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
namespace document {
class JournalFolder;
class TextDocument;
} // namespace document
class EditorPane;
class FindWindow;
class QMenu;
class QMimeData;

// The main window: the file browser column, the document and stylesheet
// editors with their Save/Cancel buttons, and the window options. Its
// behaviour is split by concern over several source files (layout,
// browser, document, stylesheet, options, the state kept between runs).
// Its controls are its own; tests reach them by their names.
class frmTextEdit : public forms::Form
{
    Q_OBJECT
public:
    explicit frmTextEdit(QWidget *parent = nullptr);
    ~frmTextEdit() override;

    // Start-up: the browser folder, stylesheet and colour options, then the
    // size and place (centred when none is given or the place cannot be
    // reached), the splitters and panel layout, the stylesheet's text, the
    // file pattern and the unchanged state of both editors.
    void applyState(const WindowState &state);
    // Everything applyState takes, as the window stands now.
    WindowState windowState() const;

    // The files the two editors hold.
    const document::TextDocument &document() const;
    const document::TextDocument &stylesheet() const;

    // After start-up: what a run that ended without saving left in the
    // recovery journals is offered back, once for each pane.
    void offerRecovery();
    // Opens the file in the document pane as a click on it in the file list
    // does, with the browser moved to its folder and the file selected.
    void openDocument(const QString &path);

    // Public routines that other windows and tests call.
    void NoChanges();
    void MakeButtons();
    void NoButtons();
    void NoChangesCSS();
    void LayoutSplitH();
    void LayoutSplitV();
    void chkPattern_Click();
    void chkDark_Click();

    // Form-level state.
    bool Changed() const;
    bool ChangedCSS() const;
    int ViewCSS() const { return m_viewCSS; }
    int OnTop() const { return m_onTop; }
    // Both panes' font, in steps of a point from the designed size.
    int zoom() const { return m_zoom; }
    void setZoom(int steps);
    static constexpr int minimumZoom = -5;
    static constexpr int maximumZoom = 40;
    // The chooser while it is open.
    frmFileSelect *chooser() const { return m_chooser; }

    // Syntax colouring and line numbers of both panes, and going to a line
    // (syntaxoptions.cpp).
    bool SyntaxHighlight() const { return m_syntaxHighlight; }
    void SetSyntaxHighlight(bool on);
    bool LineNumbers() const { return m_lineNumbers; }
    void SetLineNumbers(bool on);
    void GoToLine();

    // Event handlers, public so that tests can run them as the platform
    // would.
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
    void changeEvent(QEvent *event) override;

private:
    void createControls();
    void connectHandlers();
    void applyTabOrder();

    // The state kept between runs.
    void placeWindow(const WindowState &state);
    bool reachable() const;

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
    void openInDocument(const QString &path);
    void txtTXT_Change();
    void cmdSave_Click();
    void cmdCancel_Click();
    void chkJumpEnd_Click();

    // Stylesheet.
    void txtCSS_Change();
    void cmdSaveCSS_Click();
    void cmdCancelCSS_Click();
    void openChooser();
    void chooserAnswered(const ChooserAnswer &answer);
    void loadStylesheet();
    void showView(int viewCSS);

    // Keys of the whole window.
    void createShortcuts();

    // Options.
    void chkGreen_Click();
    void cmdTop_Click();
    void cmdUmlaute_Click();

    // Find and replace.
    void createFindWindow();

    // Syntax colouring (syntaxoptions.cpp).
    void setupSyntax();
    // The document's language follows its file's extension.
    void applyDocumentLanguage();
    void addPaneEntries(QMenu *menu);

    void focusDummy();
    // Save of either pane: the focus to dummy, pending events, the write.
    void savePane(EditorPane &pane);
    // Asked at the close when a pane's unsaved changes could not be kept.
    bool mayLoseChanges(const EditorPane &pane) const;
    // A pane's question about another program's change waits for the
    // window to be active.
    void askAboutDiskChanges();
    void selectInBrowser(const QString &path);

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

    std::unique_ptr<document::JournalFolder> m_journals;
    EditorPane *m_documentPane = nullptr;
    EditorPane *m_stylesheetPane = nullptr;
    forms::SyntaxColouring *m_documentColouring = nullptr;
    forms::SyntaxColouring *m_stylesheetColouring = nullptr;
    bool m_syntaxHighlight = false;
    bool m_lineNumbers = false;
    int m_viewCSS = 0;
    int m_onTop = 0;
    int m_zoom = 0;
    // Unset until the first press on a splitter bar.
    double m_dragStartX = 0;
    double m_dragStartY = 0;
    FindWindow *m_findWindow = nullptr;
    QPointer<frmFileSelect> m_chooser;
    bool m_closing = false;
};
