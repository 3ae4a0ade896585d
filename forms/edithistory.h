#pragma once

#include <QString>
#include <vector>

namespace forms {

// One replacement in a text: `removed` at `position` became `inserted`.
struct TextEdit
{
    int position = 0;
    QString removed;
    QString inserted;
};

// Undo and redo of a text view's edits. Characters typed one after another
// are one step, as a user expects from Ctrl+Z.
class EditHistory
{
public:
    void clear();
    void record(const TextEdit &edit, bool typed);
    // Ends the current run of typing (the caret moved, another edit came).
    void endTyping() { m_typing = false; }

    bool canUndo() const { return m_next > 0; }
    bool canRedo() const { return m_next < m_edits.size(); }
    // The edit to revert, or to apply again; moves through the history.
    const TextEdit &undo();
    const TextEdit &redo();

private:
    std::vector<TextEdit> m_edits;
    size_t m_next = 0;
    bool m_typing = false;
};

} // namespace forms
