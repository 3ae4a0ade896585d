#pragma once

#include "textengine/model/replacements.h"

#include <QString>
#include <deque>
#include <memory>

namespace textengine {

// Where the selection was: the fixed end and the caret.
struct Selection
{
    int anchor = 0;
    int caret = 0;
    bool operator==(const Selection &) const = default;
};

// One step of the history: `removed` at `position` became `inserted`, or
// with `many` all of those replacements at once; and the selection before
// and after it, which undo and redo bring back.
struct EditStep
{
    int position = 0;
    QString removed;
    QString inserted;
    Selection before;
    Selection after;
    std::shared_ptr<Replacements> many = nullptr;
};

// How an edit came about: runs of the same kind of keystroke form one step.
enum class EditKind {
    Typing,          // characters typed one after another
    DeletingBack,    // Backspace, again and again
    DeletingForward, // Delete, again and again
    Other,           // everything else is a step of its own
};

// Undo and redo of a text view's edits. It keeps the newest steps up to a
// memory limit and drops the oldest beyond it; the newest step is kept
// whatever its size, so that the last edit can always be taken back.
class EditHistory
{
public:
    // 32 MiB of text in the steps (16 million characters) by default.
    static constexpr qsizetype defaultLimitBytes = qsizetype(32) * 1024 * 1024;

    explicit EditHistory(qsizetype limitBytes = defaultLimitBytes);

    void clear();
    void record(EditStep step, EditKind kind);
    // Ends the current run (the caret moved, or another kind of edit came).
    void endRun() { m_run = EditKind::Other; }
    // Marks the text as it is now as saved (or as read); undo and redo that
    // come back to this point find it so again. The history starts there.
    void setSavePoint();
    bool isAtSavePoint() const { return m_savePoint == m_next; }

    bool canUndo() const { return m_next > 0; }
    bool canRedo() const { return m_next < m_steps.size(); }
    // The step to revert, or to apply again; moves through the history.
    const EditStep &undo();
    const EditStep &redo();

    qsizetype bytes() const { return m_bytes; }
    size_t steps() const { return m_steps.size(); }

private:
    bool merge(const EditStep &step, EditKind kind);
    void dropOldest();
    static qsizetype bytesOf(const EditStep &step);

    static constexpr size_t unreachable = size_t(-1);

    std::deque<EditStep> m_steps;
    size_t m_next = 0;
    // The value of m_next at the save point; unreachable once its steps are
    // dropped or replaced.
    size_t m_savePoint = 0;
    EditKind m_run = EditKind::Other;
    qsizetype m_bytes = 0;
    qsizetype m_limit;
};

} // namespace textengine
