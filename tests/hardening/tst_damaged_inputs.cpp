// The real start-up over damaged and unusual input files: which message it shows, what it
// restores, and that a start never writes anything to the working folder.
#include "DamagedDatabases.h"
#include "MainWindowHarness.h"
#include "toolkit/CheckBox.h"
#include "toolkit/ComboBox.h"
#include "toolkit/ListBox.h"

#include <QLabel>
#include <QRadioButton>
#include <QtTest>

using namespace pelko;
using namespace pelko::test;

namespace {

const QString kFatal =
    QStringLiteral("クエスト情報ファイルの読み込みに失敗したので、強制終了します。");
const QString kDamaged = QStringLiteral("クリア状況データが破損している可能性があります。");
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
};

QTEST_MAIN(DamagedInputs)
#include "tst_damaged_inputs.moc"
