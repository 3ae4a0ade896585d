// The state the window keeps from one run to the next: applied at start-up,
// reported at the close.
#include "ui/main/frmtextedit.h"

#include "app/programsettings.h"
#include "app/settings.h"
#include "forms/checkbox.h"
#include "forms/drivelist.h"
#include "forms/filelist.h"
#include "forms/folderlist.h"
#include "forms/label.h"
#include "platform/screen.h"
#include "support/textfile.h"
#include "support/windowhelpers.h"
#include "ui/main/editorpane.h"

#include <algorithm>
#include <vector>

namespace {

// A remembered splitter position lies within the window; one outside it
// (hand-edited, or from a far larger window) would hide the editor or the
// browser for good, and counts as not remembered.
int splitterPosition(std::optional<int> remembered, int windowExtent, int fallback)
{
    if (!remembered || *remembered < 0 || *remembered > windowExtent)
        return fallback;
    return *remembered;
}

} // namespace

void frmTextEdit::applyState(const WindowState &state)
{
    Drive1->SetDrive(state.folder);
    Dir2->SetPath(state.folder);
    File2->SetPath(state.folder);
    m_stylesheetPane->setPath(state.stylesheet);
    if (state.green)
        chkGreen->SetValue(*state.green);
    if (state.dark)
        chkDark->SetValue(*state.dark);
    if (state.zoom)
        setZoom(*state.zoom);
    SetSyntaxHighlight(state.syntaxHighlight);
    SetLineNumbers(state.lineNumbers);

    placeWindow(state);

    const int designedLeft = lblSplitH->Left();
    lblSplitH->SetLeft(splitterPosition(state.splitHLeft, Width(), designedLeft));
    lblSplitV->SetTop(
        splitterPosition(state.splitVTop, Height(), static_cast<int>(Val(settingkeys::SplitVTop.defaultValue))));
    LayoutSplitH();
    LayoutSplitV();

    // An unreadable stylesheet leaves its pane as it was.
    if (!state.stylesheet.isEmpty() && support::FileExists(state.stylesheet))
        m_stylesheetPane->fillFromFile(state.stylesheet);

    chkPattern_Click();
    NoChanges();
    NoChangesCSS();
}

void frmTextEdit::placeWindow(const WindowState &state)
{
    if (state.height)
        SetHeight(*state.height);
    // Without a remembered width the window keeps the width it was created
    // with: the designed client width plus whatever frame the desktop draws.
    if (state.width)
        SetWidth(*state.width);
    if (state.centred) {
        support::CenterForm(*this);
        return;
    }
    if (state.top)
        SetTop(*state.top);
    if (state.left)
        SetLeft(*state.left);
    if (!reachable())
        support::CenterForm(*this);
}

// A remembered place from a screen that is gone, or hand-edited numbers,
// would open the window where nobody can reach it. It counts as reachable
// when its caption strip (the top 450 twips) lies on the screens at least
// 600 twips wide and at least half its height deep. Each screen counts as a
// whole: panels are no reason to move the window, the window manager keeps
// it clear of them.
bool frmTextEdit::reachable() const
{
    const QList<platform::ScreenArea> screens = platform::screensTwips();
    if (screens.isEmpty())
        return true;
    const QRect caption(Left(), Top(), Width(), std::min(450, Height()));
    // The caption's stretches on the screens, side by side screens joined.
    std::vector<std::pair<int, int>> spans;
    for (const platform::ScreenArea &screen : screens) {
        const QRect part = caption.intersected(screen.geometry);
        if (!part.isEmpty() && part.height() * 2 >= caption.height())
            spans.emplace_back(part.left(), part.left() + part.width());
    }
    std::sort(spans.begin(), spans.end());
    int longest = 0;
    for (size_t i = 0; i < spans.size();) {
        auto [from, to] = spans[i];
        for (++i; i < spans.size() && spans[i].first <= to; ++i)
            to = std::max(to, spans[i].second);
        longest = std::max(longest, to - from);
    }
    return longest >= std::min(600, Width());
}

WindowState frmTextEdit::windowState() const
{
    WindowState state;
    state.folder = File2->Path();
    state.stylesheet = stylesheet().path();
    state.green = chkGreen->Value();
    state.dark = chkDark->Value();
    state.width = Width();
    state.height = Height();
    state.left = Left();
    state.top = Top();
    state.splitHLeft = lblSplitH->Left();
    state.splitVTop = lblSplitV->Top();
    state.zoom = m_zoom;
    state.syntaxHighlight = m_syntaxHighlight;
    state.lineNumbers = m_lineNumbers;
    return state;
}
