// The pelko-check executable as the people who prepare a database run it, in a folder holding a
// copy of the sample database: its whole output and its exit status.
#include "Oddities.h"
#include "WorkDir.h"

#include <QFile>
#include <QProcess>
#include <QTest>

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
        QTest::addColumn<QString>("odd"); // what stands at odd.dat
        // The sample's deliberate oddities: quests in codes without a region name, a name used
        // twice.
        const QString unnamedLine = QStringLiteral(
            "Pelko.dat:%1:2: warning: Region %2 has no region name (the quest is listed only when "
            "all regions are shown)\n");
        const int unnamed[][2] = {{60, 8},  {66, 10}, {86, 14}, {87, 15},
                                  {88, 16}, {89, 17}, {90, 18}, {91, 19}}; // line, Region
        QString sample;
        for (const auto &[line, code] : unnamed) {
            sample += unnamedLine.arg(line).arg(code);
            if (line == 66)
                sample += QStringLiteral("Pelko.dat:67:5: warning: QuestName \"失われた指輪\" is "
                                         "the same as on line 15 (the list shows entries that "
                                         "cannot be told apart)\n");
        }
        sample += QStringLiteral(
            "Pelko.dat: summary: 97 quests (ヴォルカナ大陸 10, ミルテラ大陸 9, シルヴァ大陸 9, "
            "コロネ大陸 8, マリス諸島 8, 偽りのアストリア 7, 真のアストリア 8, 真のフィオーレの島 "
            "5, ベルカ島 6, ティルト島 5, 灰の領界 8, その他 6, no region 8), 11 chains, 15378 "
            "bytes\n");
        QTest::newRow("sample, default file, English")
            << QStringList{"--lang=en"} << 0 << sample << QString() << QString();
        QTest::newRow("missing file")
            << QStringList{"nothing.dat"} << 1
            << QStringLiteral("nothing.dat: エラー: ファイルがありません\n") << QString()
            << QString();
        QTest::newRow("two files")
            << QStringList{"Pelko.dat", "Pelko.dat"} << 2 << QString()
            << QStringLiteral("pelko-check: ファイルは一つだけ指定してください\n"
                              "使い方は pelko-check --help で表示されます\n")
            << QString();
        // Decided at once, without reading: none of these may block the tool or fill its memory.
        const QString unreadable = QStringLiteral("odd.dat: エラー: ファイルを読み込めません\n");
        QTest::newRow("FIFO") << QStringList{"odd.dat"} << 1 << unreadable << QString() << "fifo";
        QTest::newRow("link to an endless device")
            << QStringList{"odd.dat"} << 1 << unreadable << QString() << "link to device";
        QTest::newRow("sparse 50 GB, English")
            << QStringList{"--lang=en", "odd.dat"} << 1
            << QStringLiteral("odd.dat: error: the file is too large (files above 33554432 bytes "
                              "are not read)\n")
            << QString() << "sparse 50 GB";
    }

    void commandLines()
    {
        QFETCH(QStringList, args);
        QFETCH(int, exitCode);
        QFETCH(QString, odd);
        pelko::test::WorkDir dir;
        QVERIFY(QFile::copy(QStringLiteral(PELKO_SAMPLE_DAT), dir.filePath("Pelko.dat")));
        if (!odd.isEmpty() && !pelko::test::placeOddity(dir.filePath("odd.dat"), odd))
            QSKIP("device nodes cannot be made here");
        QProcess tool;
        tool.setWorkingDirectory(dir.path());
        tool.start(QStringLiteral(PELKO_CHECK_EXE), args);
        QVERIFY(tool.waitForFinished(60000) && tool.exitStatus() == QProcess::NormalExit);
        QTEST(QString::fromUtf8(tool.readAllStandardOutput()), "out");
        QTEST(QString::fromUtf8(tool.readAllStandardError()), "err");
        QCOMPARE(tool.exitCode(), exitCode);
    }
};

QTEST_GUILESS_MAIN(TestCheckTool)
#include "tst_check_tool.moc"
