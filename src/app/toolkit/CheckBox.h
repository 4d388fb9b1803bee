#pragma once

#include <QCheckBox>

namespace pelko {

// A check box with the values 0 (unchecked), 1 (checked) and 2 (grayed). Click is raised
// synchronously whenever the value changes. The player's clicks move between 0 and 1 only;
// a grayed box becomes unchecked.
class CheckBox : public QCheckBox
{
    Q_OBJECT
public:
    explicit CheckBox(const QString &text, QWidget *parent = nullptr);

    int value() const;
    void setValue(int value);

Q_SIGNALS:
    void Click();

protected:
    void nextCheckState() override;
};

} // namespace pelko
