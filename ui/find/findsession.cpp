#include "ui/find/findsession.h"

#include "textengine/model/replacements.h"
#include "textengine/view/textview.h"

#include <QLocale>
#include <algorithm>
#include <future>

using textengine::TextMatch;
using textengine::TextSearch;

namespace {

// A slice of work between the window's events.
constexpr int sliceMs = 15;
// Characters a search looks at before it asks the clock again.
constexpr qsizetype sliceCharacters = 1 << 20;
// Match starts kept for "Treffer 3 von ...": 64 MB at most; beyond, only
// the number.
constexpr size_t keptStarts = 16'000'000;
// What each of the two cores counts in one go: some milliseconds.
constexpr int halfStretch = 1 << 20;
// Up to this many characters a match is counted along with the search.
constexpr int quickCount = 2'000'000;
// Room for the window to paint a match found before the count goes on.
constexpr int frameMs = 10;
// The count waits for a pause in editing.
constexpr int recountDelayMs = 150;
// Marks asked for a part of the text on screen, at most.
constexpr int marksPerPart = 10'000;

QString number(qsizetype n)
{
    return QLocale(QLocale::German).toString(qlonglong(n));
}

} // namespace

FindSession::FindSession(QObject *parent)
    : QObject(parent)
    , m_pattern(std::make_shared<textengine::SearchPattern>())
{
    m_slices.setSingleShot(true);
    m_slices.setInterval(0);
    connect(&m_slices, &QTimer::timeout, this, &FindSession::runSlices);
    m_recount.setSingleShot(true);
    m_recount.setInterval(recountDelayMs);
    connect(&m_recount, &QTimer::timeout, this, [this] { startCount(); });
}

FindSession::~FindSession()
{
    stopJobs();
    if (m_view)
        m_view->setMarkSource({});
}

void FindSession::setView(textengine::TextView *view)
{
    if (view == m_view)
        return;
    stopJobs();
    if (m_view) {
        m_view->setMarkSource({});
        disconnect(m_edited);
        disconnect(m_replacedConnection);
        disconnect(m_replacedManyConnection);
        disconnect(m_resetConnection);
    }
    m_view = view;
    m_current.reset();
    m_inSelection = false;
    m_openSelection.reset();
    m_counted = false;
    if (m_view) {
        m_edited = connect(m_view, &textengine::TextView::edited, this, &FindSession::textEdited);
        m_replacedConnection = connect(m_view, &textengine::TextView::replaced, this,
                                       [this](int position, int removed, const QString &inserted) {
                                           moveScope(position, removed, int(inserted.size()));
                                       });
        m_replacedManyConnection
            = connect(m_view, &textengine::TextView::replacedMany, this,
                      [this](const textengine::Replacements &replacements, bool undone) {
                          auto map = [&](int position) {
                              return undone ? replacements.mapBackward(position) : replacements.mapForward(position);
                          };
                          m_scope = {map(m_scope.first), map(m_scope.second)};
                          m_scopeMapped = true;
                      });
        // A text replaced whole in another way (another file, line breaks
        // rewritten) leaves the range nothing to follow.
        m_resetConnection = connect(m_view, &textengine::TextView::textReset, this, [this] {
            if (!std::exchange(m_scopeMapped, false) && !m_ownEdit)
                retakeScope();
        });
        // Searches under way read the view's text.
        connect(m_view, &QObject::destroyed, this, &FindSession::stopJobs, Qt::UniqueConnection);
    }
    setMarkSource();
    if (m_view && hasPattern())
        search(m_view->selectionStart(), false);
    else
        setState(m_pattern->isValid() ? State::Idle : State::Error);
}

void FindSession::setPattern(const QString &text, const textengine::SearchOptions &options)
{
    stopJobs();
    m_pattern = std::make_shared<textengine::SearchPattern>(text, options);
    m_regularExpression = options.regularExpression;
    m_replacement = textengine::ReplacementText(m_replacementTyped, m_regularExpression);
    m_counted = false;
    m_starts.clear();
    setMarkSource();
    if (!m_pattern->isValid()) {
        m_current.reset();
        setState(State::Error);
    } else if (!hasPattern() || !m_view) {
        m_current.reset();
        setState(State::Idle);
    } else {
        search(m_view->selectionStart(), false);
    }
}

void FindSession::setReplacement(const QString &text)
{
    m_replacementTyped = text;
    m_replacement = textengine::ReplacementText(text, m_regularExpression);
}

