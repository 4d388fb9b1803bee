// pelko-bare-window: the floor the program's start-up is measured against. A bare Qt window
// with one list view of as many lines as the main window's list shows, with the program's font
// set-up and nothing else: no files, no other controls. The benchmark starts it as a process
// exactly as it starts the program.
#include "toolkit/Fonts.h"

#include <QApplication>
#include <QListView>
#include <QStringListModel>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setFont(pelko::japaneseUiFont());

    QStringList names;
    for (int i = 1; i <= 20; ++i)
        names << QStringLiteral("クエスト一覧の項目 %1").arg(i);
    QStringListModel model(names);
    QListView view;
    view.setModel(&model);
    view.setUniformItemSizes(true);
    view.setWindowTitle(QStringLiteral("ペルコ for Verdania"));
    view.resize(257, 244);
    view.show();
    return QApplication::exec();
}
