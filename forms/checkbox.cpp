#include "forms/checkbox.h"

namespace forms {

CheckBox::CheckBox(const QString &caption, QWidget *parent)
    : QCheckBox(caption, parent)
    , Placeable(this)
{
    initColors(palette().color(QPalette::Window), palette().color(QPalette::WindowText));
    connect(this, &QAbstractButton::clicked, this, &CheckBox::Click);
}

int CheckBox::Value() const
{
    switch (checkState()) {
    case Qt::Checked:
        return 1;
    case Qt::PartiallyChecked:
        return 2;
    case Qt::Unchecked:
        break;
    }
    return 0;
}

bool CheckBox::SetValue(int value)
{
    if (value < 0 || value > 2)
        return false;
    if (value == Value())
        return true;
    if (value == 2)
        setTristate(true);
    setCheckState(value == 1 ? Qt::Checked : value == 2 ? Qt::PartiallyChecked : Qt::Unchecked);
    emit Click();
    return true;
}

void CheckBox::applyColors()
{
    Placeable::applyColors();
}

void CheckBox::nextCheckState()
{
    // A click turns a checked or greyed box off and an unchecked one on; the
    // greyed state is reached by code only.
    setCheckState(checkState() == Qt::Unchecked ? Qt::Checked : Qt::Unchecked);
}

} // namespace forms
