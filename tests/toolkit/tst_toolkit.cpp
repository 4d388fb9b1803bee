// Each wrapper of the toolkit layer exists to correct one Qt behaviour; these tests pin it.
#include "toolkit/CheckBox.h"
#include "toolkit/ComboBox.h"
#include "toolkit/Fonts.h"
#include "toolkit/ListBox.h"
#include "toolkit/OptionArray.h"
#include "toolkit/ShortcutGuard.h"
#include "toolkit/SingleInstance.h"
#include "toolkit/TextBox.h"

#include <QAction>
#include <QDateTime>
#include <QFile>
#include <QRadioButton>
#include <QSignalSpy>
#include <QStringListModel>
#include <QTemporaryDir>
#include <QTest>
#include <QWidget>

using namespace pelko;

namespace {

// Entries "a", "b", ... whose numbers are given.
struct Letters : ListSource {
    explicit Letters(std::vector<int> numbers) : numbers(std::move(numbers)) {}
    int count() const override { return int(numbers.size()); }
    QString text(int i) const override { return QString(QChar(u'a' + i)); }
    int data(int i) const override { return numbers[std::size_t(i)]; }
    std::vector<int> numbers;
};

std::shared_ptr<Letters> letters(std::vector<int> numbers)
{
    return std::make_shared<Letters>(std::move(numbers));
}

} // namespace

