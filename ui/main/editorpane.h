#pragma once

#include "document/textdocument.h"

#include <QObject>
#include <functional>

namespace forms {
class CommandButton;
class TextBox;
} // namespace forms

// The save/cancel mechanism of one editor: its text box, the document it
// holds (the file, its encoding and the unsaved-change flag) and its Save
// and Cancel buttons. The document and the stylesheet are two instances;
// the document's also locks the file browser while it holds changes.
class EditorPane : public QObject
{
    Q_OBJECT
public:
    using BrowserLock = std::function<void(bool locked)>;

    EditorPane(forms::TextBox *textBox, forms::CommandButton *saveButton, forms::CommandButton *cancelButton,
               BrowserLock lockBrowser = {}, QObject *parent = nullptr);

    const document::TextDocument &document() const { return m_document; }
    bool changed() const { return m_document.isModified(); }
    // Aims the pane at a file without reading it.
    void setPath(const QString &path) { m_document.setPath(path); }

    // Clears the flag and greys the buttons.
    void NoChanges();
    // Changes-pending look: Cancel light red, Save green, both enabled.
    void MakeButtons();
    // No-changes look: both in the button-face colour and disabled.
    void NoButtons();

    // The text box's Change: the flag is set and the buttons light up.
    void onTextChange();

    // Aims the pane at the file and fills the box from it: tabs as spaces,
    // then line ends made CR LF. False when the file cannot be read; the box
    // then keeps what it had.
    bool fillFromFile(const QString &path);

    // Writes the text without its trailing line ends, in the encoding the
    // file was read in; the box's text stays as it is. Only a successful
    // write clears the changes: after a failure, which has shown its
    // message, they stay pending (and the browser locked), since nothing of
    // them reached the file.
    bool Save();

private:
    forms::TextBox *m_textBox;
    forms::CommandButton *m_saveButton;
    forms::CommandButton *m_cancelButton;
    BrowserLock m_lockBrowser;
    document::TextDocument m_document;
};
