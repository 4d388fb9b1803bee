// The real start-up over damaged and unusual input files: which message it shows, what it
// restores, and that a start never writes anything to the working folder.
#include "DamagedDatabases.h"
#include "DatabaseBuilder.h"
#include "MainWindowHarness.h"
#include "WorkDir.h"
#include "toolkit/CheckBox.h"
#include "toolkit/ComboBox.h"

#include <QLabel>
#include <QtTest>

#include <map>

using namespace pelko;
using namespace pelko::test;

namespace {

const QString kFatal =
    QStringLiteral("クエスト情報ファイルの読み込みに失敗したので、強制終了します。");
const QString kDamaged = QStringLiteral("クリア状況データが破損している可能性があります。");
const QByteArray kNoProgress = "0,0\r\n";
const QByteArray kDefaultSettings = "0,0,0,0\r\n";

// Four quests, quest numbers 1 to 4, listed by name in this order.
const QStringList kNames = {QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C"),
                            QStringLiteral("D")};

using Folder = std::map<QString, QByteArray>;

Folder contents(const WorkDir &dir)
{
    Folder folder;
    for (const QString &name : dir.entries())
        folder[name] = dir.read(name).value_or(QByteArray("<unreadable>"));
    return folder;
}

QString caption(MainWindowHarness &h, const char *name)
{
    return h.child<QLabel>(QString::fromLatin1(name))->text();
}

// Not even an attempt: a failed save would leave the files alone too.
bool triedToSave(const MainWindowHarness &h)
{
    return h.saves(QStringLiteral("clr_stat.dat")) + h.saves(QStringLiteral("Pelko.ini")) > 0;
}

QStringList boxTexts(MainWindowHarness &h)
{
    QStringList texts;
    for (const ShownMessage &m : h.boxes().shown())
        texts << m.text;
    return texts;
}

} // namespace

class DamagedInputs : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void questDatabase_data();
    void questDatabase();
    void clearStatus_data();
    void clearStatus();
    void settings_data();
    void settings();
};

void DamagedInputs::questDatabase_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("loads");
    QTest::addColumn<int>("quests");
    for (const DamagedDatabase &db : damagedDatabases())
        QTest::newRow(qPrintable(db.name)) << db.bytes << db.loads << db.quests;
}

void DamagedInputs::questDatabase()
{
    QFETCH(QByteArray, bytes);
    QFETCH(bool, loads);
    QFETCH(int, quests);

    WorkDir dir;
    dir.write(QStringLiteral("Pelko.dat"), bytes);
    dir.write(QStringLiteral("clr_stat.dat"), kNoProgress);
    dir.write(QStringLiteral("Pelko.ini"), kDefaultSettings);
    const Folder before = contents(dir);
    {
        MainWindowHarness h(dir);
        const bool started = h.start();
        if (loads) {
            QVERIFY2(h.boxes().shown().empty(), qPrintable(boxTexts(h).join(u'|')));
            QVERIFY(started);
            QCOMPARE(h.program().endCount, 0);
            const QString n = QString::number(quests);
            QCOMPARE(caption(h, "lblNumberOfContents"), QStringLiteral("登録クエスト数： ") + n);
            QCOMPARE(caption(h, "lblDisplayQuest"), QStringLiteral("表示数： ") + n);
        } else {
            QCOMPARE(h.boxes().shown().size(), std::size_t(1));
            QCOMPARE(h.boxes().shown().front().text, kFatal);
            QCOMPARE(h.boxes().shown().front().icon, MsgIcon::Critical);
            QCOMPARE(h.boxes().shown().front().buttons, MsgButtons::Ok);
            QCOMPARE(h.program().endCount, 1);
            QVERIFY(!started);
        }
        QVERIFY(!triedToSave(h));
        QVERIFY(contents(dir) == before);
    }
    // Nor does the window write anything when it goes away without being closed.
    QVERIFY(contents(dir) == before);
}

// states: the progress each of the four quests must have after the start, one digit a quest.
void DamagedInputs::clearStatus_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<bool>("damaged");
    QTest::addColumn<QByteArray>("states");

    QTest::newRow("valid") << QByteArray("1,1\r\n3,2\r\n0,7\r\n") << false << QByteArray("1020");
    QTest::newRow("only the end line") << QByteArray("0,0") << false << QByteArray("0000");
    QTest::newRow("empty file") << QByteArray() << true << QByteArray("0000");
    QTest::newRow("quest number 40000")
        << QByteArray("40000,1\r\n2,1\r\n0,2\r\n") << true << QByteArray("0000");
    QTest::newRow("quest number -5")
        << QByteArray("-5,1\r\n2,1\r\n0,-3\r\n") << true << QByteArray("0100");
    QTest::newRow("quest number beyond the table")
        << QByteArray("2,1\r\n9,1\r\n0,11\r\n") << true << QByteArray("0100");
    QTest::newRow("value 300") << QByteArray("1,300\r\n2,1\r\n0,302\r\n") << true
                               << QByteArray("0100");
    QTest::newRow("no end line") << QByteArray("1,1\r\n3,2\r\n") << true << QByteArray("1020");
    QTest::newRow("wrong checksum")
        << QByteArray("1,1\r\n3,2\r\n0,8\r\n") << true << QByteArray("1020");
    QTest::newRow("text in a number")
        << QByteArray("1,1\r\nx,2\r\n0,7\r\n") << true << QByteArray("1000");
}

