#include "textengine/view/textview.h"

#include "textengine/model/crlf.h"
#include "textengine/view/primaryselection.h"
#include "textengine/view/textaccessible.h"

#include <QAccessible>
#include <QClipboard>
#include <QGuiApplication>

namespace textengine {

namespace {

// Other programs here expect LF between lines; a paste turns it back.
QString withLf(QString text)
{
    return text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
}

} // namespace

void TextView::ensureCrLf(std::initializer_list<int *> positions, Replacements *replacements)
{
    if (m_content.onlyCrLf())
        return;
    keepPrimarySelection();
    // Lines keep their characters, so positions move by line and column, and
    // the laid-out rows (which count from their line's start) stay valid.
    auto column = [this](int position) {
        const int line = m_content.lineOf(position);
        return std::pair{line, std::min(position, m_content.lineEnd(line)) - m_content.lineStart(line)};
    };
    std::vector<std::pair<int, int>> columns;
    columns.push_back(column(m_caret));
    columns.push_back(column(m_anchor));
    for (const int *position : positions)
        columns.push_back(column(*position));
    std::vector<std::pair<int, int>> rangeEnds;
    if (replacements)
        replacements->moveRanges([&](int position) {
            rangeEnds.push_back(column(position));
            return position;
        });
    const QString oldText = accessibleText(this);
    m_content.normalizeLineBreaks();
    emit textReset();
    if (m_formatSource)
        m_formatSource->textReset();
    auto back = [this](const std::pair<int, int> &column) { return m_content.lineStart(column.first) + column.second; };
    m_caret = back(columns[0]);
    m_anchor = back(columns[1]);
    size_t i = 2;
    for (int *position : positions)
        *position = back(columns[i++]);
    if (replacements) {
        size_t end = 0;
        replacements->moveRanges([&](int) { return back(rangeEnds[end++]); });
    }
    textReplacedForAccessibility(this, oldText);
}

void TextView::replaceRange(int position, int removed, const QString &inserted, EditKind kind)
{
    const int end = position + static_cast<int>(inserted.size());
    m_history.record({position, m_content.mid(position, removed), inserted, {m_anchor, m_caret}, {end, end}}, kind);
    applyReplace(position, removed, inserted, {end, end});
}

void TextView::applyReplace(int position, int removed, const QString &inserted, Selection after)
{
    keepPrimarySelection();
    const int firstLine = m_content.lineOf(position);
    const int lastLine = m_content.lineOf(position + removed);
    const QString removedText = QAccessible::isActive() ? m_content.mid(position, removed) : QString();
    // The top row is kept as the text it starts at: an edit may cut the
    // lines into other segments and rows, so the old row numbers can name
    // rows that no longer exist or hold other text.
    int top = m_rows.rowStart(m_rows.clamp(m_top));
    if (top >= position + removed)
        top += static_cast<int>(inserted.size()) - removed;
    else if (top > position)
        top = position;
    m_content.replace(position, removed, inserted);
    if (m_formatSource)
        m_formatSource->textReplaced(position, removed, static_cast<int>(inserted.size()), firstLine, lastLine);
    m_rows.edited(position, removed, static_cast<int>(inserted.size()), firstLine, lastLine);
    m_top = m_rows.rowOf(top);
    if (updateLineNumberDigits() && m_lineNumbersShown)
        relayout();
    m_anchor = m_content.snap(after.anchor);
    m_caret = m_content.snap(after.caret);
    m_goalX = -1;
    textEditedForAccessibility(this, position, removedText, inserted);
    caretMoved();
    emit replaced(position, removed, inserted);
    emit edited();
}

void TextView::replaceAll(Replacements replacements)
{
    if (replacements.isEmpty())
        return;
    ensureCrLf({}, &replacements);
    replacements.insertCrLf();
    const Selection before{m_anchor, m_caret};
    const Selection after{replacements.mapForward(m_anchor), replacements.mapForward(m_caret)};
    auto many = std::make_shared<Replacements>(std::move(replacements));
    m_history.endRun();
    // Made first, so that the step knows the texts it removed.
    applyAll(*many, false, after);
    EditStep step;
    step.many = many;
    step.before = before;
    step.after = after;
    m_history.record(std::move(step), EditKind::Other);
}

void TextView::applyAll(Replacements &replacements, bool back, Selection after)
{
    keepPrimarySelection();
    const QString oldText = accessibleText(this);
    const int topPosition = m_rows.rowStart(m_rows.clamp(m_top));
    if (back)
        m_content.revert(replacements);
    else
        m_content.replace(replacements);
    if (m_formatSource)
        m_formatSource->textReset();
    // The rows are counted afresh; the view keeps the caret in sight.
    updateLineNumberDigits();
    m_layouts.setWidth(viewport()->width() - textLeft() - margin);
    m_layouts.clear();
    m_rows.reset();
    m_top = m_rows.rowOf(std::min(topPosition, length()));
    m_anchor = m_content.snap(after.anchor);
    m_caret = m_content.snap(after.caret);
    m_goalX = -1;
    updateScrollBar();
    textReplacedForAccessibility(this, oldText);
    caretMoved();
    emit replacedMany(replacements, back);
    emit textReset();
    emit edited();
}

void TextView::replaceSelection(const QString &text, EditKind kind)
{
    ensureCrLf();
    const QString inserted = toCrLf(text, {.loneCarriageReturns = true, .loneLineFeeds = true});
    const int start = selectionStart();
    const int removed = selectionEnd() - start;
    if (removed == 0 && inserted.isEmpty())
        return;
    replaceRange(start, removed, inserted, kind);
}

void TextView::replace(int from, int to, const QString &text)
{
    from = std::clamp(from, 0, length());
    to = std::clamp(to, from, length());
    ensureCrLf({&from, &to});
    from = m_content.snap(from);
    to = std::max(from, m_content.snap(to));
    const QString inserted = toCrLf(text, {.loneCarriageReturns = true, .loneLineFeeds = true});
    if (from == to && inserted.isEmpty())
        return;
    m_history.endRun();
    replaceRange(from, to - from, inserted, EditKind::Other);
}

void TextView::deleteTo(int position, EditKind kind)
{
    if (m_caret != m_anchor) {
        replaceSelection(QString(), EditKind::Other);
        return;
    }
    const int from = std::min(position, m_caret);
    const int to = std::max(position, m_caret);
    if (from != to)
        replaceRange(from, to - from, QString(), kind);
}

void TextView::insertPlainText(const QString &text)
{
    replaceSelection(text, EditKind::Other);
}

void TextView::deletePreviousChar()
{
    ensureCrLf();
    deleteTo(m_content.previousPosition(m_caret), EditKind::DeletingBack);
}

void TextView::undo()
{
    if (!m_history.canUndo())
        return;
    const EditStep step = m_history.undo();
    if (step.many) {
        applyAll(*step.many, true, step.before);
        return;
    }
    applyReplace(step.position, static_cast<int>(step.inserted.size()), step.removed, step.before);
}

void TextView::redo()
{
    if (!m_history.canRedo())
        return;
    const EditStep step = m_history.redo();
    if (step.many) {
        applyAll(*step.many, false, step.after);
        return;
    }
    applyReplace(step.position, static_cast<int>(step.removed.size()), step.inserted, step.after);
}

void TextView::copy() const
{
    if (m_caret != m_anchor)
        QGuiApplication::clipboard()->setText(withLf(selectedText()));
}

void TextView::cut()
{
    if (m_caret == m_anchor)
        return;
    copy();
    replaceSelection(QString(), EditKind::Other);
}

void TextView::paste()
{
    const QString text = QGuiApplication::clipboard()->text();
    if (!text.isEmpty())
        replaceSelection(text, EditKind::Other);
}

void TextView::selectAll()
{
    select(0, length());
    offerPrimarySelection();
}

void TextView::offerPrimarySelection()
{
    QClipboard *clipboard = QGuiApplication::clipboard();
    if (m_caret == m_anchor || !clipboard->supportsSelection())
        return;
    keepPrimarySelection();
    m_primary = new PrimarySelection(m_content, selectionStart(), selectionEnd());
    clipboard->setMimeData(m_primary, QClipboard::Selection);
}

void TextView::keepPrimarySelection()
{
    if (m_primary)
        m_primary->keep();
}

void TextView::pastePrimarySelection(const QPoint &at)
{
    QClipboard *clipboard = QGuiApplication::clipboard();
    if (!clipboard->supportsSelection())
        return;
    const QString text = clipboard->text(QClipboard::Selection);
    setCaretPosition(positionAt(at));
    if (!text.isEmpty())
        replaceSelection(text, EditKind::Other);
}

} // namespace textengine
