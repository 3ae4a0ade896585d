#include "forms/formsaccessible.h"

#include "forms/drivelist.h"
#include "forms/form.h"
#include "forms/label.h"

#include <QAccessibleWidget>

namespace forms {

namespace {

const char *const hiddenProperty = "brenwickHiddenFromScreenReaders";

// A window whose tree leaves out the controls hidden from screen readers.
class FormAccessible : public QAccessibleWidget
{
public:
    explicit FormAccessible(Form *form)
        : QAccessibleWidget(form, form->accessibleRole())
    {
    }

    int childCount() const override { return int(shownChildren().size()); }
    QAccessibleInterface *child(int index) const override
    {
        const QList<QWidget *> children = shownChildren();
        return index >= 0 && index < children.size() ? QAccessible::queryAccessibleInterface(children.at(index))
                                                     : nullptr;
    }
    int indexOfChild(const QAccessibleInterface *child) const override
    {
        return child ? int(shownChildren().indexOf(qobject_cast<QWidget *>(child->object()))) : -1;
    }

private:
    QList<QWidget *> shownChildren() const
    {
        QList<QWidget *> shown;
        for (QObject *object : widget()->children()) {
            auto *child = qobject_cast<QWidget *>(object);
            if (child && !child->isWindow() && !child->property(hiddenProperty).toBool())
                shown.append(child);
        }
        return shown;
    }
};

// The drive list says what it is, and its drive is its value; Qt's combo
// box on this platform gives its value as its name.
class DriveListAccessible : public QAccessibleWidget
{
public:
    explicit DriveListAccessible(DriveList *list)
        : QAccessibleWidget(list, QAccessible::ComboBox)
    {
    }

    QString text(QAccessible::Text kind) const override
    {
        if (kind == QAccessible::Value)
            return static_cast<DriveList *>(widget())->currentText();
        return QAccessibleWidget::text(kind);
    }
};

QAccessibleInterface *formsAccessible(const QString &key, QObject *object)
{
    Q_UNUSED(key);
    if (auto *form = qobject_cast<Form *>(object))
        return new FormAccessible(form);
    if (auto *frame = qobject_cast<Frame *>(object))
        return new QAccessibleWidget(frame, QAccessible::Grouping);
    if (auto *drives = qobject_cast<DriveList *>(object))
        return new DriveListAccessible(drives);
    return nullptr;
}

} // namespace

void installFormsAccessibleFactory()
{
    static const bool installed = [] {
        QAccessible::installFactory(formsAccessible);
        return true;
    }();
    Q_UNUSED(installed);
}

void hideFromScreenReaders(QWidget *control)
{
    control->setProperty(hiddenProperty, true);
}

} // namespace forms
