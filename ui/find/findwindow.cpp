#include "ui/find/findwindow.h"

#include "platform/window.h"
#include "support/umlauts.h"
#include "textengine/view/textview.h"
#include "ui/find/findsession.h"

#include <QAccessible>
#include <QCheckBox>
#include <QEvent>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QShortcut>
#include <QSignalBlocker>
#include <QStyle>
#include <QVBoxLayout>

namespace {

// The name a screen reader says: the caption without its mnemonic.
QString withoutMnemonic(QString text)
{
    return text.remove(QLatin1Char('&')).remove(QLatin1Char(':'));
}

} // namespace

FindWindow::FindWindow(QWidget *owner)
    : QDialog(owner)
    , m_session(new FindSession(this))
{
    setObjectName(QStringLiteral("FindWindow"));
    setWindowTitle(QStringLiteral("Suchen und Ersetzen"));
    setModal(false);
    createControls();
    if (owner)
        owner->installEventFilter(this);
    connect(m_session, &FindSession::statusChanged, this, &FindWindow::showStatus);
    auto *next = new QShortcut(QKeySequence(Qt::Key_F3), this);
    connect(next, &QShortcut::activated, this, &FindWindow::findNext);
    auto *previous = new QShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F3), this);
    connect(previous, &QShortcut::activated, this, &FindWindow::findPrevious);
}

FindWindow::~FindWindow() = default;

void FindWindow::createControls()
{
    auto field = [this](const QString &caption, QLineEdit *&edit, const char *name) {
        edit = new QLineEdit(this);
        edit->setObjectName(QLatin1String(name));
        edit->setAccessibleName(withoutMnemonic(caption));
        auto *label = new QLabel(caption, this);
        label->setBuddy(edit);
        return label;
    };
    auto box = [this](const QString &caption, const char *name) {
        auto *check = new QCheckBox(caption, this);
        check->setObjectName(QLatin1String(name));
        check->setAccessibleName(withoutMnemonic(caption));
        return check;
    };
    auto button = [this](const QString &caption, const char *name) {
        auto *push = new QPushButton(caption, this);
        push->setObjectName(QLatin1String(name));
        push->setAccessibleName(withoutMnemonic(caption));
        return push;
    };
    QLabel *findLabel = field(QStringLiteral("&Suchen nach:"), m_findField, "findField");
    QLabel *replaceLabel = field(QStringLiteral("Ersetzen &durch:"), m_replaceField, "replaceField");
    m_caseSensitive = box(QStringLiteral("Groß-/&Kleinschreibung beachten"), "caseSensitive");
    m_wholeWords = box(QStringLiteral("Nur &ganze Wörter"), "wholeWords");
    m_regularExpression = box(QStringLiteral("&Regulärer Ausdruck"), "regularExpression");
    m_inSelection = box(QStringLiteral("Nur in der &Auswahl"), "inSelection");
    m_entities = box(QStringLiteral("&Umlaute und HTML-Entitäten gleich behandeln"), "entities");
    m_next = button(QStringLiteral("&Weitersuchen"), "next");
    m_previous = button(QStringLiteral("&Zurück"), "previous");
    m_replace = button(QStringLiteral("&Ersetzen"), "replace");
    m_replaceAll = button(QStringLiteral("A&lle ersetzen"), "replaceAll");
    m_close = button(QStringLiteral("S&chließen"), "close");
    m_next->setDefault(true);
    m_status = new QLabel(this);
    m_status->setObjectName(QStringLiteral("status"));
    m_status->setTextInteractionFlags(Qt::TextSelectableByMouse);

    auto *boxes = new QVBoxLayout;
    for (QCheckBox *check : {m_caseSensitive, m_wholeWords, m_regularExpression, m_inSelection, m_entities})
        boxes->addWidget(check);
    boxes->addStretch();
    auto *buttons = new QVBoxLayout;
    for (QPushButton *push : {m_next, m_previous, m_replace, m_replaceAll, m_close})
        buttons->addWidget(push);
    buttons->addStretch();
    auto *grid = new QGridLayout(this);
    grid->addWidget(findLabel, 0, 0);
    grid->addWidget(m_findField, 0, 1);
    grid->addWidget(replaceLabel, 1, 0);
    grid->addWidget(m_replaceField, 1, 1);
    grid->addLayout(boxes, 2, 0, 1, 2);
    grid->addWidget(m_status, 3, 0, 1, 2);
    grid->addLayout(buttons, 0, 2, 4, 1);
    grid->setColumnMinimumWidth(1, 260);

    connect(m_findField, &QLineEdit::textChanged, this, &FindWindow::patternEdited);
    for (QCheckBox *check : {m_caseSensitive, m_wholeWords, m_regularExpression, m_entities})
        connect(check, &QCheckBox::toggled, this, &FindWindow::patternEdited);
    connect(m_inSelection, &QCheckBox::toggled, this, [this](bool on) {
        usePane();
        m_session->setInSelection(on);
    });
    connect(m_replaceField, &QLineEdit::textChanged, m_session, &FindSession::setReplacement);
    connect(m_next, &QPushButton::clicked, this, &FindWindow::findNext);
    connect(m_previous, &QPushButton::clicked, this, &FindWindow::findPrevious);
    connect(m_replace, &QPushButton::clicked, this, [this] {
        usePane();
        m_session->replace();
    });
    connect(m_replaceAll, &QPushButton::clicked, this, [this] {
        usePane();
        m_session->replaceAll();
    });
    connect(m_close, &QPushButton::clicked, this, &QDialog::close);
}

