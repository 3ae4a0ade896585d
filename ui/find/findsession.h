#pragma once

#include "textengine/model/searchpattern.h"
#include "textengine/model/textsearch.h"
#include "textengine/view/textview.h"

#include <QDeadlineTimer>
#include <QObject>
#include <QPointer>
#include <QTimer>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

// What the find window does to the text view it acts on: finds as the
// user types, steps to the next and previous match (wrapping at the end),
// counts the matches, marks those in view, replaces one or all.
//
// A search that takes long never holds the window up: it runs in slices of
// some milliseconds between the window's events, and anything new (a
// keystroke in the field, an edit of the text) drops it and starts afresh.
// The first slice runs at once, so that a short search answers before the
// keystroke's handler returns.
class FindSession : public QObject
{
    Q_OBJECT
public:
    explicit FindSession(QObject *parent = nullptr);
    ~FindSession() override;

    void setView(textengine::TextView *view);
    textengine::TextView *view() const { return m_view; }

    // What is searched for; a change searches from the start of the
    // selection (the match found so far, when typing on).
    void setPattern(const QString &text, const textengine::SearchOptions &options);
    bool hasPattern() const { return !m_pattern->isEmpty(); }
    void setReplacement(const QString &text);
    // Searches only what was selected when the window opened (or what the
    // user has selected since); takeSelection() notes it at the opening and
    // says whether it runs over more than one line.
    bool takeSelection();
    void setInSelection(bool on);
    // The matches in view are marked while this is on (the window shown).
    void setMarksShown(bool on);

    void findNext();
    void findPrevious();
    // Replaces the selected match and selects the next one; without a
    // selected match it finds the next one.
    void replace();
    void replaceAll();

    // The line the window shows, and whether it tells of a failure (no
    // match, an invalid expression).
    QString status() const;
    bool failed() const;
    // Some search is still running in slices.
    bool busy() const { return bool(m_find) || bool(m_count) || bool(m_collect); }

signals:
    void statusChanged();

private:
    enum class State { Idle, Error, NotFound, Found, Replaced };
    // Works until done (true) or the deadline has passed (false).
    using Job = std::function<bool(const QDeadlineTimer &deadline)>;

    std::pair<int, int> scope() const;
    // "Nur in der Auswahl" is set, or the text was replaced whole: the range
    // searched is taken from the pane's selection.
    void retakeScope();
    // The range searched follows an edit of the text.
    void moveScope(int position, int removed, int inserted);
    std::shared_ptr<textengine::TextSearch> newSearch() const;
    void search(int origin, bool backward);
    void startCount(bool run = true);
    void runSlices();
    void stopJobs();
    void found(const textengine::TextMatch &match, bool wrapped);
    void setState(State state);
    void textEdited();
    bool selectionIsCurrent() const;
    void setMarkSource();

    QPointer<textengine::TextView> m_view;
    QMetaObject::Connection m_edited;
    QMetaObject::Connection m_replacedConnection;
    QMetaObject::Connection m_replacedManyConnection;
    QMetaObject::Connection m_resetConnection;
    // The last text reset came with its replacements, which moved the range.
    bool m_scopeMapped = false;
    std::shared_ptr<const textengine::SearchPattern> m_pattern;
    textengine::ReplacementText m_replacement;
    QString m_replacementTyped;
    bool m_regularExpression = false;
    bool m_inSelection = false;
    std::pair<int, int> m_scope{0, 0};
    std::optional<std::pair<int, int>> m_openSelection;
    bool m_marksShown = false;

    std::optional<textengine::TextMatch> m_current;
    State m_state = State::Idle;
    bool m_wrapped = false;
    bool m_backward = false;
    qsizetype m_replaced = 0;
    bool m_ownEdit = false;

    // The starts of all matches in order, while counted; past a limit only
    // the number is kept.
    std::vector<int> m_starts;
    qsizetype m_total = 0;
    bool m_counted = false;

    Job m_find;
    Job m_count;
    Job m_collect;
    QTimer m_slices;
    QTimer m_recount;
};
