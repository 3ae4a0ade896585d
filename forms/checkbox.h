#pragma once

#include "forms/placeable.h"

#include <QCheckBox>

namespace forms {

// Check box with Value 0 (off), 1 (on) or 2 (greyed). A change of Value by
// code raises Click just as a user's click does; a user's click toggles
// between 0 and 1.
class CheckBox : public QCheckBox, public Placeable
{
    Q_OBJECT
public:
    explicit CheckBox(const QString &caption = QString(), QWidget *parent = nullptr);

    int Value() const;
    // Fails (false, nothing changes) for a value other than 0, 1 or 2.
    bool SetValue(int value);

signals:
    void Click();

protected:
    void applyColors() override;
    void nextCheckState() override;
};

} // namespace forms
