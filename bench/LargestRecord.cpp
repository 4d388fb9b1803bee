#include "LargestRecord.h"

#include "QuestDatabase.h"
#include "ResidentMemory.h"
#include "frmMain.h"
#include "toolkit/ListBox.h"
#include "toolkit/MessageBox.h"
#include "toolkit/Program.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <cstdio>

namespace pelko::bench {
namespace {

struct Case {
    const char *name;
    int field;       // 5 QuestName ... 9 Reward2, as in the file
    QByteArray unit; // repeated to fill the field (code page 932)
};

const Case kCases[] = {
    {"name, ASCII", 5, "x"},
    {"place, ASCII", 6, "x"},
    {"content, ASCII, one line", 7, "x"},
    {"content, Japanese, one line", 7, "\x82\xa0"},           // あ
    {"content, lines of 60", 7, QByteArray(58, 'x') + "\\n"}, // the line-break escape
    {"reward, Japanese, one line", 8, "\x82\xa0"},
};

// One record whose chosen field fills the file up to the largest size accepted, then the end
// record.
QByteArray database(const Case &c)
{
    const QByteArray end = "0,99,0,0,\"\",\"\",\"\",\"\",\"\"\r\n";
    QByteArray fields[9] = {"0", "1", "0", "1", "\"A\"", "\"\"", "\"\"", "\"\"", "\"\""};
    QByteArray record = fields[0];
    for (int i = 1; i < 9; ++i)
        record += ',' + (i == c.field - 1 ? QByteArray("\"\"") : fields[i]);
    record += "\r\n";
    const qsizetype room = kMaxQuestDatabaseBytes - record.size() - end.size();
    QByteArray bulk = c.unit.repeated(room / c.unit.size());
    bulk.prepend(
        fields[c.field - 1].mid(1).chopped(1)); // keeps the name "A" in front of a long name
    bulk.truncate(room);
    fields[c.field - 1] = '"' + bulk + '"';
    record = fields[0];
    for (int i = 1; i < 9; ++i)
        record += ',' + fields[i];
    return record + "\r\n" + end;
}

void settle()
{
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
}

} // namespace

int largestRecordProbe(int caseIndex)
{
    const Case &c = kCases[caseIndex];
    QTemporaryDir dir;
    const QByteArray bytes = database(c);
    for (const auto &[name, content] :
         {std::pair{"Pelko.dat", bytes}, std::pair{"clr_stat.dat", QByteArray("0,0\r\n")},
          std::pair{"Pelko.ini", QByteArray("0,0,0,1\r\n")}}) {
        QFile f(dir.filePath(QString::fromLatin1(name)));
        if (!f.open(QIODevice::WriteOnly) || f.write(content) != content.size())
            return 2;
    }
    MessageBoxScript boxes;
    ProgramRecorder program;
    QElapsedTimer timer;
    timer.start();
    frmMain window({dir.path(), {dir.filePath(QStringLiteral("pelko.lock"))}});
    if (!window.Form_Load())
        return 3;
    window.show();
    settle();
    const double startMs = double(timer.nsecsElapsed()) / 1e6;
    auto *list = window.findChild<ListBox *>(QStringLiteral("lstQuestList"));
    timer.restart();
    list->setListIndex(0);
    settle();
    const double selectMs = double(timer.nsecsElapsed()) / 1e6;
    std::printf("%.1f %.1f %lld %lld\n", startMs, selectMs, processStatusKb("VmHWM"),
                qint64(bytes.size()));
    return boxes.shown().empty() ? 0 : 4;
}

void benchLargestRecord(const QByteArray &only)
{
    std::printf("\nthe largest database accepted (%lld bytes) in one record\n",
                qint64(kMaxQuestDatabaseBytes));
    std::printf("  %-36s %12s %12s %10s\n", "bulk in", "start ms", "select ms", "peak MB");
    for (int i = 0; i < int(std::size(kCases)); ++i) {
        if (!only.isEmpty()
            && !QByteArray("largest record: ").append(kCases[i].name).contains(only))
            continue;
        QProcess child;
        child.start(QCoreApplication::applicationFilePath(),
                    {QStringLiteral("--largest-record"), QString::number(i)});
        const bool ok = child.waitForFinished(600000) && child.exitCode() == 0;
        const QList<QByteArray> f = child.readAllStandardOutput().trimmed().split(' ');
        if (!ok || f.size() != 4) {
            std::printf("  %-36s failed (status %d)\n", kCases[i].name, child.exitCode());
            continue;
        }
        std::printf("  %-36s %12s %12s %10.0f\n", kCases[i].name, f[0].constData(),
                    f[1].constData(), f[2].toDouble() / 1024.0);
    }
}

} // namespace pelko::bench
