#pragma once

#include <QLineEdit>

namespace pelko {

// A single-line text box whose Change event is raised at every change of its text.
class TextBox : public QLineEdit
{
    Q_OBJECT
public:
    explicit TextBox(QWidget *parent = nullptr);

Q_SIGNALS:
    void Change();
};

} // namespace pelko
