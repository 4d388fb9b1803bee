// Each wrapper of the toolkit layer exists to correct one Qt behaviour; these tests pin it.
#include "TestSupport.h"
#include "toolkit/CheckBox.h"
#include "toolkit/ComboBox.h"
#include "toolkit/Fonts.h"
#include "toolkit/ListBox.h"
#include "toolkit/OptionArray.h"
#include "toolkit/Program.h"
#include "toolkit/RichTextBox.h"
#include "toolkit/ShownText.h"
#include "toolkit/SingleInstance.h"
#include "toolkit/TextBox.h"

#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFontInfo>
#include <QProcess>
#include <QRadioButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QStringListModel>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QWidget>

#include <cstdlib>

#include <fcntl.h>
#include <unistd.h>

using namespace pelko;

namespace {

// Entries given as (text, number) pairs.
struct Entries : ListSource {
    explicit Entries(std::vector<std::pair<QString, int>> items) : items(std::move(items)) {}
    int count() const override { return int(items.size()); }
    QString text(int i) const override { return items[std::size_t(i)].first; }
    int data(int i) const override { return items[std::size_t(i)].second; }
    std::vector<std::pair<QString, int>> items;
};

std::shared_ptr<Entries> entries(std::vector<std::pair<QString, int>> items)
{
    return std::make_shared<Entries>(std::move(items));
}

} // namespace

