// Started by tst_qt_translations in a given environment: shows the program's confirmation prompt
// as the program would, after loading Qt's translations as the program does, and prints the
// prompt's button texts and the first command of a text box's context menu, one a line.
#include "Texts.h"
#include "toolkit/MessageBox.h"
#include "toolkit/QtTranslations.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QTimer>

#include <cstdio>
#include <memory>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    pelko::installQtTranslations();
    QStringList texts;
    QTimer::singleShot(0, [&] {
        if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
            for (auto which : {QMessageBox::Ok, QMessageBox::Cancel})
                texts << (box->button(which) ? box->button(which)->text() : QStringLiteral("-"));
            box->reject();
        }
    });
    pelko::MsgBox(pelko::texts::confirmationPrompt(QStringLiteral("灯台の鍵"), 1),
                  pelko::MsgButtons::OkCancel);
    QLineEdit edit;
    const std::unique_ptr<QMenu> menu(edit.createStandardContextMenu());
    texts << menu->actions().value(0)->text().section(u'\t', 0, 0); // without the shortcut
    std::fputs((texts.join(u'\n') + u'\n').toUtf8().constData(), stdout);
    return 0;
}
