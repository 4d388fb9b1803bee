// The findings of the database check over the shared table of damaged databases and a few
// damages of its own, compared line by line as the tool prints them.
#include "CheckMessages.h"
#include "DamagedDatabases.h"
#include "DatabaseBuilder.h"
#include "DatabaseCheck.h"
#include "QuestDatabase.h"
#include "WorkDir.h"

#include <QHash>
#include <QTest>

#include <iterator>

Q_DECLARE_METATYPE(pelko::check::Language)

using namespace pelko::check;
using pelko::test::Quest;

namespace {

const QString kFile = QStringLiteral("Pelko.dat");
const QByteArray kEnd = "0,99,0,0,\"\",\"\",\"\",\"\",\"\"\r\n";
const QByteArray kRecord = "0,1,0,1,\"a\",\"b\",\"c\",\"d\",\"e\"\r\n";

// What the tool prints for a database image, and the findings behind it.
struct Checked {
    std::vector<Finding> findings;
    QStringList lines;
};

Checked check(QByteArrayView bytes, Language lang = Language::Japanese)
{
    const pelko::QuestDatabase db = pelko::parseQuestDatabase(bytes);
    Checked c{checkDatabase(db, bytes), {}};
    for (const Finding &f : c.findings)
        c.lines << formatFinding(kFile, f, lang);
    c.lines << summary(kFile, summarize(db, bytes.size()), lang);
    return c;
}

QStringList errorLines(const QStringList &lines)
{
    return lines.filter(QStringLiteral(": エラー: "));
}

QString loaded(int quests, const QString &regions, int bytes)
{
    return QStringLiteral("Pelko.dat: 集計: クエスト %1 件%2、連続クエスト 0 本、%3 バイト")
        .arg(QString::number(quests), regions, QString::number(bytes));
}

QString refused(int bytes)
{
    return QStringLiteral("Pelko.dat: 集計: 読み込めないためクエストは数えられません、%1 バイト")
        .arg(bytes);
}

// Expected output per case name. The two generated files are too large to write out: for them
// only the error lines are given (and compared).
QHash<QString, QStringList> expectedForDamaged()
{
    const QString region1 = QStringLiteral("（ヴォルカナ大陸 1）");
    const QString region3 = QStringLiteral("（ヴォルカナ大陸 3）");
    return {
        {QStringLiteral("three quests"), {loaded(3, region3, 123)}},
        {QStringLiteral("cut inside a two-byte character"),
         {QStringLiteral("Pelko.dat:3:5: 警告: クエスト名に Shift_JIS として正しくないバイトがあり"
                         "ます（「\uFFFD」と表示されます）"),
          QStringLiteral("Pelko.dat:3:6: エラー: レコードがファイルの終わりで途切れています（依頼"
                         "場所から後がありません）"),
          refused(76)}},
        {QStringLiteral("lone lead byte before a comma"),
         {QStringLiteral("Pelko.dat:1:5: 警告: クエスト名に Shift_JIS として正しくないバイトがあり"
                         "ます（「\uFFFD」と表示されます）"),
          loaded(1, region1, 55)}},
        {QStringLiteral("NUL bytes"), {loaded(1, region1, 56)}},
        {QStringLiteral("one line of several megabytes"), {loaded(1, region1, 6291509)}},
        {QStringLiteral("32766 records"), {}},
        {QStringLiteral("32767 records"),
         {QStringLiteral("Pelko.dat:32767: エラー: クエストが多すぎます（32767 件目。読み込める"
                         "のは 32766 件まで）")}},
        {QStringLiteral("LF line ends"), {loaded(3, region3, 119)}},
        {QStringLiteral("CR line ends"), {loaded(3, region3, 119)}},
        {QStringLiteral("UTF-8 text"),
         {QStringLiteral("Pelko.dat:1:5: 警告: クエスト名に Shift_JIS として正しくないバイトがあり"
                         "ます（「\uFFFD」と表示されます）"),
          QStringLiteral("Pelko.dat:1:6: 警告: 依頼場所に Shift_JIS として正しくないバイトがあり"
                         "ます（「\uFFFD」と表示されます）"),
          QStringLiteral("Pelko.dat: 警告: ファイルが UTF-8 で書かれているようです（Shift_JIS で"
                         "保存し直してください）"),
          loaded(1, region1, 70)}},
        {QStringLiteral("empty file"),
         {QStringLiteral("Pelko.dat: エラー: ファイルが空です"), refused(0)}},
        {QStringLiteral("end record only"), {loaded(0, QString(), 25)}},
        {QStringLiteral("no end record"),
         {QStringLiteral("Pelko.dat: エラー: 終了レコード（地域が 99 のレコード）がありません（2 件"
                         "のレコードの後でファイルが終わっています）"),
          refused(58)}},
        {QStringLiteral("end record cut short"),
         {QStringLiteral("Pelko.dat:2:5: エラー: レコードがファイルの終わりで途切れています（クエス"
                         "ト名から後がありません）"),
          refused(37)}},
        {QStringLiteral("region 256"),
         {QStringLiteral("Pelko.dat:1:2: エラー: 地域の値が範囲（0〜255）を外れています"),
          refused(56)}},
        {QStringLiteral("quest number 40000"),
         {QStringLiteral("Pelko.dat:1:4: エラー: クエスト番号の値が範囲（-32768〜32767）を外れて"
                         "います"),
          refused(58)}},
        {QStringLiteral("text in a number"),
         {QStringLiteral("Pelko.dat:1:2: エラー: 地域が数値ではありません"), refused(54)}},
        {QStringLiteral("lines after the end record"),
         {QStringLiteral("Pelko.dat:5: 警告: 終了レコードの後に文字があります（読み込まれません）"),
          loaded(3, region3, 139)}},
        {QStringLiteral("region and quest number outside the table"),
         {QStringLiteral("Pelko.dat:1:2: 警告: 地域 0 は 1〜20 の範囲外です（「（すべて）」でしか"
                         "一覧に出ません）"),
          QStringLiteral("Pelko.dat:1:4: 警告: クエスト番号 7 は 1〜2 の範囲外です（クリア状況を"
                         "記録できません）"),
          QStringLiteral("Pelko.dat:2:2: 警告: 地域 42 は 1〜20 の範囲外です（「（すべて）」でし"
                         "か一覧に出ません）"),
          QStringLiteral("Pelko.dat:2:4: 警告: クエスト番号 -3 は 1〜2 の範囲外です（クリア状況を"
                         "記録できません）"),
          loaded(2, QStringLiteral("（地域なし 2）"), 85)}},
    };
}

// Seven quests with every irregularity of the quest table, and chains to count.
QByteArray irregularQuests()
{
    const QString name = QStringLiteral("竜の巣");
    const QString marked = QStringLiteral("\u3000\u251C竜の巣");
    return pelko::test::databaseBytes({
        Quest{1, 110, 2, name, {}, {}, {}, {}},
        Quest{1, 111, 2, marked, {}, {}, {}, {}},
        Quest{2, 0, 3, name, {}, {}, {}, {}},
        Quest{20, 5, 4, QStringLiteral("B"), {}, {}, {}, {}},
        Quest{8, 120, 5, QStringLiteral("C"), {}, {}, {}, {}},
        Quest{8, 125, 6, QStringLiteral("D"), {}, {}, {}, {}},
        Quest{8, -130, 7, QStringLiteral("E"), {}, {}, {}, {}},
    });
}

} // namespace

