#pragma once

#include "syntax/linestates.h"
#include "syntax/roles.h"
#include "textengine/view/textformats.h"

#include <QBasicTimer>
#include <QDeadlineTimer>
#include <QObject>
#include <array>
#include <vector>

namespace textengine {
class TextView;
}

namespace forms {

// Colours a text view in its language with the syntax library and marks
// the bracket or tag at the caret with its partner. The tokenizer's states
// are read on in slices of the event loop, a few milliseconds each, only as
// far as the view shows; an edit reads on from its line until they agree
// again, and what changed colour is laid out anew. Colours follow the
// view's scheme (its palette's base and text colours), and so do its line
// numbers. It is a child of its view and lives as long as the view.
class SyntaxColouring : public QObject, public textengine::TextFormatSource, private syntax::TextSource
{
    Q_OBJECT
public:
    explicit SyntaxColouring(textengine::TextView *view);
    ~SyntaxColouring() override;

    syntax::Language language() const { return m_states.language(); }
    void setLanguage(syntax::Language language);
    // Off, the view shows its text as without colouring.
    bool isEnabled() const { return m_enabled; }
    void setEnabled(bool enabled);
    // Whether the states have caught up with what the view shows.
    bool isSettled() const { return !m_work.isActive(); }

    QList<QTextLayout::FormatRange> formats(int from, int to) override;
    void textReplaced(int position, int removed, int inserted, int firstLine, int lastLine) override;
    void textReset() override;

signals:
    // The colours of everything shown are final.
    void settled();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void timerEvent(QTimerEvent *event) override;

private:
    int textSize() const override;
    int lineCount() const override;
    int lineStart(int line) const override;
    int lineOf(int position) const override;
    QStringView characters(int from, int to, QString &scratch) const override;

    void schedule();
    void changed(int from, int to);
    void applyPalette();
    void updateMatch();

    textengine::TextView *m_view;
    syntax::LineStates m_states;
    bool m_enabled = false;
    std::array<QTextCharFormat, syntax::roleCount> m_formats;
    QTextCharFormat m_markFormat;
    QBasicTimer m_work;
    // What the layouts of one pass of the event loop may spend reading on.
    QDeadlineTimer m_budget;
    bool m_budgetOpen = false;
    std::vector<syntax::RoleSpan> m_spans;
    // Pieces coloured since the text last changed: their colours are right.
    std::vector<std::pair<int, int>> m_fresh;
};

} // namespace forms
