// pelko-screenshots OUTDIR DATABASE [LARGE-DATABASE]: pictures of the program's windows, for the
// README and for looking at the layout, taken from the screen with the window manager's frame
// (tools/screenshots runs it under Xvfb and openbox). The real main window runs over a copy of
// the database, and the player's steps are taken on its controls.
#include "AppIcon.h"
#include "frmMain.h"
#include "toolkit/Fonts.h"
#include "toolkit/MessageBox.h"
#include "toolkit/QtTranslations.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QFile>
#include <QListView>
#include <QRadioButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <cstdio>
#include <functional>

using namespace pelko;

namespace {

QString outDir;
bool allSaved = true;

// The frame of `window` on the screen, as it is drawn there (and whatever stands over it).
void save(const QWidget *window, const QString &name)
{
    QTest::qWait(400); // the window manager's frame and the last paint
    const QRect r = window->frameGeometry();
    const QString path = outDir + u'/' + name;
    if (!window->screen()->grabWindow(0, r.x(), r.y(), r.width(), r.height()).save(path)) {
        std::fprintf(stderr, "pelko-screenshots: cannot write %s\n", qPrintable(path));
        allSaved = false;
    }
}

// Runs open(), which shows a modal box, and saves `window` while the box stands over it.
void saveWithModal(const QWidget *window, const QString &name, const std::function<void()> &open)
{
    QTimer::singleShot(500, [&] {
        save(window, name);
        if (QWidget *modal = QApplication::activeModalWidget())
            modal->close();
    });
    open();
}

// The main window over a copy of `database`, started as the program starts it; the notice of a
// first run is answered unseen.
struct Window {
    explicit Window(const QString &database)
    {
        QFile::copy(database, dir.filePath("Pelko.dat"));
        QFile ini(dir.filePath("Pelko.ini"));
        if (ini.open(QIODevice::WriteOnly))
            ini.write("0,0,0,1\r\n"); // all regions and states, flat list, no confirmation
        ini.close();
        main = std::make_unique<frmMain>(ProgramPaths{dir.path(), {dir.filePath("pelko.lock")}});
        MessageBoxScript unseen;
        started = main->Form_Load();
        main->show();
        started = started && QTest::qWaitForWindowActive(main.get());
    }
    template <typename T> T *child(const char *name)
    {
        return main->findChild<T *>(QString::fromLatin1(name));
    }
    void select(int entry)
    {
        auto *list = child<QListView>("lstQuestList");
        list->scrollToTop();
        list->setCurrentIndex(list->model()->index(entry, 0));
    }
    void setProgress(int entry, const char *option)
    {
        select(entry);
        child<QRadioButton>(option)->click();
    }
    QTemporaryDir dir;
    std::unique_ptr<frmMain> main;
    bool started = false;
};

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    if (argc < 3) {
        std::fputs("usage: pelko-screenshots OUTDIR DATABASE [LARGE-DATABASE]\n", stderr);
        return 2;
    }
    outDir = QFile::decodeName(argv[1]);
    // As the program sets itself up.
    QApplication::setWindowIcon(applicationIcon());
    QApplication::setFont(japaneseUiFont());
    installQtTranslations();
    {
        Window w(QFile::decodeName(argv[2]));
        if (!w.started)
            return 1;
        // Some progress, then a quest shown.
        for (const int entry : {0, 3, 7, 12})
            w.setProgress(entry, "optQuestState1");
        w.setProgress(5, "optQuestState2");
        w.select(4);
        save(w.main.get(), "main-window.png");

        w.child<QCheckBox>("chkTreeView")->click();
        w.select(2);
        save(w.main.get(), "tree-view.png");
        w.child<QCheckBox>("chkTreeView")->click();

        w.child<QCheckBox>("chkMsgBox")->click(); // ask before a change
        w.select(1);
        saveWithModal(w.main.get(), "confirmation.png",
                      [&] { w.child<QRadioButton>("optQuestState1")->click(); });
        saveWithModal(w.main.get(), "about.png",
                      [&] { w.child<QAction>("mnuHelpAbort")->trigger(); });
    }
    if (argc > 3) {
        Window w(QFile::decodeName(argv[3]));
        if (!w.started)
            return 1;
        w.select(0);
        save(w.main.get(), "large-database.png");
    }
    return allSaved ? 0 : 1;
}
