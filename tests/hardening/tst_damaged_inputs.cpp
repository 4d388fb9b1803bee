// The real start-up over damaged and unusual input files: which message it shows, what it
// restores, and that a start never writes anything to the working folder.
#include "ClearStatus.h"
#include "DamagedDatabases.h"
#include "MainWindowHarness.h"
#include "Oddities.h"
#include "QuestDatabase.h"
#include "Settings.h"
#include "toolkit/CheckBox.h"
#include "toolkit/ComboBox.h"
#include "toolkit/ListBox.h"

#include <QFile>
#include <QLabel>
#include <QRadioButton>
#include <QtTest>

using namespace pelko;
using namespace pelko::test;

namespace {

const QString kFatal =
    QStringLiteral("クエスト情報ファイルの読み込みに失敗したので、強制終了します。");
const QString kDamaged = QStringLiteral("クリア状況データが破損している可能性があります。");
const QString kWriteError = QStringLiteral("データ書き込み中にエラーが発生しました。");
const QStringList kNames = {"A", "B", "C", "D"}; // quest numbers 1 to 4, listed in this order

// Every entry of the folder with its bytes.
QByteArrayList contents(const WorkDir &dir)
{
    QByteArrayList all;
    for (const QString &name : dir.entries())
        all << name.toUtf8() << dir.read(name).value_or("<unreadable>");
    return all;
}

} // namespace