void FindWindow::addPane(textengine::TextView *pane)
{
    m_panes << pane;
    pane->installEventFilter(this);
    auto shortcut = [this, pane](QKeySequence keys, void (FindWindow::*handler)()) {
        auto *key = new QShortcut(keys, pane, nullptr, nullptr, Qt::WidgetWithChildrenShortcut);
        connect(key, &QShortcut::activated, this, handler);
    };
    shortcut(QKeySequence(Qt::CTRL | Qt::Key_F), &FindWindow::open);
    shortcut(QKeySequence(Qt::CTRL | Qt::Key_H), &FindWindow::open);
    shortcut(QKeySequence(Qt::Key_F3), &FindWindow::findNext);
    shortcut(QKeySequence(Qt::SHIFT | Qt::Key_F3), &FindWindow::findPrevious);
    connect(pane, &textengine::TextView::contextMenuShowing, this, [this](QMenu *menu) {
        menu->addSeparator();
        const QString keys = QKeySequence(Qt::CTRL | Qt::Key_F).toString(QKeySequence::NativeText);
        QAction *action = menu->addAction(QStringLiteral("Suchen und Ersetzen…") + QLatin1Char('\t') + keys);
        connect(action, &QAction::triggered, this, &FindWindow::open);
    });
    usePane();
}

textengine::TextView *FindWindow::shownPane() const
{
    for (const QPointer<textengine::TextView> &pane : m_panes) {
        if (pane && !pane->isHidden())
            return pane;
    }
    return nullptr;
}

void FindWindow::usePane()
{
    textengine::TextView *pane = shownPane();
    if (pane == m_session->view())
        return;
    // What was selected in the other pane means nothing in this one.
    const QSignalBlocker quiet(m_inSelection);
    m_inSelection->setChecked(false);
    m_session->setView(pane);
}

bool FindWindow::eventFilter(QObject *watched, QEvent *event)
{
    // The window goes when its owner is closed (not when it is minimized,
    // which the system does).
    if (watched == parentWidget()) {
        if (event->type() == QEvent::Hide && !event->spontaneous())
            hide();
        return QDialog::eventFilter(watched, event);
    }
    // The owner shows one pane at a time: the window follows the switch.
    if (event->type() == QEvent::ShowToParent || event->type() == QEvent::HideToParent)
        usePane();
    return QDialog::eventFilter(watched, event);
}

void FindWindow::open()
{
    usePane();
    if (textengine::TextView *pane = m_session->view()) {
        const QString selected = pane->selectedText();
        const bool manyLines = m_session->takeSelection();
        if (!selected.isEmpty() && !manyLines && !selected.contains(u'\r') && !selected.contains(u'\n'))
            m_findField->setText(selected);
        if (m_inSelection->isChecked() != manyLines)
            m_inSelection->setChecked(manyLines);
        else if (manyLines)
            m_session->setInSelection(true); // a new selection to search in
    }
    show();
    raise();
    activateWindow();
    m_findField->setFocus();
    m_findField->selectAll();
}

void FindWindow::findNext()
{
    usePane();
    if (m_session->hasPattern())
        m_session->findNext();
    else
        open();
}

void FindWindow::findPrevious()
{
    usePane();
    if (m_session->hasPattern())
        m_session->findPrevious();
    else
        open();
}

void FindWindow::followOwnerOnTop()
{
    QWidget *owner = parentWidget();
    if (!owner)
        return;
    const bool onTop = platform::isWindowTopmost(owner->window());
    if (onTop != platform::isWindowTopmost(this))
        platform::setWindowTopmost(this, onTop);
}

void FindWindow::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    followOwnerOnTop();
    m_session->setMarksShown(true);
}

void FindWindow::hideEvent(QHideEvent *event)
{
    m_session->setMarksShown(false);
    QDialog::hideEvent(event);
}

void FindWindow::patternEdited()
{
    usePane();
    textengine::SearchOptions options;
    options.caseSensitive = m_caseSensitive->isChecked();
    options.wholeWords = m_wholeWords->isChecked();
    options.regularExpression = m_regularExpression->isChecked();
    if (m_entities->isChecked())
        options.entities = support::umlautEntities();
    m_session->setPattern(m_findField->text(), options);
}

void FindWindow::showStatus()
{
    const QString status = m_session->status();
    // "Kein Treffer" and an invalid expression mark the field.
    QPalette palette = m_findField->style()->standardPalette();
    if (m_session->failed()) {
        palette.setColor(QPalette::Base, QColor(0xFF, 0xC8, 0xC8));
        palette.setColor(QPalette::Text, QColor(0x00, 0x00, 0x00));
    }
    m_findField->setPalette(palette);
    if (status == m_status->text())
        return;
    m_status->setText(status);
    // Screen readers read the line out as it changes: it names the label,
    // and it describes the field the user types in. Qt 6.4 has no
    // announcement of its own; the name's change is told explicitly.
    m_status->setAccessibleName(status);
    m_findField->setAccessibleDescription(status);
    QAccessibleEvent changed(m_status, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&changed);
}
