// The pelko-check executable as the people who prepare a database run it: its whole output and
// exit status on the sample database, a missing file and command lines it cannot act on.
#include "WorkDir.h"

#include <QFile>
#include <QProcess>
#include <QTest>

namespace {

struct Run {
    int exitCode = -1;
    QString out;
    QString err;
};

Run runTool(const QString &workDir, const QStringList &args)
{
    QProcess p;
    p.setWorkingDirectory(workDir);
    p.start(QStringLiteral(PELKO_CHECK_EXE), args);
    if (!p.waitForFinished(60000) || p.exitStatus() != QProcess::NormalExit)
        qFatal("pelko-check did not finish");
    return {p.exitCode(), QString::fromUtf8(p.readAllStandardOutput()),
            QString::fromUtf8(p.readAllStandardError())};
}

QString sampleReport(bool english)
{
    // The sample's deliberate oddities: eight quests in codes without a region name and one
    // name used twice.
    const int unnamed[][2] = {{60, 8},  {66, 10}, {86, 14}, {87, 15},
                              {88, 16}, {89, 17}, {90, 18}, {91, 19}};
    const QString regionLine =
        english ? QStringLiteral("Pelko.dat:%1:2: warning: Region %2 has no region name (the quest "
                                 "is listed only when all regions are shown)\n")
                : QStringLiteral("Pelko.dat:%1:2: 警告: 地域 %2 には地域名がありません（「（すべ"
                                 "て）」でしか一覧に出ません）\n");
    QString out;
    for (const auto &[line, code] : unnamed) {
        out += regionLine.arg(line).arg(code);
        if (line == 66) {
            out += english ? QStringLiteral("Pelko.dat:67:5: warning: QuestName \"失われた指輪\" "
                                            "is the same as on line 15 (the list shows entries "
                                            "that cannot be told apart)\n")
                           : QStringLiteral("Pelko.dat:67:5: 警告: クエスト名「失われた指輪」は "
                                            "15 行目と同じです（一覧に見分けのつかない項目が並"
                                            "びます）\n");
        }
    }
    out += english
               ? QStringLiteral("Pelko.dat: summary: 97 quests (ヴォルカナ大陸 10, ミルテラ大陸 "
                                "9, シルヴァ大陸 9, コロネ大陸 8, マリス諸島 8, 偽りのアストリア "
                                "7, 真のアストリア 8, 真のフィオーレの島 5, ベルカ島 6, ティルト"
                                "島 5, 灰の領界 8, その他 6, no region 8), 11 chains, 15378 "
                                "bytes\n")
               : QStringLiteral("Pelko.dat: 集計: クエスト 97 件（ヴォルカナ大陸 10、ミルテラ大陸"
                                " 9、シルヴァ大陸 9、コロネ大陸 8、マリス諸島 8、偽りのアストリア"
                                " 7、真のアストリア 8、真のフィオーレの島 5、ベルカ島 6、ティルト"
                                "島 5、灰の領界 8、その他 6、地域なし 8）、連続クエスト 11 本、"
                                "15378 バイト\n");
    return out;
}

} // namespace

class TestCheckTool : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void commandLines_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("out");
        QTest::addColumn<QString>("err");
        // The sample lies in the working directory as Pelko.dat.
        QTest::newRow("sample, default file")
            << QStringList() << 0 << sampleReport(false) << QString();
        QTest::newRow("sample, English")
            << QStringList{QStringLiteral("--lang=en"), QStringLiteral("Pelko.dat")} << 0
            << sampleReport(true) << QString();
        QTest::newRow("missing file")
            << QStringList{QStringLiteral("nothing.dat")} << 1
            << QStringLiteral("nothing.dat: エラー: ファイルがありません\n") << QString();
        QTest::newRow("two files")
            << QStringList{QStringLiteral("Pelko.dat"), QStringLiteral("Pelko.dat")} << 2
            << QString()
            << QStringLiteral("pelko-check: ファイルは一つだけ指定してください\n"
                              "使い方は pelko-check --help で表示されます\n");
        QTest::newRow("unknown option")
            << QStringList{QStringLiteral("--lang=fr"), QStringLiteral("--lang=en")} << 2
            << QString()
            << QStringLiteral("pelko-check: unknown option: --lang=fr\n"
                              "Run pelko-check --help for usage.\n");
    }

    void commandLines()
    {
        QFETCH(QStringList, args);
        QFETCH(int, exitCode);
        QFETCH(QString, out);
        QFETCH(QString, err);
        pelko::test::WorkDir dir;
        QFile sample(QStringLiteral(PELKO_SAMPLE_DAT));
        QVERIFY(sample.open(QIODevice::ReadOnly));
        dir.write(QStringLiteral("Pelko.dat"), sample.readAll());

        const Run run = runTool(dir.path(), args);
        QCOMPARE(run.out, out);
        QCOMPARE(run.err, err);
        QCOMPARE(run.exitCode, exitCode);
    }

    void help()
    {
        pelko::test::WorkDir dir;
        const Run run = runTool(dir.path(), {QStringLiteral("--help")});
        QCOMPARE(run.exitCode, 0);
        QVERIFY(
            run.out.startsWith(QStringLiteral("使い方: pelko-check [オプション] [ファイル]\n")));
        QVERIFY(run.err.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestCheckTool)
#include "tst_CheckTool.moc"