class DamagedInputs : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    // file: the one input file that differs from a sound start (four named quests, no progress,
    // default settings). quests: -1 when the start is refused. states: the progress each named
    // quest is restored to, one digit a quest; empty when not looked at. settings: country, state
    // filter, tree view, no confirmation.
    void start_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("quests");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QByteArray>("states");
        QTest::addColumn<QString>("settings");

        for (const DamagedDatabase &db : damagedDatabases()) {
            QTest::newRow(qPrintable(QStringLiteral("Pelko.dat: ") + db.name))
                << QStringLiteral("Pelko.dat") << db.bytes << (db.loads ? db.quests : -1)
                << (db.loads ? QString() : kFatal) << QByteArray() << QStringLiteral("0,0,0,0");
        }
        const auto progress = [](const char *row, const QByteArray &bytes, const char *states) {
            QTest::newRow(row) << QStringLiteral("clr_stat.dat") << bytes << 4 << kDamaged
                               << QByteArray(states) << QStringLiteral("0,0,0,0");
        };
        progress("clr_stat: 40000 ends the reading", "40000,1\r\n2,1\r\n0,2\r\n", "0000");
        progress("clr_stat: quest number -5", "-5,1\r\n2,1\r\n0,-3\r\n", "0100");
        progress("clr_stat: quest number beyond the table", "2,1\r\n9,1\r\n0,11\r\n", "0100");
        progress("clr_stat: value 300", "1,300\r\n2,1\r\n0,302\r\n", "0100");
        progress("clr_stat: no end line", "1,1\r\n3,2\r\n", "1020");
        progress("clr_stat: text in a number", "1,1\r\nx,2\r\n0,7\r\n", "1000");
        const auto ini = [](const char *row, const QByteArray &bytes, const char *settings) {
            QTest::newRow(row) << QStringLiteral("Pelko.ini") << bytes << 4 << QString()
                               << QByteArray() << QString::fromLatin1(settings);
        };
        ini("Pelko.ini: 99999", "5,99999,1,1\r\n", "5,0,0,0");
        ini("Pelko.ini: text", "5,2,on,1\r\n", "5,2,0,0");
        ini("Pelko.ini: binary", QByteArray("\x00\xff,\x81\r\n", 6), "0,0,0,0");
    }

    void start()
    {
        QFETCH(QString, file);
        QFETCH(QByteArray, bytes);
        QFETCH(int, quests);
        QFETCH(QString, message);
        QFETCH(QByteArray, states);
        QFETCH(QString, settings);

        WorkDir dir;
        dir.write("Pelko.dat", databaseBytes(namedQuests(kNames)));
        dir.write("clr_stat.dat", "0,0\r\n");
        dir.write("Pelko.ini", "0,0,0,0\r\n");
        dir.write(file, bytes);
        const QByteArrayList before = contents(dir);
        {
            MainWindowHarness h(dir);
            QCOMPARE(h.start(), quests >= 0);
            QCOMPARE(h.program().endCount, quests >= 0 ? 0 : 1);
            QStringList shown;
            for (const ShownMessage &m : h.boxes().shown())
                shown << m.text;
            QCOMPARE(shown, message.isEmpty() ? QStringList() : QStringList{message});
            if (quests >= 0) {
                QCOMPARE(h.child<QLabel>("lblNumberOfContents")->text(),
                         QStringLiteral("登録クエスト数： %1").arg(quests));
                QCOMPARE(QStringLiteral("%1,%2,%3,%4")
                             .arg(h.child<ComboBox>("cboCountry")->listIndex())
                             .arg(h.child<ComboBox>("cboState")->listIndex())
                             .arg(h.child<CheckBox>("chkTreeView")->value())
                             .arg(h.child<CheckBox>("chkMsgBox")->value()),
                         settings);
                // Shown one by one, each quest has its restored progress option selected.
                for (int q = 0; q < states.size(); ++q) {
                    h.child<ListBox>("lstQuestList")->setListIndex(q);
                    const QString option = QStringLiteral("optQuestState%1").arg(states[q] - '0');
                    QVERIFY2(h.child<QRadioButton>(option)->isChecked(), qPrintable(kNames.at(q)));
                }
            }
            // Not even an attempt: a save of the same bytes would leave the folder alone too.
            QCOMPARE(h.saves("clr_stat.dat") + h.saves("Pelko.ini"), 0);
        }
        // Neither the start nor the window going away without being closed wrote anything.
        QCOMPARE(contents(dir), before);
    }

    // A save cut short by a crash leaves its temporary file; the next start removes it, unless
    // the start is refused (a refused start writes nothing).
    void leftoversRemovedAtStart_data()
    {
        QTest::addColumn<bool>("database");
        QTest::newRow("start") << true;
        QTest::newRow("refused start") << false;
    }

    void leftoversRemovedAtStart()
    {
        QFETCH(bool, database);
        WorkDir dir;
        if (database)
            dir.write("Pelko.dat", databaseBytes(namedQuests(kNames)));
        dir.write("clr_stat.dat", "0,0\r\n");
        const QStringList leftovers = {"Pelko.ini.GhIjKl", "clr_stat.dat.AbCdEf"};
        for (const QString &name : leftovers)
            dir.write(name, "1,1\r\n0,1\r\n");
        const QStringList before = dir.entries();
        MainWindowHarness h(dir);
        QCOMPARE(h.start(), database);
        QCOMPARE(dir.entries(), database ? QStringList({"Pelko.dat", "clr_stat.dat"}) : before);
    }

    // A player opens an older, smaller database, changes a quest, and goes back: the progress of
    // the quests the smaller database does not list is still there.
    void smallerDatabaseKeepsProgress()
    {
        const QStringList all = {"A", "B", "C", "D", "E", "F"};
        WorkDir dir;
        dir.write("Pelko.ini", "0,0,0,1\r\n");
        dir.write("clr_stat.dat", "1,1\r\n5,2\r\n6,1\r\n0,17\r\n");
        for (const auto &[names, message] :
             {std::pair{kNames, kDamaged}, std::pair{all, QString()}}) {
            dir.write("Pelko.dat", databaseBytes(namedQuests(names)));
            MainWindowHarness h(dir);
            QVERIFY(h.start());
            QCOMPARE(h.boxes().shown().size(), message.isEmpty() ? 0u : 1u);
            if (!message.isEmpty()) {
                QCOMPARE(h.boxes().shown().front().text, message);
                h.child<ListBox>("lstQuestList")->setListIndex(1);
                h.child<QRadioButton>("optQuestState1")->click();
                QCOMPARE(dir.read("clr_stat.dat").value_or(""),
                         "1,1\r\n2,1\r\n5,2\r\n6,1\r\n0,19\r\n");
            } else {
                for (const auto &[row, state] :
                     {std::pair{1, 1}, std::pair{4, 2}, std::pair{5, 1}}) {
                    h.child<ListBox>("lstQuestList")->setListIndex(row);
                    QVERIFY(h.child<QRadioButton>(QStringLiteral("optQuestState%1").arg(state))
                                ->isChecked());
                }
            }
        }
    }

    // Something other than a readable file of a sane size at one of the three names: a start,
    // a progress change and closing the window. messages: every error box, in order. after:
    // the file's bytes afterwards; empty when what stood there must stand there unchanged.
    void oddFiles_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QStringList>("messages");
        QTest::addColumn<QByteArray>("after");
        const QStringList kinds = {
            "fifo",           "folder",       "link to device",    "sparse 50 GB",
            "over the limit", "at the limit", "no read permission"};
        for (const QString &kind : kinds) {
            const bool fits = kind == "at the limit";
            const auto row = [&](const char *file, const QStringList &messages,
                                 const QByteArray &after) {
                QTest::newRow(qPrintable(QStringLiteral("%1: %2").arg(file, kind)))
                    << QString::fromLatin1(file) << kind << messages << after;
            };
            // Never loaded, never written; the program ends with its fatal message.
            row("Pelko.dat", fits ? QStringList() : QStringList{kFatal}, {});
            // Reported as damaged and never saved over, so its bytes are never lost.
            row("clr_stat.dat", fits ? QStringList() : QStringList{kDamaged, kWriteError},
                fits ? "1,1\r\n0,1\r\n" : "");
            // The defaults; a save over anything but a regular file fails.
            const bool regular = fits || kind == "no read permission" || kind.contains("over")
                                 || kind.contains("sparse");
            row("Pelko.ini", regular ? QStringList() : QStringList{kWriteError},
                regular ? (fits ? "0,0,0,1\r\n" : "0,0,0,0\r\n") : "");
        }
    }

    void oddFiles()
    {
        QFETCH(QString, file);
        QFETCH(QString, kind);
        QFETCH(QStringList, messages);
        QFETCH(QByteArray, after);
        WorkDir dir;
        dir.write("Pelko.dat", databaseBytes(namedQuests(kNames)));
        dir.write("clr_stat.dat", "0,0\r\n");
        dir.write("Pelko.ini", "0,0,0,1\r\n"); // no confirmation
        const QString path = dir.filePath(file);
        const qint64 limit = file == "Pelko.dat"      ? kMaxQuestDatabaseBytes
                             : file == "clr_stat.dat" ? kMaxClearStatusBytes
                                                      : kMaxSettingsBytes;
        if (kind.endsWith("the limit")) {
            QVERIFY(QFile::resize(path, limit + (kind == "at the limit" ? 0 : 1)));
        } else {
            if (kind != "no read permission")
                QVERIFY(QFile::remove(path));
            if (!placeOddity(path, kind))
                QSKIP("device nodes cannot be made here");
        }
        const QByteArray before = fingerprint(path);
        const bool asPlayer = kind == "no read permission";
        for (const char *other : {"clr_stat.dat", "Pelko.ini"}) {
            if (asPlayer && file != other) // writable in place, in a folder the player cannot write
                QFile::setPermissions(dir.filePath(other), QFileDevice::Permissions(0x6666));
        }
        QStringList shown;
        {
            std::optional<Unprivileged> player;
            if (asPlayer)
                player.emplace(dir.path());
            MainWindowHarness h(dir);
            if (h.start()) {
                h.child<ListBox>("lstQuestList")->setListIndex(0);
                h.child<QRadioButton>("optQuestState1")->click();
                h.window().close();
            } else {
                QCOMPARE(h.program().lastStatus, 1);
            }
            for (const ShownMessage &m : h.boxes().shown()) {
                if (m.icon == MsgIcon::Critical)
                    shown << m.text;
            }
        }
        QCOMPARE(shown, messages);
        if (after.isEmpty()) {
            QCOMPARE(fingerprint(path), before);
        } else {
            QFile::setPermissions(path, QFileDevice::Permissions(0x6600)); // a save keeps 0222
            QCOMPARE(dir.read(file).value_or("(unreadable)"), after);
        }
    }
};

QTEST_MAIN(DamagedInputs)
#include "tst_damaged_inputs.moc"
