#include "forms/textview.h"

#include <QClipboard>
#include <QGuiApplication>

namespace forms {

void TextView::ensureCrLf()
{
    if (m_content.onlyCrLf())
        return;
    // Lines keep their characters, so positions move by line and column and
    // the wrapped rows stay valid.
    auto column = [this](int position) {
        const int line = m_content.lineOf(position);
        return std::pair{line, std::min(position, m_content.lineEnd(line)) - m_content.lineStart(line)};
    };
    const auto caret = column(m_caret);
    const auto anchor = column(m_anchor);
    m_content.normalizeLineBreaks();
    m_caret = m_content.lineStart(caret.first) + caret.second;
    m_anchor = m_content.lineStart(anchor.first) + anchor.second;
}

void TextView::replaceRange(int position, int removed, const QString &inserted, bool typed)
{
    m_history.record({position, m_content.mid(position, removed), inserted}, typed);
    applyReplace(position, removed, inserted);
}

void TextView::applyReplace(int position, int removed, const QString &inserted)
{
    const int oldLines = m_content.lineCount();
    const int first = m_content.lineOf(position);
    const int last = m_content.lineOf(position + removed);
    const int firstStart = m_content.lineStart(first);
    m_content.replace(position, removed, inserted);
    const int newLines = m_content.lineCount();
    if (first == last && oldLines == newLines && m_content.lineStart(first) == firstStart)
        m_layouts.lineEdited(first, position - firstStart, removed, static_cast<int>(inserted.size()));
    else
        m_layouts.linesReplaced(first, last - first + 1, last - first + 1 + newLines - oldLines);
    m_caret = m_anchor = position + static_cast<int>(inserted.size());
    m_goalX = -1;
    fixTop();
    ensureCaretVisible();
    restartBlink();
    viewport()->update();
    emit edited();
}

void TextView::replaceSelection(const QString &text, bool typed)
{
    ensureCrLf();
    const QString inserted = withCrLf(text);
    const int start = selectionStart();
    const int removed = selectionEnd() - start;
    if (removed == 0 && inserted.isEmpty())
        return;
    replaceRange(start, removed, inserted, typed);
}

void TextView::deleteTo(int position)
{
    if (m_caret != m_anchor) {
        replaceSelection(QString(), false);
        return;
    }
    const int from = std::min(position, m_caret);
    const int to = std::max(position, m_caret);
    if (from != to)
        replaceRange(from, to - from, QString(), false);
}

void TextView::insertPlainText(const QString &text)
{
    replaceSelection(text, false);
}

void TextView::deletePreviousChar()
{
    ensureCrLf();
    deleteTo(m_content.previousCodePoint(m_caret));
}

void TextView::undo()
{
    if (!m_history.canUndo())
        return;
    const TextEdit edit = m_history.undo();
    applyReplace(edit.position, static_cast<int>(edit.inserted.size()), edit.removed);
}

void TextView::redo()
{
    if (!m_history.canRedo())
        return;
    const TextEdit edit = m_history.redo();
    applyReplace(edit.position, static_cast<int>(edit.removed.size()), edit.inserted);
}

void TextView::copy() const
{
    if (m_caret == m_anchor)
        return;
    // Other programs here expect LF between lines; a paste turns it back.
    QString text = selectedText();
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    QGuiApplication::clipboard()->setText(text);
}

void TextView::cut()
{
    if (m_caret == m_anchor)
        return;
    copy();
    replaceSelection(QString(), false);
}

void TextView::paste()
{
    const QString text = QGuiApplication::clipboard()->text();
    if (!text.isEmpty())
        replaceSelection(text, false);
}

void TextView::selectAll()
{
    m_anchor = 0;
    m_caret = length();
    m_history.endTyping();
    viewport()->update();
}

} // namespace forms