bool FindSession::takeSelection()
{
    m_openSelection.reset();
    if (!m_view || m_view->selectionStart() == m_view->selectionEnd())
        return false;
    m_openSelection = std::pair{m_view->selectionStart(), m_view->selectionEnd()};
    const textengine::TextContent &content = m_view->content();
    return content.lineOf(m_view->selectionStart()) != content.lineOf(m_view->selectionEnd());
}

void FindSession::setInSelection(bool on)
{
    m_inSelection = on;
    if (on && m_view)
        retakeScope();
    stopJobs();
    m_counted = false;
    if (m_view)
        m_view->viewport()->update();
    if (m_view && hasPattern())
        search(std::clamp(m_view->selectionStart(), scope().first, scope().second), false);
}

void FindSession::setMarksShown(bool on)
{
    m_marksShown = on;
    setMarkSource();
    if (!on)
        stopJobs();
}

void FindSession::retakeScope()
{
    if (!m_view)
        return;
    // A selection the user made counts, not a match the search selected.
    if (m_view->selectionStart() != m_view->selectionEnd() && !selectionIsCurrent())
        m_scope = {m_view->selectionStart(), m_view->selectionEnd()};
    else if (m_openSelection)
        m_scope = *m_openSelection;
    else
        m_scope = {m_view->caretPosition(), m_view->caretPosition()};
}

void FindSession::moveScope(int position, int removed, int inserted)
{
    // Text put in at either end belongs to the selection, as does what
    // replaces a part of it.
    const int shift = inserted - removed;
    auto &[start, end] = m_scope;
    if (start > position)
        start = start >= position + removed ? start + shift : position;
    if (end >= position)
        end = end >= position + removed ? end + shift : position + inserted;
}

std::pair<int, int> FindSession::scope() const
{
    const int length = m_view ? m_view->length() : 0;
    if (!m_inSelection)
        return {0, length};
    const int end = std::clamp(m_scope.second, 0, length);
    return {std::clamp(m_scope.first, 0, end), end};
}

std::shared_ptr<TextSearch> FindSession::newSearch() const
{
    const auto [start, end] = scope();
    // The search keeps the pattern it was made with, whatever comes after.
    struct Kept
    {
        std::shared_ptr<const textengine::SearchPattern> pattern;
        TextSearch search;
    };
    auto kept = std::make_shared<Kept>(Kept{m_pattern, TextSearch(m_view->content(), *m_pattern, start, end)});
    return std::shared_ptr<TextSearch>(kept, &kept->search);
}

bool FindSession::selectionIsCurrent() const
{
    return m_current && m_view && m_view->selectionStart() == m_current->start
        && m_view->selectionEnd() == m_current->end();
}

void FindSession::findNext()
{
    if (!m_view || !hasPattern())
        return;
    // On from the match selected; else from the caret or the selection's end.
    int origin = m_view->selectionEnd();
    if (selectionIsCurrent())
        origin = m_current->length > 0 ? m_current->end() : m_current->start + 1;
    search(origin, false);
}

void FindSession::findPrevious()
{
    if (!m_view || !hasPattern())
        return;
    search(m_view->selectionStart(), true);
}

void FindSession::search(int origin, bool backward)
{
    // A count under way goes on: the text and the pattern are the same.
    m_find = {};
    m_collect = {};
    const auto [start, end] = scope();
    origin = std::clamp(origin, start, end + 1);
    auto search = newSearch();
    struct Progress
    {
        int position;
        int limit;
        bool wrapped = false;
    };
    auto progress = std::make_shared<Progress>(backward ? Progress{origin, start} : Progress{origin, end + 1});
    m_find = [this, search, progress, backward, origin, start = start, end = end](const QDeadlineTimer &deadline) {
        while (!deadline.hasExpired()) {
            const std::optional<TextMatch> match = backward
                ? search->previous(progress->position, progress->limit, sliceCharacters)
                : search->next(progress->position, progress->limit, sliceCharacters);
            if (match) {
                found(*match, progress->wrapped);
                return true;
            }
            const bool more = backward ? progress->position > progress->limit : progress->position < progress->limit;
            if (more)
                continue;
            if (progress->wrapped) {
                m_current.reset();
                setState(State::NotFound);
                return true;
            }
            // Round the end to the other side, up to where it began.
            progress->wrapped = true;
            *progress = backward ? Progress{end + 1, origin, true} : Progress{start, origin, true};
        }
        return false;
    };
    m_backward = backward;
    if (!m_counted && !m_count)
        startCount(false);
    runSlices();
}

