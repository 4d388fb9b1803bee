// The real start-up over damaged and unusual input files: which messages it shows, in order, what
// it restores, and that a start never writes anything to the working folder; then a progress
// change and closing the window with odd things at the files' names.
#include "MainWindowHarness.h"
#include "toolkit/CheckBox.h"
#include "toolkit/ComboBox.h"

#include <QFile>

using namespace pelko;
using namespace pelko::test;

namespace {

const QString kNotice =
    QStringLiteral("登録されているクエスト情報は、作者が独自に調査したものの他に、\r\n"
                   "書籍やインターネットで調べた情報が含まれています。\r\n"
                   "よって、本ソフトの使用によって不利益や損害が発生したとしても\r\n"
                   "作者はいかなる保証もしないことをあらかじめご了承ください。\r\n"
                   "　\r\n"
                   "また本ソフトはその性質上、ネタバレ情報が多分に含まれています\r\n"
                   "のでご注意ください。");
const QStringList kNames = {"A", "B", "C", "D"}; // quest numbers 1 to 4, listed in this order
const QByteArray kLeftover = "1,1\r\n0,1\r\n";

// Every entry of a folder with its bytes.
QByteArrayList contents(const WorkDir &dir)
{
    QByteArrayList all;
    for (const QString &name : dir.entries())
        all << name.toUtf8() << dir.file(name);
    return all;
}

} // namespace