void DamagedInputs::clearStatus()
{
    QFETCH(QByteArray, file);
    QFETCH(bool, damaged);
    QFETCH(QByteArray, states);

    WorkDir dir;
    dir.write(QStringLiteral("Pelko.dat"), databaseBytes(namedQuests(kNames)));
    dir.write(QStringLiteral("clr_stat.dat"), file);
    dir.write(QStringLiteral("Pelko.ini"), kDefaultSettings);
    const Folder before = contents(dir);

    MainWindowHarness h(dir);
    QVERIFY(h.start());
    if (damaged) {
        QCOMPARE(boxTexts(h), QStringList{kDamaged});
        QCOMPARE(h.boxes().shown().front().icon, MsgIcon::Critical);
    } else {
        QVERIFY2(h.boxes().shown().empty(), qPrintable(boxTexts(h).join(u'|')));
    }
    QCOMPARE(caption(h, "lblCompletedQuest"),
             QStringLiteral("コンプリート数： ") + QString::number(states.count('1')));

    // Each progress item of the state filter lists exactly the quests restored to it.
    auto *cboState = h.child<ComboBox>(QStringLiteral("cboState"));
    for (int item = 1; item <= 3; ++item) {
        QVERIFY(cboState->setListIndex(item));
        QStringList expected;
        for (int q = 0; q < kNames.size(); ++q) {
            if (states.at(q) - '0' == item - 1)
                expected << kNames.at(q);
        }
        QCOMPARE(h.listTexts(), expected);
    }
    QVERIFY(!triedToSave(h));
    QVERIFY(contents(dir) == before);
}

void DamagedInputs::settings_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<int>("country");
    QTest::addColumn<int>("state");
    QTest::addColumn<bool>("tree");
    QTest::addColumn<bool>("noConfirmation");

    QTest::newRow("all four") << QByteArray("12,3,1,1\r\n") << 12 << 3 << true << true;
    QTest::newRow("99999 first") << QByteArray("99999,3,1,1\r\n") << 0 << 0 << false << false;
    QTest::newRow("99999 second") << QByteArray("5,99999,1,1\r\n") << 5 << 0 << false << false;
    QTest::newRow("text first") << QByteArray("abc,3,1,1\r\n") << 0 << 0 << false << false;
    QTest::newRow("text third") << QByteArray("5,2,on,1\r\n") << 5 << 2 << false << false;
    QTest::newRow("naming no item") << QByteArray("13,4,2,1\r\n") << 0 << 0 << false << true;
    QTest::newRow("negative") << QByteArray("-1,-1,-1,-1\r\n") << 0 << 0 << false << false;
    QTest::newRow("two values") << QByteArray("3,1") << 3 << 1 << false << false;
    QTest::newRow("empty file") << QByteArray() << 0 << 0 << false << false;
    QTest::newRow("binary") << QByteArray("\x00\xff,\x81\r\n", 6) << 0 << 0 << false << false;
}

void DamagedInputs::settings()
{
    QFETCH(QByteArray, file);
    QFETCH(int, country);
    QFETCH(int, state);
    QFETCH(bool, tree);
    QFETCH(bool, noConfirmation);

    WorkDir dir;
    dir.write(QStringLiteral("Pelko.dat"), databaseBytes(namedQuests(kNames)));
    dir.write(QStringLiteral("clr_stat.dat"), kNoProgress);
    dir.write(QStringLiteral("Pelko.ini"), file);
    const Folder before = contents(dir);

    MainWindowHarness h(dir);
    QVERIFY(h.start());
    QVERIFY2(h.boxes().shown().empty(), qPrintable(boxTexts(h).join(u'|')));
    QCOMPARE(h.child<ComboBox>(QStringLiteral("cboCountry"))->currentIndex(), country);
    QCOMPARE(h.child<ComboBox>(QStringLiteral("cboState"))->currentIndex(), state);
    QCOMPARE(h.child<CheckBox>(QStringLiteral("chkTreeView"))->isChecked(), tree);
    QCOMPARE(h.child<CheckBox>(QStringLiteral("chkMsgBox"))->isChecked(), noConfirmation);
    QVERIFY(!triedToSave(h));
    QVERIFY(contents(dir) == before);
}

QTEST_MAIN(DamagedInputs)
#include "tst_damaged_inputs.moc"