class TestToolkit : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void comboBoxKeepsSelectionOnBadIndex()
    {
        ComboBox box;
        QSignalSpy clicks(&box, &ComboBox::Click);
        box.addListItem(QStringLiteral("a")); // QComboBox would select the first item added
        box.addListItem(QStringLiteral("b"));
        QCOMPARE(box.listIndex(), -1);
        QCOMPARE(clicks.count(), 0);
        QVERIFY(box.setListIndex(1));
        QCOMPARE(clicks.count(), 1);
        QVERIFY(!box.setListIndex(2)); // QComboBox would clear the selection to -1
        QVERIFY(!box.setListIndex(-1));
        QCOMPARE(box.listIndex(), 1);
        QCOMPARE(clicks.count(), 1);
        box.clearItems();
        QCOMPARE(clicks.count(), 1);
    }

    void listBoxFillsAndClearsSilently()
    {
        ListBox list;
        QSignalSpy clicks(&list, &ListBox::Click);
        list.setSource(letters({7, 9, 3}));
        list.setListIndex(1);
        QCOMPARE(clicks.count(), 1);
        QCOMPARE(list.itemData(list.listIndex()), 9);
        QCOMPARE(list.text(2), QStringLiteral("c"));
        QCOMPARE(list.model()->index(1, 0).data(Qt::AccessibleTextRole).toString(),
                 QStringLiteral("b"));
        // QListWidget::clear would report a change to row -1.
        list.clear();
        list.setSource(letters({1}));
        QCOMPARE(clicks.count(), 1);
        QCOMPARE(list.listIndex(), -1);
        QCOMPARE(list.listCount(), 1);
    }

    void listBoxArrowKeysRaiseClick()
    {
        ListBox list;
        list.resize(100, 100);
        list.show();
        QVERIFY(QTest::qWaitForWindowActive(&list));
        list.setSource(letters({1, 2}));
        QSignalSpy clicks(&list, &ListBox::Click);
        list.setFocus(); // QListView makes row 0 current on focus, selecting nothing
        QCOMPARE(list.listIndex(), -1);
        QCOMPARE(clicks.count(), 0);
        list.setListIndex(0);
        clicks.clear();
        QTest::keyClick(&list, Qt::Key_Down);
        QCOMPARE(clicks.count(), 1);
        QCOMPARE(list.listIndex(), 1);
    }

    // The list box may draw its rows without text shaping only where that looks the same: its
    // rows must match those of a plain list view, pixel for pixel, whatever the face.
    void listBoxDrawsAsAShapedListView_data()
    {
        QTest::addColumn<QString>("family");
        QTest::newRow("the program's font") << QString();
        QTest::newRow("IPAPGothic") << QStringLiteral("IPAPGothic");
        QTest::newRow("Noto Sans CJK JP, which kerns") << QStringLiteral("Noto Sans CJK JP");
    }

    void listBoxDrawsAsAShapedListView()
    {
        QFETCH(QString, family);
        QFont font = japaneseUiFont();
        if (!family.isEmpty())
            font.setFamilies({family});
        const QStringList names{QStringLiteral("AVATAR To Wa fi ffi 1234"),
                                QStringLiteral("ポーション・一 虹色の羽根"),
                                QStringLiteral("「括弧」（全角）ＡＢＣ ｱｲｳ ﾊﾟ"),
                                QStringLiteral("　├続きのクエスト"),
                                QStringLiteral("ΑΒΓ абв ①②③ ～―‖"),
                                QString(60, QChar(u'長'))};
        struct Names : ListSource {
            QStringList names;
            int count() const override { return int(names.size()); }
            QString text(int i) const override { return names.at(i); }
            int data(int) const override { return 0; }
        };
        auto source = std::make_shared<Names>();
        source->names = names;
        QWidget frame;
        frame.setFont(font);
        auto *list = new ListBox(&frame);
        auto *plain = new QListView(&frame);
        QStringListModel model(names);
        plain->setModel(&model);
        for (QListView *view : {static_cast<QListView *>(list), plain}) {
            view->setUniformItemSizes(true);
            view->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
            view->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
            view->resize(257, 150);
        }
        list->setSource(source);
        list->setListIndex(1);
        plain->setCurrentIndex(model.index(1));
        QCOMPARE(list->grab().toImage(), plain->grab().toImage());
    }

    void optionArrayRaisesOnlyOnSelection()
    {
        QWidget frame;
        std::array<QRadioButton *, 3> buttons{new QRadioButton(&frame), new QRadioButton(&frame),
                                              new QRadioButton(&frame)};
        OptionArray options(buttons);
        QSignalSpy clicks(&options, &OptionArray::Click);
        options.setValue(2, true);
        options.setValue(0, true); // deselects 2 without raising anything for it
        QCOMPARE(clicks.count(), 2);
        QCOMPARE(clicks.at(0).at(0).toInt(), 2);
        QCOMPARE(clicks.at(1).at(0).toInt(), 0);
        // An exclusive QButtonGroup refuses to uncheck its last button.
        options.clearAll();
        QCOMPARE(options.selectedIndex(), -1);
        QCOMPARE(clicks.count(), 2);
        options.setValue(0, true);
        QCOMPARE(clicks.count(), 3);
    }

    void checkBoxValues()
    {
        CheckBox box(QStringLiteral("c"));
        QSignalSpy clicks(&box, &CheckBox::Click);
        box.setValue(2);
        QCOMPARE(box.value(), 2);
        box.setValue(2);
        QCOMPARE(clicks.count(), 1); // the same value raises nothing
        box.click();                 // a grayed box becomes unchecked, never back to grayed
        QCOMPARE(box.value(), 0);
        box.click();
        QCOMPARE(box.value(), 1);
        QCOMPARE(clicks.count(), 3);
    }

    void richTextBoxKeepsText()
    {
        RichTextBox box;
        const QString text = QStringLiteral("a\r\nb\rc<b>d</b>");
        box.setText(text);
        QCOMPARE(box.text(), text);
        QCOMPARE(box.toPlainText(), QStringLiteral("a\nb\nc<b>d</b>")); // plain, never markup
        QVERIFY(box.isReadOnly());
    }

    void shortcutWinsOverLineEdit()
    {
        QWidget window;
        auto *edit = new TextBox(&window);
        auto *action = new QAction(&window);
        action->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_A));
        window.addAction(action);
        QSignalSpy triggered(action, &QAction::triggered);
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        edit->setFocus();
        edit->setText(QStringLiteral("abc"));
        QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
        QCOMPARE(triggered.count(), 0); // QLineEdit takes Ctrl+A as select-all
        edit->installEventFilter(new ShortcutGuard({action->shortcut()}, &window));
        QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
        QCOMPARE(triggered.count(), 1);
    }

    void singleInstanceRefusesSecondAndRecoversStaleLock()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("pelko.lock"));
        {
            SingleInstance first(path);
            QVERIFY(first.tryAcquire());
            SingleInstance second(path);
            QVERIFY(!second.tryAcquire());
        }
        // A lock left by a process that no longer exists is taken over.
        QFile stale(path);
        QVERIFY(stale.open(QIODevice::WriteOnly));
        stale.write("999999\ntst_toolkit\n" + QSysInfo::machineHostName().toUtf8() + "\n");
        stale.close();
        {
            SingleInstance next(path);
            QVERIFY(next.tryAcquire());
        }
        // An empty lock file, left by a copy that died before writing it, once it has aged.
        QVERIFY(stale.open(QIODevice::WriteOnly));
        QVERIFY(stale.setFileTime(QDateTime::currentDateTime().addSecs(-3600),
                                  QFileDevice::FileModificationTime));
        stale.close();
        SingleInstance afterCrash(path);
        QVERIFY(afterCrash.tryAcquire());
    }
};

QTEST_MAIN(TestToolkit)
#include "tst_toolkit.moc"