class TestDatabaseCheck : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void damagedDatabases_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("loads");
        QTest::addColumn<QStringList>("expected");
        QTest::addColumn<bool>("errorsOnly");
        const QHash<QString, QStringList> expected = expectedForDamaged();
        for (const auto &c : pelko::test::damagedDatabases()) {
            // A case added to the shared table fails here until its lines are written.
            const QStringList none{QStringLiteral("(no expected lines for this case)")};
            QTest::newRow(qPrintable(c.name)) << c.bytes << c.loads << expected.value(c.name, none)
                                              << (c.name == QStringLiteral("32766 records") ||
                                                  c.name == QStringLiteral("32767 records"));
        }
    }

    void damagedDatabases()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, loads);
        QFETCH(QStringList, expected);
        QFETCH(bool, errorsOnly);
        const Checked c = check(bytes);
        QCOMPARE(errorsOnly ? errorLines(c.lines) : c.lines, expected);
        QCOMPARE(exitCode(c.findings), loads ? 0 : 1);
        if (errorsOnly && loads) {
            // The generator's only irregularities are unnamed regions and repeated names.
            for (const Finding &f : c.findings)
                QVERIFY(f.kind == FindingKind::RegionWithoutName ||
                        f.kind == FindingKind::NameTwice);
        }
    }

    void otherDatabases_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<Language>("lang");
        QTest::addColumn<QStringList>("expected");
        const QString irregularWarnings[] = {
            QStringLiteral("Pelko.dat:2:4: 警告: クエスト番号 2 は 1 行目でも使われています（クリア"
                           "状況が共有されます）"),
            QStringLiteral("Pelko.dat:2:5: 警告: クエスト名「\u3000\u251C竜の巣」がツリー表示の印"
                           "「\u3000\u251C」で始まっています（一覧では連続クエストの続きに見えます）"),
            QStringLiteral("Pelko.dat:3:5: 警告: クエスト名「竜の巣」は 1 行目と同じです（一覧に見分"
                           "けのつかない項目が並びます）"),
        };
        const auto unnamed = [](int line) {
            return QStringLiteral("Pelko.dat:%1:2: 警告: 地域 8 には地域名がありません（「（すべ"
                                  "て）」でしか一覧に出ません）")
                .arg(line);
        };
        QTest::newRow("irregular quests")
            << irregularQuests() << Language::Japanese
            << (QStringList(std::begin(irregularWarnings), std::end(irregularWarnings))
                << unnamed(5) << unnamed(6) << unnamed(7)
                << QStringLiteral("Pelko.dat: 集計: クエスト 7 件（ヴォルカナ大陸 2、ミルテラ大"
                                  "陸 1、その他 1、地域なし 3）、連続クエスト 3 本、231 バイト"));
        QTest::newRow("ten fields shift the next record")
            << QByteArray("0,1,0,1,\"a\",\"b\",\"c\",\"d\",\"e\",\"x\"\r\n" + kRecord + kEnd)
            << Language::Japanese
            << QStringList{QStringLiteral("Pelko.dat:1: 警告: この行には項目が 9 個より多くあり"
                                          "ます（10 個目からが次のレコードになり、以降のレコード"
                                          "がずれます）"),
                           QStringLiteral("Pelko.dat:1:1: エラー: 第1項目が数値ではありません"),
                           refused(87)};
        QTest::newRow("blank line between records")
            << QByteArray(kRecord + "\r\n" + kRecord + kEnd) << Language::English
            << QStringList{QStringLiteral("Pelko.dat:2: warning: blank line (read as an empty "
                                          "field; every later record is shifted)"),
                           QStringLiteral("Pelko.dat:3:1: error: field 1 is not a number"),
                           QStringLiteral("Pelko.dat: summary: quests not counted (the file "
                                          "cannot be loaded), 85 bytes")};
        QTest::newRow("line break inside quotes")
            << QByteArray("0,1,0,1,\"a\",\"b\",\"c\r\nd\",\"e\",\"f\"\r\n" + kEnd)
            << Language::Japanese
            << QStringList{QStringLiteral("Pelko.dat:1: 警告: レコードが 2 行目まで続いています（項"
                                          "目が 9 個に足りない行か、引用符の中の改行があります）"),
                           loaded(1, QStringLiteral("（ヴォルカナ大陸 1）"), 57)};
        QTest::newRow("extra field on the end record")
            << QByteArray(kRecord + "0,99,0,0,\"\",\"\",\"\",\"\",\"\",\"\"\r\n")
            << Language::Japanese
            << QStringList{QStringLiteral("Pelko.dat:2: 警告: 終了レコードの後に文字があります（読"
                                          "み込まれません）"),
                           loaded(1, QStringLiteral("（ヴォルカナ大陸 1）"), 57)};
        QTest::newRow("byte order mark")
            << QByteArray("\xEF\xBB\xBF" + kEnd) << Language::English
            << QStringList{QStringLiteral("Pelko.dat:1:1: error: field 1 is not a number"),
                           QStringLiteral("Pelko.dat: warning: the file seems to be written in "
                                          "UTF-8 (save it as Shift_JIS)"),
                           QStringLiteral("Pelko.dat: summary: quests not counted (the file "
                                          "cannot be loaded), 28 bytes")};
    }

    void otherDatabases()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(Language, lang);
        QFETCH(QStringList, expected);
        QCOMPARE(check(bytes, lang).lines, expected);
    }

    void unreadableFiles()
    {
        pelko::test::WorkDir dir;
        const CheckReport missing = checkFile(dir.filePath(QStringLiteral("Pelko.dat")));
        QCOMPARE(missing.findings.size(), std::size_t(1));
        QCOMPARE(missing.findings.front().kind, FindingKind::FileMissing);
        QVERIFY(!missing.summary);
        QCOMPARE(exitCode(missing.findings), 1);

        const CheckReport folder = checkFile(dir.path());
        QCOMPARE(folder.findings.size(), std::size_t(1));
        QCOMPARE(folder.findings.front().kind, FindingKind::FileUnreadable);
        QCOMPARE(formatFinding(QStringLiteral("x"), folder.findings.front(), Language::English),
                 QStringLiteral("x: error: cannot read the file"));
    }
};

QTEST_GUILESS_MAIN(TestDatabaseCheck)
#include "tst_DatabaseCheck.moc"