class DamagedInputs : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    // file: the one input file that differs from the folder, "-" when it is missing. quests: -1
    // when the start is refused. states: the progress option each quest is shown with, one
    // digit a quest. settings: as restored to the controls; the list is built with them.
    void start_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QStringList>("messages");
        QTest::addColumn<int>("quests");
        QTest::addColumn<QByteArray>("states");
        QTest::addColumn<QString>("settings");
        const auto row = [](const char *name, const QString &file, const QByteArray &bytes,
                            int quests, const QByteArray &states, const QString &settings,
                            const QStringList &messages = {}) {
            addRow(name, file, bytes, messages, quests, states, settings);
        };
        const QStringList fatal{"critical: " + kFatal}, damaged{"critical: " + kDamaged};
        row("sound", "clr_stat.dat", "1,1\r\n3,2\r\n0,7\r\n", 4, "1020", "0,0,0,0");
        row("settings restored", "Pelko.ini", "1,1,1,1\r\n", 4, "0000", "1,1,1,1");
        row("Pelko.ini: binary", "Pelko.ini", QByteArray("\x00\xff,\x81\r\n", 6), 4, "", "0,0,0,0");
        row("no Pelko.dat", "Pelko.dat", "-", -1, "", "", fatal);
        row("Pelko.dat without its end record", "Pelko.dat",
            databaseBytes(namedQuests(kNames), false), -1, "", "", fatal);
        row("Pelko.dat of the end record only", "Pelko.dat", "0,99,0,0,,,,,\r\n", 0, "", "0,0,0,0");
        row("no clr_stat.dat: the first-run notice", "clr_stat.dat", "-", 4, "0000", "0,0,0,0",
            {"information: " + kNotice});
        row("clr_stat.dat: no end line", "clr_stat.dat", "1,1\r\n3,2\r\n", 4, "1020", "0,0,0,0",
            damaged);
        row("clr_stat.dat: quest beyond the table", "clr_stat.dat", "2,1\r\n9,1\r\n0,11\r\n", 4,
            "0100", "0,0,0,0", damaged);
    }

    void start()
    {
        QFETCH(QString, file);
        QFETCH(QByteArray, bytes);
        QFETCH(int, quests);
        QFETCH(QByteArray, states);
        Folder dir(namedQuests(kNames), "0,0\r\n", "0,0,0,0\r\n");
        if (bytes == "-")
            QFile::remove(dir.filePath(file));
        else
            dir.write(file, bytes);
        // A save cut short by a crash leaves its temporary file. (Which names are a save's, and
        // what else stays, is tested in tst_file_store.)
        for (const char *name : {"Pelko.dat.pelko-save-AbCdEf", "Pelko.ini.pelko-save-Gh1jK9",
                                 "clr_stat.dat.pelko-save-AbCdEf"})
            dir.write(name, kLeftover);
        const QByteArrayList before = contents(dir);
        // Twice: as nothing is written, the same messages come every time.
        for (int again = 0; again < 2; ++again) {
            MainWindowHarness h(dir);
            QCOMPARE(h.start(), quests >= 0);
            QTEST(h.messages(), "messages");
            QCOMPARE(h.program().endCount, quests >= 0 ? 0 : 1);
            QCOMPARE(h.program().lastStatus, quests >= 0 ? 0 : 1); // the exit status
            if (quests >= 0) {
                QCOMPARE(h.label("lblNumberOfContents"),
                         QStringLiteral("登録クエスト数： %1").arg(quests));
                // As restored to the controls: country, state, tree view, no confirmation.
                QTEST(QStringLiteral("%1,%2,%3,%4")
                          .arg(h.child<ComboBox>("cboCountry")->listIndex())
                          .arg(h.child<ComboBox>("cboState")->listIndex())
                          .arg(h.child<CheckBox>("chkTreeView")->value())
                          .arg(h.child<CheckBox>("chkMsgBox")->value()),
                      "settings");
                QCOMPARE(h.listTexts(), quests ? kNames : QStringList());
            }
            for (int q = 0; q < states.size(); ++q) {
                h.list()->setListIndex(q);
                QVERIFY2(h.option(states[q] - '0')->isChecked(), qPrintable(kNames.at(q)));
            }
            QCOMPARE(h.saves("clr_stat.dat") + h.saves("Pelko.ini"), 0); // not even an attempt
        }
        // The start removed the leftovers of the two files the program saves, unless it was
        // refused; the database is never saved, so a name like its save's is the player's.
        for (const char *name : {"Pelko.ini.pelko-save-Gh1jK9", "clr_stat.dat.pelko-save-AbCdEf"}) {
            QCOMPARE(QFile::exists(dir.filePath(name)), quests < 0);
            dir.write(name, kLeftover); // for the comparison below
        }
        // Neither the start nor the window going away without being closed wrote anything else.
        QCOMPARE(contents(dir), before);
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
        for (const char *kind : {"fifo", "folder", "link to device", "sparse 50 GB",
                                 "over the limit", "at the limit", "no read permission"}) {
            const QString k = kind;
            const bool fits = k == "at the limit";
            const auto row = [&](const char *file, const QStringList &messages,
                                 const QByteArray &after) {
                addRow(qPrintable(QStringLiteral("%1: %2").arg(file, k)), file, k, messages, after);
            };
            // Never loaded, never written; the program ends with its fatal message.
            row("Pelko.dat", fits ? QStringList() : QStringList{kFatal}, {});
            // Reported as damaged and never saved over, so its bytes are never lost.
            row("clr_stat.dat", fits ? QStringList() : QStringList{kDamaged, kWriteError},
                fits ? "1,1\r\n0,1\r\n" : "");
            // The defaults, and never saved over, as the progress file.
            row("Pelko.ini", fits ? QStringList() : QStringList{kWriteError},
                fits ? "0,0,0,1\r\n" : "");
        }
    }

    void oddFiles()
    {
        QFETCH(QString, file);
        QFETCH(QString, kind);
        QFETCH(QByteArray, after);
        Folder dir(namedQuests(kNames), "0,0\r\n", "0,0,0,1\r\n"); // no confirmation
        const QString path = dir.filePath(file);
        // The limits as the README states them: 32 MiB, 1 MiB and 4 KiB.
        const qint64 limit = file == "Pelko.dat"      ? 33554432
                             : file == "clr_stat.dat" ? 1048576
                                                      : 4096;
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
        // The other files writable in place, in a folder the player cannot write.
        for (const char *other : {"clr_stat.dat", "Pelko.ini"})
            QVERIFY(
                !asPlayer || file == other
                || QFile::setPermissions(dir.filePath(other), QFileDevice::Permissions(0x6666)));
        QStringList shown;
        {
            std::optional<Unprivileged> player;
            if (asPlayer)
                player.emplace(dir.path());
            MainWindowHarness h(dir);
            if (h.start()) {
                h.list()->setListIndex(0);
                h.option(1)->click();
                h.window().close();
            } else {
                QCOMPARE(h.program().lastStatus, 1);
            }
            // Not a prompt, when the defaults ask for one.
            shown = h.messages().filter("critical: ").replaceInStrings("critical: ", "");
        }
        QTEST(shown, "messages");
        if (after.isEmpty()) {
            QCOMPARE(fingerprint(path), before);
        } else {
            QFile::setPermissions(path, QFileDevice::Permissions(0x6600)); // a save keeps 0222
            QCOMPARE(dir.file(file), after);
        }
    }
};

QTEST_MAIN(DamagedInputs)
#include "tst_damaged_inputs.moc"