void FindSession::found(const TextMatch &match, bool wrapped)
{
    m_current = match;
    m_wrapped = wrapped;
    m_view->select(match.start, match.end());
    m_view->showPosition(match.start);
    setState(State::Found);
}

void FindSession::startCount(bool run)
{
    m_recount.stop();
    m_count = {};
    m_counted = false;
    m_starts.clear();
    m_total = 0;
    if (!m_view || !hasPattern())
        return;
    auto search = newSearch();
    // A second search counts the half of each stretch on another core. A
    // match within lines starts afresh at each line, so counting from a
    // line's start finds what counting through to it would; a pattern that
    // runs over line breaks is counted in one go.
    auto helper = m_pattern->spansLines() ? nullptr : newSearch();
    auto position = std::make_shared<int>(search->scopeStart());
    const int limit = search->scopeEnd() + 1;
    m_count = [this, search, helper, position, limit](const QDeadlineTimer &deadline) {
        const textengine::TextContent &content = m_view->content();
        auto lineAfter = [&content, limit](int at) {
            const int line = content.lineOf(std::min(at, content.size()));
            return std::min(limit - 1, line + 1 < content.lineCount() ? content.lineStart(line + 1) : content.size());
        };
        auto keep = [this](int start) {
            if (m_starts.size() < keptStarts)
                m_starts.push_back(start);
            ++m_total;
        };
        for (int found = 0; *position < limit;) {
            const int middle = helper ? lineAfter(*position + halfStretch) : limit;
            const int end = helper ? lineAfter(middle + halfStretch) : limit;
            if (helper && *position < middle && middle < end) {
                std::vector<int> far;
                auto other = std::async(std::launch::async, [&helper, &far, middle, end] {
                    int at = middle;
                    while (const std::optional<TextMatch> match = helper->next(at, end))
                        far.push_back(match->start);
                });
                while (const std::optional<TextMatch> match = search->next(*position, middle))
                    keep(match->start);
                other.get();
                for (const int start : far)
                    keep(start);
                *position = end;
            } else if (const std::optional<TextMatch> match = search->next(*position, limit, sliceCharacters)) {
                keep(match->start);
                // The clock is asked now and then: it costs as much as a match.
                if (++found % 256 != 0)
                    continue;
            }
            if (deadline.hasExpired() && *position < limit)
                return false;
        }
        m_counted = true;
        emit statusChanged();
        return true;
    };
    if (run)
        runSlices();
}

void FindSession::runSlices()
{
    // The first slice of a new search runs at once; the rest between events.
    const QDeadlineTimer deadline(sliceMs);
    bool painting = false;
    for (Job *job : {&m_find, &m_collect, &m_count}) {
        if (!*job)
            continue;
        // Taken out before it runs: what it calls may start new work.
        Job running = std::move(*job);
        *job = {};
        if (!running(deadline) && !*job)
            *job = std::move(running);
        // In a long text a match found is painted before the count goes on;
        // a short one is counted at once, so that the line never flickers.
        const auto [start, end] = scope();
        painting = job == &m_find && !*job;
        if (*job || deadline.hasExpired() || (painting && end - start > quickCount))
            break;
    }
    // The window paints the match found before the next slice begins.
    if (busy())
        m_slices.start(painting ? frameMs : 0);
}

void FindSession::stopJobs()
{
    m_find = {};
    m_count = {};
    m_collect = {};
    m_slices.stop();
    m_recount.stop();
}

void FindSession::replace()
{
    if (!m_view || !hasPattern())
        return;
    const int start = m_view->selectionStart();
    const int end = m_view->selectionEnd();
    // Only a selection that is a match is replaced; the match is found
    // again where it stands, for its groups.
    TextSearch finder(m_view->content(), *m_pattern, scope().first, scope().second);
    QRegularExpressionMatch details;
    int position = start;
    const std::optional<TextMatch> match = finder.next(position, start + 1, -1, &details);
    if (!match || match->start != start || match->end() != end) {
        findNext();
        return;
    }
    QString text;
    m_replacement.build(text, details);
    stopJobs();
    m_ownEdit = true;
    m_view->replace(start, end, text);
    m_ownEdit = false;
    // On after the new text; an empty match with nothing put in its place
    // moves on by one.
    const int next = m_view->caretPosition();
    m_current.reset();
    search(next == start && match->length == 0 ? next + 1 : next, false);
}