class TestToolkit : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    // The list box may draw its rows without text shaping only where that looks the same: its
    // rows must match those of a plain list view, pixel for pixel, whatever the face.
    void listBoxDrawsAsAShapedListView_data()
    {
        QTest::addColumn<QString>("family");
        QTest::newRow("the program's font") << QString();
        QTest::newRow("IPAPGothic") << QStringLiteral("IPAPGothic");
        QTest::newRow("Noto Sans CJK JP, which kerns") << QStringLiteral("Noto Sans CJK JP");
    }

    // advance: of the kana ア, height: of a line, both per em. A row holds 12.75 points.
    void uiPointSize_data()
    {
        QTest::addColumn<qreal>("advance");
        QTest::addColumn<qreal>("height");
        QTest::addColumn<qreal>("points");
        test::addRow("proportional kana", 0.949, 1.0, 9.0);
        test::addRow("kana of 0.95 em", 0.95, 1.0, 8.5);
        test::addRow("a line that just fits the row", 1.0, 1.5, 8.5);
        test::addRow("a line just taller than the row", 1.0, 1.505, 8.0);
        test::addRow("a tall line: 7.5 points", 0.5, 1.7, 7.5);
        test::addRow("never below 7 points", 0.5, 3.0, 7.0);
    }

    void uiPointSize()
    {
        QFETCH(qreal, advance);
        QFETCH(qreal, height);
        QTEST(pelko::uiPointSize(advance, height), "points");
    }

    void listBoxDrawsAsAShapedListView()
    {
        QFETCH(QString, family);
        QFont font = japaneseUiFont();
        if (!family.isEmpty())
            font.setFamilies({family});
        // The list's own font is the same face at the same size, shaped or not.
        QCOMPARE(QFontInfo(listFont(font)).family(), QFontInfo(font).family());
        QCOMPARE(listFont(font).pointSizeF(), font.pointSizeF());
        const QStringList names =
            QStringLiteral(
                "AVATAR To Wa fi ffi 1234|ポーション・一 虹色の羽根|「括弧」（全角）ＡＢＣ "
                "ｱｲｳ ﾊﾟ|　├続きのクエスト|ΑΒΓ абв ①②③ ～―‖|")
                .split(u'|')
                .replaceInStrings(QRegularExpression("^$"), QString(60, QChar(u'長')));
        std::vector<std::pair<QString, int>> items;
        QStringList shown;
        for (int copy = 0; copy < 8; ++copy) { // enough rows to scroll
            for (const QString &name : names)
                items.emplace_back(name, 0);
            shown += names;
        }
        QWidget frame;
        frame.setFont(font);
        auto *list = new ListBox(&frame);
        auto *plain = new QListView(&frame);
        QStringListModel model(shown);
        plain->setModel(&model);
        for (QListView *view : {static_cast<QListView *>(list), plain}) {
            view->setUniformItemSizes(true);
            view->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
            view->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
            view->resize(257, 150);
        }
        list->setSource(entries(items));
        list->setListIndex(31);
        plain->setCurrentIndex(model.index(31));
        list->setTopIndex(25);
        plain->scrollTo(model.index(25), QAbstractItemView::PositionAtTop);
        QCOMPARE(list->grab().toImage(), plain->grab().toImage());
    }

    // Each wrapper raises Click when the choice changes, and never when it is filled, cleared
    // or given a choice it cannot hold, where the Qt widget would.
    void clickOnlyOnChange()
    {
        ComboBox box;
        QSignalSpy boxClicks(&box, &ComboBox::Click);
        box.addListItem("a"); // QComboBox would select the first item added
        box.addListItem("b");
        QCOMPARE(box.listIndex(), -1);
        // QComboBox would clear the selection to -1.
        QVERIFY(box.setListIndex(1) && !box.setListIndex(2) && !box.setListIndex(-1));
        QCOMPARE(box.listIndex(), 1);
        box.clearItems();
        QCOMPARE(boxClicks.count(), 1);

        ListBox list;
        QSignalSpy listClicks(&list, &ListBox::Click);
        list.setSource(entries({{"a", 7}, {"b", 9}, {"c", 3}}));
        list.setListIndex(1);
        QCOMPARE(list.itemData(list.listIndex()), 9);
        QCOMPARE(list.model()->index(1, 0).data(Qt::AccessibleTextRole).toString(), "b");
        list.clear(); // QListWidget::clear would report a change to row -1
        list.setSource(entries({{"p", 1}}));
        QCOMPARE(list.listIndex(), -1);
        QCOMPARE(listClicks.count(), 1);

        QWidget frame;
        OptionArray options(
            {new QRadioButton(&frame), new QRadioButton(&frame), new QRadioButton(&frame)});
        QSignalSpy optionClicks(&options, &OptionArray::Click);
        options.setValue(2);
        options.setValue(0); // deselects 2 without raising anything for it
        options.clearAll();  // an exclusive QButtonGroup would keep its last button
        QCOMPARE(options.selectedIndex(), -1);
        options.setValue(0);
        QCOMPARE(optionClicks.count(), 3);
        QCOMPARE(optionClicks.at(1).at(0).toInt(), 0);

        CheckBox check("c");
        QSignalSpy checkClicks(&check, &CheckBox::Click);
        check.setValue(2);
        check.setValue(2); // the same value raises nothing
        check.click();     // a grayed box becomes unchecked, never back to grayed
        QCOMPARE(check.value(), 0);
        check.click();
        QCOMPARE(check.value(), 1);
        QCOMPARE(checkClicks.count(), 3);
    }

    // text: what the box or list entry is given; shown: what it draws (the list draws one line).
    void textsKeptWhole_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("listed");
        const QString longest = QString(kShownTextChars, u'x');
        const QString emoji = QStringLiteral("\U0001F600");
        test::addRow("line breaks, markup", "a\r\nb\rc<b>d</b>", "a\nb\nc<b>d</b>",
                     "a\r\nb\rc<b>d</b>");
        test::addRow("as long as shown", longest, longest, longest.left(kShownLineChars) + u'…');
        test::addRow("longer", longest + u'y', longest + u'…', QString());
        test::addRow("cut before a pair of surrogates",
                     QString(kShownLineChars - 1, u'x') + emoji + emoji,
                     QString(kShownLineChars - 1, u'x') + emoji + emoji,
                     QString(kShownLineChars - 1, u'x') + u'…');
    }

    void textsKeptWhole()
    {
        QFETCH(QString, text);
        RichTextBox box;
        box.setText(text);
        QCOMPARE(box.text(), text);
        QTEST(box.toPlainText(), "shown"); // plain, never markup
        QVERIFY(box.isReadOnly());
        QVERIFY(!box.testAttribute(Qt::WA_InputMethodEnabled)); // no input method opens over it
        // Selectable from the keyboard, to be copied without a mouse.
        QTest::keyClick(&box, Qt::Key_End, Qt::ControlModifier | Qt::ShiftModifier);
        QTEST(box.textCursor().selectedText().replace(QChar::ParagraphSeparator, u'\n'), "shown");
        ListBox list;
        list.setSource(entries({{text, 1}}));
        QCOMPARE(list.text(0), text);
        QFETCH(QString, listed);
        if (!listed.isEmpty())
            QCOMPARE(list.model()->index(0, 0).data().toString(), listed);
    }

    // Three places for the lock, each with what stands there: "" nothing, "folder" a folder at
    // the lock's name, "fifo" a FIFO there, "link" a symlink there, "file-parent" a file where
    // the lock's folder should be, "aged" an empty lock file an hour old (left by a copy that
    // died before writing it). held: the place whose lock the first copy holds, -1 none. (A lock
    // naming a dead copy is taken over in tst_processes.)
    void singleInstancePlaces_data()
    {
        QTest::addColumn<QStringList>("obstacles");
        QTest::addColumn<int>("held");
        test::addRow("first place free", QStringList{"", "", ""}, 0);
        test::addRow("an aged empty lock is taken over", QStringList{"aged", "", ""}, 0);
        test::addRow("folder at the first", QStringList{"folder", "", ""}, 1);
        test::addRow("FIFO, then folder", QStringList{"fifo", "folder", ""}, 2);
        test::addRow("symlink at the first", QStringList{"link", "", ""}, 1);
        test::addRow("first folder cannot be made", QStringList{"file-parent", "", ""}, 1);
        test::addRow("no place at all", QStringList{"folder", "fifo", "file-parent"}, -1);
    }

    void singleInstancePlaces()
    {
        QFETCH(QStringList, obstacles);
        QFETCH(int, held);
        QTemporaryDir dir;
        QStringList paths;
        for (int i = 0; i < 3; ++i) {
            const QString folder = dir.filePath(QString::number(i)), what = obstacles[i];
            paths << folder + "/pelko.lock";
            QVERIFY(what == "file-parent" ? QFile(folder).open(QIODevice::WriteOnly)
                                          : QDir().mkpath(folder));
            if (what == "folder" || what == "fifo")
                QVERIFY(test::placeOddity(paths[i], what));
            if (what == "link")
                QVERIFY(QFile(dir.filePath("elsewhere")).open(QIODevice::WriteOnly)
                        && QFile::link(dir.filePath("elsewhere"), paths[i]));
            QFile aged(paths[i]);
            QVERIFY(what != "aged"
                    || (aged.open(QIODevice::WriteOnly)
                        && aged.setFileTime(QDateTime::currentDateTime().addSecs(-3600),
                                            QFileDevice::FileModificationTime)));
        }
        // The first copy's working folder cannot be opened (gone), the second names none: the
        // folder's lock keeps neither out.
        SingleInstance first(paths, dir.filePath("gone"));
        QVERIFY(!first.holdsFolder());
        QVERIFY(first.tryAcquire()); // never refused for want of a place
        QCOMPARE(first.heldLock(), held >= 0 ? paths[held] : QString());
        QVERIFY(!first.holdsFolder());
        SingleInstance second(paths);
        QCOMPARE(second.tryAcquire(), held < 0);
        // Nothing that stood in the way was removed or written.
        QVERIFY(QFileInfo(paths[0]).exists() || obstacles[0] == "file-parent");
        QCOMPARE(QFileInfo(dir.filePath("elsewhere")).size(),
                 0); // A copy started with its standard input closed holds its folder by descriptor
                     // 0, and
        // closes it when it ends.
        const int input = ::dup(STDIN_FILENO);
        ::close(STDIN_FILENO);
        {
            SingleInstance third({}, dir.path());
            QVERIFY(third.tryAcquire() && third.holdsFolder());
        }
        const bool closed = ::fcntl(STDIN_FILENO, F_GETFD) == -1;
        ::dup2(input, STDIN_FILENO);
        ::close(input);
        QVERIFY(closed);
    }

    // The folder's lock refused by the system: a network file system without a lock service
    // (ENOLCK), NFS carrying flock out as a byte-range lock (EBADF) let the copy run without it,
    // as a copy that never removes leftovers; only a lock held by another copy refuses it.
    void folderLockRefused_data()
    {
        QTest::addColumn<QString>("error");
        QTest::addColumn<int>("status");
        test::addRow("no lock service", "ENOLCK", 1);
        test::addRow("NFS", "EBADF", 1);
        test::addRow("another copy", "EAGAIN", 2);
    }

    void folderLockRefused()
    {
        QFETCH(QString, error);
        if (QProcess::execute("strace", {"-qq", "-o", "/dev/null", "true"}) != 0)
            QSKIP("strace cannot inject faults here");
        const QTemporaryDir dir;
        QTEST(QProcess::execute(
                  "strace", {"-qq", "-o", "/dev/null", "-e", "inject=flock:error=" + error,
                             QCoreApplication::applicationFilePath(), "--lock-folder", dir.path()}),
              "status");
    }

    // What main returns when the start-up ended the program, and what the running event loop
    // ends with: a failure given first is not taken back by a plain end after it.
    void endProgramKeepsStatus()
    {
        const auto exec = [] {
            QObject guard; // should the end not leave the loop, the test does not hang
            QTimer::singleShot(0, &guard, [] { EndProgram(); });
            QTimer::singleShot(5000, &guard, [] { QCoreApplication::exit(99); });
            return QCoreApplication::exec();
        };
        QCOMPARE(programExitStatus(), 0);
        QCOMPARE(exec(), 0);
        EndProgram(1);
        QCOMPARE(programExitStatus(), 1);
        QCOMPARE(exec(), 1);
        QCOMPARE(programExitStatus(), 1);
    }
};

int main(int argc, char *argv[])
{
    // A child run under strace: a copy whose only lock is the folder's; 0: runs holding it, 1: runs
    // without it, 2: refused.
    if (argc == 3 && qstrcmp(argv[1], "--lock-folder") == 0) {
        SingleInstance copy({}, QFile::decodeName(argv[2]));
        std::_Exit(copy.tryAcquire() ? (copy.holdsFolder() ? 0 : 1) : 2);
    }
    QApplication app(argc, argv);
    TestToolkit test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_toolkit.moc"
