#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

namespace pelko {

// The About dialog: product name, version, the author's page (click to open) and a disclaimer.
// It is made anew for every showing and centred over the main window's outer frame.
class frmAbout : public QDialog
{
    Q_OBJECT
public:
    explicit frmAbout(QWidget *owner);

    // Title, version text and position, as at every load.
    void Form_Load();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void cmdOK_Click();
    void lblURL_Click();

    QLabel *lblVersion = nullptr;
    QLabel *lblURL = nullptr;
    QPushButton *cmdOK = nullptr;
};

} // namespace pelko