void FindSession::replaceAll()
{
    if (!m_view || !hasPattern())
        return;
    stopJobs();
    auto search = newSearch();
    auto position = std::make_shared<int>(search->scopeStart());
    auto replacements = std::make_shared<textengine::Replacements>();
    const int limit = search->scopeEnd() + 1;
    m_collect = [this, search, position, replacements, limit](const QDeadlineTimer &deadline) {
        QRegularExpressionMatch details;
        QString text;
        for (int found = 0; *position < limit;) {
            if (const std::optional<TextMatch> match = search->next(*position, limit, sliceCharacters, &details)) {
                if (m_replacement.isFixed()) {
                    replacements->add(match->start, match->length, m_replacement.fixedText());
                } else {
                    m_replacement.build(text, details);
                    replacements->add(match->start, match->length, text);
                }
                ++m_replaced;
                if (++found % 256 != 0)
                    continue;
            }
            if (deadline.hasExpired() && *position < limit)
                return false;
        }
        m_ownEdit = true;
        m_view->replaceAll(std::move(*replacements));
        m_ownEdit = false;
        m_current.reset();
        setState(m_replaced > 0 ? State::Replaced : State::NotFound);
        return true;
    };
    m_replaced = 0;
    runSlices();
}

void FindSession::textEdited()
{
    // Whatever ran looked at the text as it was.
    stopJobs();
    m_counted = false;
    m_starts.clear();
    if (!m_ownEdit) {
        m_current.reset();
        if (m_state == State::Found || m_state == State::NotFound)
            setState(State::Idle);
    }
    if (hasPattern() && m_marksShown)
        m_recount.start();
}

void FindSession::setMarkSource()
{
    if (!m_view)
        return;
    if (!m_marksShown || !hasPattern()) {
        m_view->setMarkSource({});
        return;
    }
    m_view->setMarkSource([this](int from, int to) {
        // Amber behind the text: light on a light pane, dark on a dark one,
        // so that the text keeps its colour and stays readable.
        QTextLayout::FormatRange mark;
        const bool dark = m_view->palette().color(QPalette::Base).lightness() < 128;
        mark.format.setBackground(dark ? QColor(0x6E, 0x54, 0x00) : QColor(0xFF, 0xD8, 0x6E));
        QList<QTextLayout::FormatRange> marks;
        const auto [start, end] = scope();
        const textengine::TextContent &content = m_view->content();
        TextSearch search(content, *m_pattern, start, end);
        // From the line's start, so that matches are the ones a search
        // from there finds (a line of megabytes: from a while before).
        int position = std::max(content.lineStart(content.lineOf(from)), from - 4096);
        while (marks.size() < marksPerPart) {
            const std::optional<TextMatch> match = search.next(position, std::min(to, end) + 1);
            if (!match)
                break;
            if (match->end() <= from)
                continue;
            QTextLayout::FormatRange range = mark;
            range.start = match->start;
            range.length = match->length;
            marks << range;
        }
        return marks;
    });
}

void FindSession::setState(State state)
{
    m_state = state;
    emit statusChanged();
}

bool FindSession::failed() const
{
    return m_state == State::Error || m_state == State::NotFound;
}

QString FindSession::status() const
{
    switch (m_state) {
    case State::Error:
        if (m_pattern->errorOffset() < 0)
            return QStringLiteral("Ungültiger Ausdruck: %1").arg(m_pattern->errorString());
        return QStringLiteral("Ungültiger Ausdruck an Stelle %1: %2")
            .arg(m_pattern->errorOffset() + 1)
            .arg(m_pattern->errorString());
    case State::NotFound:
        return QStringLiteral("Kein Treffer");
    case State::Replaced:
        return m_replaced == 1 ? QStringLiteral("1 Stelle ersetzt")
                               : QStringLiteral("%1 Stellen ersetzt").arg(number(m_replaced));
    case State::Found: {
        const QString wrapped
            = m_backward ? QStringLiteral("Vom Ende an weitergesucht") : QStringLiteral("Vom Anfang an weitergesucht");
        if (!m_counted)
            return m_wrapped ? wrapped : QString();
        QString line = QStringLiteral("%1 Treffer").arg(number(m_total));
        if (m_current && m_starts.size() == size_t(m_total)) {
            const auto at = std::lower_bound(m_starts.begin(), m_starts.end(), m_current->start);
            line = QStringLiteral("Treffer %1 von %2").arg(number(at - m_starts.begin() + 1), number(m_total));
        }
        return m_wrapped ? line + QStringLiteral(" – ") + wrapped : line;
    }
    case State::Idle:
        if (m_counted && hasPattern())
            return m_total == 0 ? QStringLiteral("Kein Treffer") : QStringLiteral("%1 Treffer").arg(number(m_total));
        return QString();
    }
    return QString();
}
